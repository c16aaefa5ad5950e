#pragma once

class QDialog;

namespace doxel {

// Every modal window of the program runs through this interface: the
// program gives it ModalDialogRunner, tests a scripted stand-in that fills
// the dialog and accepts or rejects it without a modal loop
// (tests/ui/scripted_dialogs.h). A command builds its dialog, hands it
// over and reads the dialog's values when it was accepted:
//
//     TItemProperties dialog(settings, values, chooser, &window);
//     if (!context.dialogs.run(dialog))
//         return;
//     apply(dialog.values());
class DialogRunner {
public:
    virtual ~DialogRunner() = default;

    // Shows `dialog` modally until it closes; true when it was accepted.
    virtual bool run(QDialog& dialog) = 0;
};

// The program's runner: QDialog::exec.
class ModalDialogRunner final : public DialogRunner {
public:
    bool run(QDialog& dialog) override;
};

}  // namespace doxel
