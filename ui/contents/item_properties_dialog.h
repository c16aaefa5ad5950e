#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <functional>
#include <string>

#include "core/settings.h"
#include "editing/item_properties.h"
#include "ui/contents/icon_combo.h"

namespace doxel {

// The item properties dialog: the caption, icon and file of one contents
// entry. It takes the entry's values and hands them back through values()
// once OKButton confirmed them (exec() returns Accepted); the caller
// applies them. Choosing a file is the caller's (chooseSourceFile), so the
// dialog never reaches into the main window.
class TItemProperties final : public QDialog {
    Q_OBJECT

public:
    // Returns the file to show for a chosen one, or `current` when the
    // choice was cancelled or refused.
    using SourceChooser = std::function<std::string(const std::string& current)>;

    TItemProperties(SettingsStore& settings, const ItemProperties& values, SourceChooser chooseSource,
                    QWidget* parent = nullptr);

    ItemProperties values() const;

    QLineEdit* captionEdit() const { return m_captionEdit; }
    IconCombo* imageCombo() const { return m_imageCombo; }
    QLineEdit* sourceEdit() const { return m_sourceEdit; }

    // Handlers.
    void setUpControls(SettingsStore& settings);
    void chooseSourceFile();
    void clearSourceFile();
    void confirm();
    void cancel();

private:
    SourceChooser m_chooseSource;
    QLineEdit* m_captionEdit;
    IconCombo* m_imageCombo;
    QLabel* m_label1;
    QLineEdit* m_sourceEdit;
    QToolButton* m_openButton;
    QToolButton* m_removeButton;
    QPushButton* m_okButton;
    QPushButton* m_button1;
};

}  // namespace doxel
