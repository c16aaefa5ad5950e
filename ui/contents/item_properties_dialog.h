#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <cstdint>
#include <functional>
#include <string>

#include "core/settings.h"
#include "editing/item_properties.h"
#include "ui/contents/icon_combo.h"

namespace doxel {

// The item properties dialog: the caption, icon, file and help id of one
// contents entry. It takes the entry's values and hands them back through
// values() once OKButton confirmed them (exec() returns Accepted); the
// caller applies them. Choosing a file and checking the values are the
// caller's (chooseSourceFile, checkItemProperties), so the dialog never
// reaches into the main window.
class TItemProperties final : public QDialog {
    Q_OBJECT

public:
    // Returns the file to show for a chosen one, or `current` when the
    // choice was cancelled or refused.
    using SourceChooser = std::function<std::string(const std::string& current)>;
    // Whether OK may close the dialog with these values; when not, it has
    // told the author why and the dialog stays open.
    using Confirmation = std::function<bool(const ItemProperties& values)>;

    TItemProperties(SettingsStore& settings, const ItemProperties& values, SourceChooser chooseSource,
                    QWidget* parent = nullptr);

    ItemProperties values() const;
    void setConfirmation(Confirmation confirmation) { m_confirmation = std::move(confirmation); }

    QLineEdit* captionEdit() const { return m_captionEdit; }
    IconCombo* imageCombo() const { return m_imageCombo; }
    QLineEdit* sourceEdit() const { return m_sourceEdit; }
    QLineEdit* helpIdNameEdit() const { return m_helpIdNameEdit; }
    QLineEdit* helpIdNumberEdit() const { return m_helpIdNumberEdit; }
    QPushButton* okButton() const { return m_okButton; }

    // Handlers.
    void setUpControls(SettingsStore& settings);
    void chooseSourceFile();
    void clearSourceFile();
    void helpIdNameEdited(const QString& name);
    void confirm();
    void cancel();

private:
    SourceChooser m_chooseSource;
    Confirmation m_confirmation;
    std::uint32_t m_proposedHelpIdNumber;
    QLineEdit* m_captionEdit;
    IconCombo* m_imageCombo;
    QLabel* m_label1;
    QLineEdit* m_sourceEdit;
    QToolButton* m_openButton;
    QToolButton* m_removeButton;
    QLabel* m_helpIdLabel;
    QLineEdit* m_helpIdNameEdit;
    QLineEdit* m_helpIdNumberEdit;
    QPushButton* m_okButton;
    QPushButton* m_button1;
};

}  // namespace doxel
