#pragma once

#include <QDialog>

#include "core/desktop.h"
#include "core/settings.h"
#include "ui/logic/preferences_values.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace doxel {

class IconCombo;
class UpDown;

// The settings dialog: the program-wide settings on two pages. It shows
// the values it is given and hands the edited ones back through values()
// once Button1 confirmed them; the caller stores them. The two browse
// buttons ask the desktop for a file.
class TPreferences final : public QDialog {
    Q_OBJECT

public:
    TPreferences(SettingsStore& settings, Desktop& desktop, const PreferencesValues& values, QWidget* parent = nullptr);

    PreferencesValues values() const;

    // Handlers.
    void setUpControls(SettingsStore& settings);
    void chooseHtmlEditor();
    void chooseLogFile();
    void progressMinimumEdited();
    void progressMinimumStepped(int value);
    void confirm();
    void cancel();

private:
    void buildPages();
    void showValues(const PreferencesValues& values);

    Desktop& m_desktop;
    QTabWidget* m_pages = nullptr;
    QCheckBox* m_launchHelp = nullptr;
    QCheckBox* m_viewLog = nullptr;
    QCheckBox* m_delTemp = nullptr;
    QCheckBox* m_useChmcmd = nullptr;
    QLineEdit* m_editorPath = nullptr;
    QLineEdit* m_logLocation = nullptr;
    QToolButton* m_browseEditor = nullptr;
    QToolButton* m_browseLog = nullptr;
    IconCombo* m_topicIcon = nullptr;
    IconCombo* m_headerIcon = nullptr;
    QLineEdit* m_numberEdit = nullptr;
    UpDown* m_upDown = nullptr;
    QCheckBox* m_colorsBox = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

}  // namespace doxel
