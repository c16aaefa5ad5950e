#include "ui/kit/dialog_runner.h"

#include <QDialog>

namespace doxel {

bool ModalDialogRunner::run(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace doxel
