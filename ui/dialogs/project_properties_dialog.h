#pragma once

#include <QDialog>
#include <QSpinBox>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "ui/logic/auto_sizer_rules.h"
#include "ui/logic/window_properties.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace doxel {

// The navigation pane width: any run of digits may be typed, and the text
// is brought into 50 to 1000 when the field is left ("20" becomes 50,
// "5000" becomes 1000), where a plain spin box would refuse the last digit.
class PaneWidthBox final : public QSpinBox {
    Q_OBJECT

public:
    explicit PaneWidthBox(QWidget* parent = nullptr);
    QValidator::State validate(QString& text, int& position) const override;
    void fixup(QString& text) const override;
};

// The project properties dialog: the help window's settings and the help
// file's language on three pages. It takes the window settings as the controls' values and hands
// them back through values() once OK confirmed them; the caller applies
// them. Each check box carries its flag word and bit as properties
// ("flagWord", "bit"), and every box is read and set through them.
class TProjectProperties final : public QDialog {
    Q_OBJECT

public:
    // Runs the auto sizer over `owner` (this dialog) on the frame the
    // position fields show; the new frame when it was confirmed.
    using FrameAdjuster = std::function<std::optional<WindowFrame>(const WindowFrame& shown, QWidget& owner)>;

    TProjectProperties(SettingsStore& settings, const std::vector<std::string>& fileChoices,
                       const ProjectPropertiesValues& values, FrameAdjuster adjust, QWidget* parent = nullptr);

    ProjectPropertiesValues values() const;

    // The frame the four position fields show.
    WindowFrame shownFrame() const;

    // Handlers.
    void setUpControls(SettingsStore& settings, const std::vector<std::string>& fileChoices);
    void confirm();
    void cancel();
    void adjustWindowFrame();

private:
    void buildPages();
    void showValues(const ProjectPropertiesValues& values);
    void showFrame(const WindowFrame& frame);
    QList<QCheckBox*> flagBoxes() const;

    FrameAdjuster m_adjust;
    QTabWidget* m_pages = nullptr;
    QComboBox* m_items = nullptr;
    QComboBox* m_home = nullptr;
    QComboBox* m_jump1 = nullptr;
    QComboBox* m_jump2 = nullptr;
    QLineEdit* m_jump1Text = nullptr;
    QLineEdit* m_jump2Text = nullptr;
    QLineEdit* m_left = nullptr;
    QLineEdit* m_top = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    PaneWidthBox* m_paneWidth = nullptr;
    QComboBox* m_language = nullptr;
    QPushButton* m_adjustButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

}  // namespace doxel
