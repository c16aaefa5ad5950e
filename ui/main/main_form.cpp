#include "ui/main/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include "core/path_rules.h"
#include "core/text_ids.h"
#include "platform/program_paths.h"
#include "ui/compile/compile_commands.h"
#include "ui/contents/contents_commands.h"
#include "ui/contents/contents_page.h"
#include "ui/dialogs/dialog_commands.h"
#include "ui/help/help_commands.h"
#include "ui/index/index_commands.h"
#include "ui/index/index_page.h"
#include "ui/index/list_models.h"
#include "ui/kit/icons.h"
#include "ui/kit/qt_text.h"
#include "ui/kit/window_placement.h"
#include "ui/logic/shell_open.h"
#include "ui/logic/string_table.h"
#include "ui/main/import_commands.h"
#include "ui/main/splash_form.h"
#include "ui/main/window_actions.h"
#include "ui/preview/preview_commands.h"
#include "ui/preview/preview_page.h"
#include "ui/tools/tool_commands.h"

namespace doxel {
namespace {

constexpr QSize kDesignSize(362, 504);

QTreeView* makeFileView(FileListModel& model, QWidget* parent)
{
    auto* view = new QTreeView(parent);
    view->setObjectName(QStringLiteral("FileView"));
    view->setModel(&model);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setIconSize(QSize(16, 16));
    view->header()->setSectionsClickable(false);
    view->header()->setStretchLastSection(true);
    view->setColumnWidth(0, 100);
    view->setColumnWidth(1, 250);
    return view;
}

}  // namespace

TMainForm::TMainForm(MainFormServices services, QWidget* parent)
    : QMainWindow(parent),
      m_services(std::move(services)),
      m_runner(m_services.desktop),
      m_actions(this),
      m_progress(m_services.settings, this),
      m_documents(m_project, {m_services.settings, m_services.desktop, m_runner, {}, examplesFolder()}, *this),
      m_context{*this,
                m_actions,
                m_runner,
                m_project,
                m_services.settings,
                m_services.desktop,
                m_documents,
                m_progress,
                m_services.dialogs,
                [this](const std::string& text) { setStatusText(text); },
                [this](bool colored) { setMainToolBarColored(m_actions, colored); }}
{
    initIconResources();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromLatin1(kProgramName));
    setWindowIcon(programIcon());
    buildWindow();
    bindCommands();
    // The desktop's unsaved-changes mark in the title: commands change the
    // project, and so does a caption edited in place.
    m_runner.setAfterCommand([this] { showModifiedMark(); });
    connect(m_contentsModel, &QAbstractItemModel::dataChanged, this, &TMainForm::showModifiedMark);
    resize(firstWindowSize(kDesignSize.expandedTo(minimumSizeHint())));
    centreOnScreen(*this);
}

TMainForm::~TMainForm()
{
    // The views go before the project they show.
    delete m_splitter;
    m_splitter = nullptr;
}

void TMainForm::buildWindow()
{
    createWindowActions(m_actions);
    buildMainMenu(m_actions, menuBar());
    addToolBar(Qt::TopToolBarArea, buildMainToolBar(m_actions, this));
    m_itemPopup = buildItemPopup(m_actions, this);

    m_contentsModel = new ContentsModel(m_project, this);
    m_keywordModel = new KeywordModel(m_project, this);
    m_fileListModel = new FileListModel(m_project, this);

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);
    m_pageControl = new QTabWidget(m_splitter);
    m_pageControl->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl->setTabPosition(QTabWidget::South);
    m_pageControl->setDocumentMode(true);
    m_contentsPage = new ContentsPage(m_actions, *m_contentsModel, m_pageControl);
    m_previewPage = new PreviewPage(m_actions, m_pageControl);
    m_indexPage = new IndexPage(m_actions, *m_keywordModel, m_pageControl);
    m_pageControl->addTab(m_contentsPage, QStringLiteral("Contents"));
    m_pageControl->addTab(m_previewPage, QStringLiteral("Preview"));
    m_pageControl->addTab(m_indexPage, QStringLiteral("Index"));
    m_fileView = makeFileView(*m_fileListModel, m_splitter);
    m_splitter->addWidget(m_pageControl);
    m_splitter->addWidget(m_fileView);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_statusText = new QLabel(m_status);
    m_statusText->setObjectName(QStringLiteral("statusText"));
    m_status->addWidget(m_statusText, 1);
    setStatusBar(m_status);
}

void TMainForm::bindCommands()
{
    m_actions.bind({Command::NewProject, Command::NewProjectButton}, this, &TMainForm::newProject);
    m_actions.bind({Command::OpenProject, Command::OpenProjectButton}, this, &TMainForm::openProject);
    m_actions.bind({Command::SaveProject, Command::SaveProjectButton}, this, &TMainForm::saveProject);
    m_actions.bind({Command::Exit}, this, &TMainForm::exitProgram);
    m_actions.bind({Command::About, Command::AboutButton}, this, &TMainForm::showAbout);
    m_actions.bind({Command::SaveProjectAs}, this, &TMainForm::saveProjectAs);
    m_actions.bind({Command::Undo}, this, &TMainForm::undo);
    m_actions.bind({Command::Redo}, this, &TMainForm::redo);
    addActions({m_actions.action(Command::Undo), m_actions.action(Command::Redo)});
    m_actions.bind({Command::ShowFiles}, this, &TMainForm::toggleFileList);
    m_actions.bind({Command::English}, this, &TMainForm::useEnglish);
    m_actions.bind({Command::German}, this, &TMainForm::useGerman);
    m_actions.bind({Command::French}, this, &TMainForm::useFrench);
    m_actions.bind({Command::Spanish}, this, &TMainForm::useSpanish);
    m_actions.bind({Command::Russian}, this, &TMainForm::useRussian);
    connect(m_actions.menu(Menu::FileMenu), &QMenu::aboutToShow, this, &TMainForm::fillRecentProjects);
    m_contentsCommands = new ContentsCommands(m_context, *m_contentsPage, *m_fileListModel, *m_itemPopup);
    new CompileCommands(m_context, *m_contentsModel);  // goes with the window, ending the help viewers it opened
    new HelpCommands(m_context);
    new DialogCommands(m_context);
    new ToolCommands(m_context);
    ContentsEditor& contents = m_contentsCommands->editor();
    auto* index =
        new IndexCommands(m_context, *m_indexPage, *m_keywordModel, [&contents] { return contents.selected(); });
    new PreviewCommands(m_context, *m_pageControl, *m_previewPage, *m_contentsPage, contents, index->keywords(),
                        resourcePath("blank.htm"));
    new ImportCommands(m_context);
    connect(m_pageControl, &QTabWidget::currentChanged, this, &TMainForm::pageChanged);
    connect(m_contentsPage, &ContentsPage::selectedEntryChanged, this, &TMainForm::treeChange);
}

void TMainForm::setUpWindow(const std::string& commandLineProject)
{
    // The shell's file icons come from QFileIconProvider in the file list
    // model; the help hook belongs to the help viewer connection.
    m_runner.run([this] { restoreWindowPlace(); });
    newProjectInitialization();
    // A damaged line of the settings file is passed over; a user who started
    // the program from the menu sees no terminal, so it is said here.
    if (const std::string problem = m_services.settings.readProblem(); !problem.empty())
        showMessage(m_services.desktop, problem, kProgramName, MessageButtons::Ok, MessageIcon::Warning);
    if (!commandLineProject.empty()) {
        m_runner.run([this, &commandLineProject] { m_documents.openProjectFile(commandLineProject); });
    }
    m_contentsPage->clearIconChooser();
}

void TMainForm::newProjectInitialization()
{
    m_runner.run([this] {
        rebuildRecentMenu();
        if (m_services.registerFileAssociation)
            m_services.registerFileAssociation();  // a refused write leaves the program usable
        setWindowCaption(kProgramName);
        m_documents.resetProject();
        // Start-up and New sort nothing; opening a project keeps the mode.
        m_actions.action(Command::DoNotSort)->trigger();
        m_contentsPage->editTitle();
        applySettingDefaults(m_services.settings, m_services.settingDefaults);
        applyLocalizedCaptions();
        applyViewSettings();
    });
}

void TMainForm::applyViewSettings()
{
    const Settings settings(m_services.settings);
    const bool showFiles = settings.flag(setting::kShowFileSystem);
    m_actions.action(Command::ShowFiles)->setChecked(showFiles);
    m_fileView->setVisible(showFiles);
    m_actions.action(Command::AddAsChildButton)->setChecked(settings.flag(setting::kTopicAsChild));
    setMainToolBarColored(m_actions, settings.flag(setting::kToolbarColored));
}

void TMainForm::rebuildRecentMenu()
{
    QMenu* recent = m_actions.menu(Menu::RecentMenu);
    // An item may be the one whose click is being handled: it goes once
    // control is back in the event loop.
    for (QAction* old : recent->actions()) {
        recent->removeAction(old);
        old->deleteLater();
    }
    recent->setToolTipsVisible(true);
    for (const RecentMenuItem& item : m_documents.recentMenuItems()) {
        QAction* action = recent->addAction(toQString(item.caption));
        action->setToolTip(toQString(item.path));
        action->setStatusTip(toQString(item.path));
        const std::string path = item.path;
        connect(action, &QAction::triggered, this, [this, path] { openRecentProject(path); });
    }
    recent->menuAction()->setEnabled(!recent->isEmpty());
}

void TMainForm::fillRecentProjects()
{
    QMenu* recent = m_actions.menu(Menu::RecentMenu);
    recent->menuAction()->setEnabled(!recent->isEmpty());
}

void TMainForm::pageChanged()
{
    m_contentsCommands->setPageCurrent(m_pageControl->currentWidget() == m_contentsPage);
}

void TMainForm::treeChange(ContentsEntry* entry)
{
    m_contentsCommands->treeChange(entry);
}

void TMainForm::newProject()
{
    m_runner.run([this] {
        if (!m_documents.newProject())
            return;
        newProjectInitialization();
        m_contentsPage->clearIconChooser();
    });
}

void TMainForm::openProject()
{
    m_runner.run([this] { m_documents.openProject(); });
}

void TMainForm::saveProject()
{
    m_runner.run([this] { m_documents.save(); });
}

void TMainForm::saveProjectAs()
{
    m_runner.run([this] { m_documents.saveAs(); });
}

void TMainForm::undo()
{
    m_runner.run([this] { m_documents.undo(); });
}

void TMainForm::redo()
{
    m_runner.run([this] { m_documents.redo(); });
}

void TMainForm::openRecentProject(const std::string& path)
{
    m_runner.run([this, &path] { m_documents.openProjectFile(path); });
}

void TMainForm::exitProgram()
{
    close();
}

bool TMainForm::canClose()
{
    bool mayClose = false;
    m_runner.run([this, &mayClose] { mayClose = m_documents.closeQuery(); });
    return mayClose;
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Asked once the activation is over, not inside it: the question is a
    // window of its own that takes the focus.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, &TMainForm::offerReloadFromDisk);
}

void TMainForm::offerReloadFromDisk()
{
    // Not while one of our dialogs is open (the focus came back from it, or
    // a compile runs): the project stays as the dialog saw it.
    if (!isActiveWindow() || QApplication::activeModalWidget() != nullptr || m_askingReload)
        return;
    m_askingReload = true;
    m_runner.run([this] { m_documents.reloadIfChangedOnDisk(); });
    m_askingReload = false;
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!canClose()) {
        event->ignore();
        return;
    }
    m_runner.run([this] { saveWindowPlace(); });
    event->accept();
}

// The window opens the way it was left: size, place and the split between
// the pages and the file list. The first start keeps the form's own size.
void TMainForm::restoreWindowPlace()
{
    const std::string geometry = Settings(m_services.settings).text(setting::kWindowGeometry);
    if (!geometry.empty())
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
    const std::string split = Settings(m_services.settings).text(setting::kWindowSplit);
    if (!split.empty())
        m_splitter->restoreState(QByteArray::fromBase64(QByteArray::fromStdString(split)));
}

void TMainForm::saveWindowPlace()
{
    Settings(m_services.settings).setText(setting::kWindowGeometry, saveGeometry().toBase64().toStdString());
    Settings(m_services.settings).setText(setting::kWindowSplit, m_splitter->saveState().toBase64().toStdString());
}

void TMainForm::showAbout()
{
    TSplash about(TSplash::Mode::About, this);
    m_services.dialogs.run(about);
}

void TMainForm::toggleFileList()
{
    m_runner.run([this] {
        const bool shown = m_actions.action(Command::ShowFiles)->isChecked();
        m_fileView->setVisible(shown);
        Settings(m_services.settings).setFlag(setting::kShowFileSystem, shown);
    });
}

void TMainForm::setLanguage(int offset)
{
    m_runner.run([this, offset] {
        Settings(m_services.settings).setText(setting::kLanguage, std::to_string(offset));
        applyLocalizedCaptions();
    });
}

void TMainForm::useEnglish()
{
    setLanguage(0);
}

void TMainForm::useGerman()
{
    setLanguage(1000);
}

void TMainForm::useFrench()
{
    setLanguage(2000);
}

void TMainForm::useSpanish()
{
    setLanguage(3000);
}

void TMainForm::useRussian()
{
    setLanguage(4000);
}

void TMainForm::setStatusText(const std::string& text)
{
    m_statusText->setText(toQString(text));
}

void TMainForm::applyLocalizedCaptions()
{
    m_qtTranslations.use(chosenLanguage(m_services.settings).code);
    // The tick on the language the captions are in.
    const std::optional<std::size_t> language = currentLanguage(m_services.settings);
    for (std::size_t n = 0; n < std::size(kLanguageCommands); ++n)
        m_actions.action(kLanguageCommands[n])->setChecked(language == n);
    for (const CaptionTableRow& row : captionTable())
        applyCaption(row, localText(m_services.settings, row.id));
    m_keywordModel->setMissingFileNote(localText(m_services.settings, text_id::kFileDoesNotExist));
    showUndoSteps();
    // A longer translation of a first column's caption widens the column
    // rather than being cut.
    for (QTreeView* view : {static_cast<QTreeView*>(m_indexPage->keyView()), m_fileView}) {
        const int wanted = view->header()->sectionSizeHint(0);
        if (view->columnWidth(0) < wanted)
            view->setColumnWidth(0, wanted);
    }
}

void TMainForm::applyCaption(const CaptionTableRow& row, const QString& text)
{
    const CaptionControl& control = row.control;
    if (control.command) {
        QAction* action = m_actions.action(*control.command);
        action->setText(text);
        if (row.kind == CaptionKind::Hint)
            action->setToolTip(text);
        return;
    }
    if (control.menu) {
        m_actions.menu(*control.menu)->setTitle(text);
        return;
    }
    const QString name = QString::fromLatin1(control.name);
    if (row.kind == CaptionKind::Column) {
        if (name == QLatin1String("KeyView"))
            m_keywordModel->setColumnCaption(row.column, text);
        else
            m_fileListModel->setColumnCaption(row.column, text);
    } else if (auto* label = findChild<QLabel*>(name)) {
        label->setText(text);
    } else if (QWidget* tab = findChild<QWidget*>(name); tab != nullptr && m_pageControl->indexOf(tab) >= 0) {
        m_pageControl->setTabText(m_pageControl->indexOf(tab), text);
    }
}

void TMainForm::beginProjectChange()
{
    m_contentsModel->beginProjectChange();
    m_keywordModel->beginProjectChange();
    m_fileListModel->beginProjectChange();
}

void TMainForm::endProjectChange()
{
    m_fileListModel->endProjectChange();
    m_keywordModel->endProjectChange();
    m_contentsModel->endProjectChange();
    const EditHistory& history = m_documents.history();
    if (history.restoring())
        m_contentsPage->showRestoredProject(history.restoredSelection());
    else
        m_contentsPage->showOpenedProject();
}

void TMainForm::commitEdits()
{
    m_contentsPage->tree()->commitEditing();
    m_indexPage->keyView()->commitEditing();
}

void TMainForm::setWindowCaption(const std::string& caption)
{
    setWindowTitle(toQString(caption) + QStringLiteral("[*]"));
    showModifiedMark();
}

void TMainForm::showModifiedMark()
{
    setWindowModified(m_project.modified);
    showUndoSteps();
}

void TMainForm::showUndoSteps()
{
    const EditHistory& history = m_documents.history();
    const auto itemText = [this](int bare, int named, int step) {
        if (step == 0)
            return localText(m_services.settings, bare);
        return localText(m_services.settings, named).replace(QLatin1String("%1"), localText(m_services.settings, step));
    };
    QAction* undo = m_actions.action(Command::Undo);
    undo->setText(itemText(text_id::kUndo, text_id::kUndoItem, history.undoName()));
    undo->setEnabled(history.canUndo());
    QAction* redo = m_actions.action(Command::Redo);
    redo->setText(itemText(text_id::kRedo, text_id::kRedoItem, history.redoName()));
    redo->setEnabled(history.canRedo());
}

void TMainForm::recentProjectsChanged()
{
    rebuildRecentMenu();
}

}  // namespace doxel
