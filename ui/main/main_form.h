#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

#include "core/desktop.h"
#include "core/project.h"
#include "core/settings.h"
#include "ui/kit/action_registry.h"
#include "ui/kit/command_context.h"
#include "ui/kit/dialog_runner.h"
#include "ui/logic/caption_table.h"
#include "ui/logic/command_runner.h"
#include "ui/logic/document_controller.h"
#include "ui/main/progress_form.h"
#include "ui/main/qt_translations.h"

class QLabel;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTreeView;

namespace doxel {

class ContentsCommands;
class ContentsModel;
class ContentsPage;
class FileListModel;
class IndexPage;
class KeywordModel;
class PreviewPage;

// What the main window is given by the program (or by a test).
struct MainFormServices {
    SettingsStore& settings;
    Desktop& desktop;
    // Runs the modal windows (ModalDialogRunner in the program).
    DialogRunner& dialogs;
    // Makes the program the handler of ".dxp" files; returns an error text,
    // which never stops the program.
    std::function<std::string()> registerFileAssociation;
    SettingDefaultsEnvironment settingDefaults;
};

// The main window: owns the one project for the whole run and carries every
// command as a menu item or tool button. It stays thin: the document
// commands live in DocumentController, the pages are their own widgets, the
// actions come from the ActionRegistry, the command sets of the pages and
// menus get a CommandContext and never this class, and every command runs
// through the CommandRunner, which shows the error that ends it.
class TMainForm final : public QMainWindow, private DocumentView {
    Q_OBJECT

public:
    explicit TMainForm(MainFormServices services, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The initialization of the window, in its order; opens
    // `commandLineProject` when it names a project.
    void setUpWindow(const std::string& commandLineProject = {});

    // What the command sets are given; also the way into the window for
    // tests and benchmarks.
    const CommandContext& context() const { return m_context; }
    Project& project() { return m_project; }
    ActionRegistry& actions() { return m_actions; }
    // The progress reporter for long commands (shows TProgress).
    WindowProgress& progressReporter() { return m_progress; }
    ContentsModel& contentsModel() { return *m_contentsModel; }
    KeywordModel& keywordModel() { return *m_keywordModel; }
    FileListModel& fileListModel() { return *m_fileListModel; }
    ContentsPage* contentsPage() const { return m_contentsPage; }
    QTabWidget* pageControl() const { return m_pageControl; }
    QTreeView* fileView() const { return m_fileView; }
    QMenu* itemPopup() const { return m_itemPopup; }

    // Command handlers.
    void newProject();
    void openProject();
    void saveProject();
    void saveProjectAs();
    void undo();
    void redo();
    void openRecentProject(const std::string& path);
    void exitProgram();
    // The unsaved-changes question; true when the window may close.
    bool canClose();
    void showAbout();
    void toggleFileList();
    void useEnglish();
    void useGerman();
    void useFrench();
    void useSpanish();
    void useRussian();
    void applyLocalizedCaptions();
    void fillRecentProjects();
    void pageChanged();
    void treeChange(ContentsEntry* entry);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Focus back from another window: the project file may have been saved
    // there meanwhile.
    void changeEvent(QEvent* event) override;

private:
    // DocumentView
    void beginProjectChange() override;
    void endProjectChange() override;
    void commitEdits() override;
    void setWindowCaption(const std::string& caption) override;
    void recentProjectsChanged() override;
    ProgressReporter& progress() override { return m_progress; }

    void buildWindow();
    void bindCommands();
    // The steps shared by the window's creation and New.
    void newProjectInitialization();
    void applyViewSettings();
    void restoreWindowPlace();
    void saveWindowPlace();
    void rebuildRecentMenu();
    void setLanguage(int offset);
    void setStatusText(const std::string& text);
    // The window title's "*" while the project has unsaved changes.
    void showModifiedMark();
    // The Undo and Redo items name the step they revert or repeat.
    void showUndoSteps();
    void offerReloadFromDisk();
    void applyCaption(const CaptionTableRow& row, const QString& text);

    Project m_project;
    MainFormServices m_services;
    CommandRunner m_runner;
    ActionRegistry m_actions;
    WindowProgress m_progress;
    QtTranslations m_qtTranslations;
    DocumentController m_documents;
    CommandContext m_context;
    ContentsModel* m_contentsModel = nullptr;
    KeywordModel* m_keywordModel = nullptr;
    FileListModel* m_fileListModel = nullptr;
    ContentsPage* m_contentsPage = nullptr;
    PreviewPage* m_previewPage = nullptr;
    IndexPage* m_indexPage = nullptr;
    QTabWidget* m_pageControl = nullptr;
    QSplitter* m_splitter = nullptr;
    QTreeView* m_fileView = nullptr;
    QStatusBar* m_status = nullptr;
    QLabel* m_statusText = nullptr;
    QMenu* m_itemPopup = nullptr;
    ContentsCommands* m_contentsCommands = nullptr;
    // The reload question is open (its box takes and gives back the focus).
    bool m_askingReload = false;
};

}  // namespace doxel
