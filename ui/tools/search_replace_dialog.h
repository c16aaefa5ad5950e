#pragma once

#include <QDialog>

#include <string>

#include "tools/replace_run.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace doxel {

class CommandRunner;
class Desktop;
class SettingsStore;
class ToolFileView;

// Search and replace across files: the two strings ("|" stands for a line
// end), the file list with its four small buttons, the two options, and a
// run that may be repeated. It works on files only; the open project is
// neither read nor changed. Every use is a fresh dialog with empty fields.
// Failures of a run go to `runner`'s general error box.
class TSearchReplace final : public QDialog {
    Q_OBJECT

public:
    TSearchReplace(SettingsStore& settings, Desktop& desktop, CommandRunner& runner, QWidget* parent = nullptr);

    // The strings and options as the controls hold them now.
    ReplaceOptions replaceOptions() const;

    void addFilesOfFolder();
    void showExample();
    void tickAllFiles();
    void untickAllFiles();
    void replaceInTickedFiles();
    void cancel();

private:
    void setUpControls();
    void replace();

    SettingsStore& m_settings;
    Desktop& m_desktop;
    CommandRunner& m_runner;
    std::string m_lastFolder;

    QLabel* m_label6;
    QLabel* m_label1;
    QLabel* m_label2;
    QLineEdit* m_searchString;
    QLineEdit* m_replaceString;
    ToolFileView* m_view;
    QToolButton* m_openButton;
    QToolButton* m_exampleButton;
    QToolButton* m_selAll;
    QToolButton* m_selNone;
    QProgressBar* m_progressBar;
    QCheckBox* m_createBackupBox;
    QCheckBox* m_ignoreCaseBox;
    QPushButton* m_button2;
    QPushButton* m_button1;
};

}  // namespace doxel
