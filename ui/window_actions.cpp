#include "ui/window_actions.h"

#include <QActionGroup>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "ui/action_registry.h"
#include "ui/icons.h"
#include "ui/string_table.h"

namespace doxel {
namespace {

struct ActionRow {
    const char* name;
    const char* caption;
    const char* icon = nullptr;  // below data/icons
    bool checkable = false;
};

// Menu items, with the captions of the window's design.
constexpr ActionRow kMenuItems[] = {
    {"New1", "&New"},
    {"OpenProject1", "&Open project..."},
    {"Saveproject1", "&Save project"},
    {"Exit1", "&Exit"},
    {"Addtopic1", "Add &topic(s)..."},
    {"Addheader1", "Add &empty topic (header)"},
    {"Delete1", "&Delete"},
    {"EditwithHTMLEditor2", "Open in H&TML Editor"},
    {"EditwithNotepad1", "Open in &Notepad"},
    {"toselecteditem1", "to all headers"},
    {"toalltopics1", "to all topics"},
    {"toallheadersinthislevel1", "to all headers in this level"},
    {"toalltopicsincurrentlevel1", "to all topics in this level"},
    {"Alphabetically1", "alphabetically", nullptr, true},
    {"Donotsort1", "do not sort", nullptr, true},
    {"Expandallitems1", "&Expand all"},
    {"Collapseallitems1", "&Collapse all"},
    {"Setasdefaulttopic1", "Make &default item"},
    {"Viewlogfile1", "View &Log File"},
    {"Launchcompiledfile1", "View &Help file"},
    {"Compile1", "&Compile project"},
    {"TXTtoHTMLWizard1", "TXT to HTML Wizard"},
    {"SearchandReplace1", "Search and Replace"},
    {"ShowFiles", "&Show Files Section", nullptr, true},
    {"ProjectProperties1", "&Project properties..."},
    {"Preferences1", "&Settings..."},
    {"Help2", "Help &manual..."},
    {"HelpVersion", "Show &HTML Help version..."},
    {"IEVersion", "Show &IE version..."},
    {"Update", "&Check for Update"},
    {"DoxelHomepage", "HTML Doxel H&omepage"},
    {"HelpDownloads", "MS HTML Help &Downloads"},
    {"SendEmail", "Send &EMail to Author"},
    {"About1", "&About..."},
    // The tree's pop-up menu.
    {"Preview", "&Preview"},
    {"Edit1", "Add &topic(s)..."},
    {"Edit2", "Add &empty topic (header)"},
    {"Deleteitem", "&Delete"},
    {"toallheader1", "to all headers"},
    {"toalltopics2", "to all topics"},
    {"toallheadersinthislevel2", "to all headers in this level"},
    {"toalltopicsincurrentlevel2", "to all topics in this level"},
    {"EditwithHTMLEditor1", "Open in H&TML Editor"},
    {"EditinNotepad1", "Open in &Notepad"},
    {"properties", "&Properties..."},
    // The drop-down menus of WizardButton and EditButton.
    {"TXTtoHTMLWizard2", "TXT to HTML Wizard"},
    {"SearchandReplace2", "Search and Replace"},
    {"notepad", "Notepad"},
    {"HTMLEditor", "HTML Editor"},
};

// Tool buttons of the pages, with their hints as captions.
constexpr ActionRow kPageButtons[] = {
    {"NewItemButton", "Add new topic(s)", "actions/addtopic.svg"},
    {"NewHeaderButton", "Add empty topic (header)", "actions/addheader.svg"},
    {"AddKeyw", "Add keyword", "actions/addkeyword.svg"},
    {"LeftButton", "Move left", "actions/left.svg"},
    {"RightButton", "Move right", "actions/right.svg"},
    {"DownButton", "Move down", "actions/down.svg"},
    {"UpButton", "Move up", "actions/up.svg"},
    {"Insert", "Add new item as child node (on/off)", "actions/aschild.svg", true},
    {"DeleteButton", "Delete", "actions/delete.svg"},
    {"EditButton", "Edit document", "actions/edit.svg"},
    {"PrevTopicButton", "Prev. topic", "actions/prevtopic.svg"},
    {"RefreshButton", "Refresh", "actions/refresh.svg"},
    {"NextTopicButton", "Next topic", "actions/nexttopic.svg"},
    {"KeyWordButton", "Add selected text to keyword list", "actions/keywordfromselection.svg"},
    {"KeyEditButton", "Edit keyword", "actions/editkeyword.svg"},
    {"KeywUpButton", "Move up", "actions/up.svg"},
    {"KeywDownButton", "Move down", "actions/down.svg"},
    {"DelAllKeyw", "Delete all", "actions/deleteall.svg"},
    {"AddKeyButton", "Add keyword", "actions/addkeyword.svg"},
    {"DelKeyButton", "Delete selected", "actions/deleteselected.svg"},
    {"SortButton", "Sort automatically (on/off)", "actions/sort.svg", true},
};

// ToolBar1's buttons and the picture of each.
constexpr ActionRow kMainButtons[] = {
    {"NewButton", "New project", "new"},
    {"OpenButton", "Open project", "open"},
    {"SaveButton", "Save project", "save"},
    {"CompileButton", "Compile", "compile"},
    {"WizardButton", "Wizards", "wizard"},
    {"ProjectPropButton", "Project properties", "projectprops"},
    {"AboutButton", "About", "about"},
};

void addItems(QMenu* menu, ActionRegistry& registry, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (name == nullptr)
            menu->addSeparator();
        else
            menu->addAction(registry.action(QString::fromLatin1(name)));
    }
}

}  // namespace

void createWindowActions(ActionRegistry& registry)
{
    for (const ActionRow& row : kMenuItems)
        registry.add(row.name, QString::fromUtf8(row.caption), {}, {}, row.checkable);
    for (const ActionRow& row : kPageButtons) {
        QAction* action = registry.add(row.name, QString::fromUtf8(row.caption), resourceIcon(row.icon), {}, row.checkable);
        action->setToolTip(action->text());
    }
    for (const ActionRow& row : kMainButtons) {
        QAction* action = registry.add(row.name, QString::fromUtf8(row.caption), toolbarIcon(row.icon, false));
        action->setToolTip(action->text());
    }
    registry.action(QStringLiteral("Exit1"))->setShortcut(Qt::Key_Escape);
    registry.action(QStringLiteral("Compile1"))->setShortcut(Qt::Key_F9);
    registry.action(QStringLiteral("Help2"))->setShortcut(Qt::Key_F1);

    // "do not sort" is checked at start; the two are one choice.
    auto* sortGroup = new QActionGroup(registry.action(QStringLiteral("Donotsort1")));
    sortGroup->addAction(registry.action(QStringLiteral("Alphabetically1")));
    sortGroup->addAction(registry.action(QStringLiteral("Donotsort1")));
    registry.action(QStringLiteral("Donotsort1"))->setChecked(true);

    // The language items keep these captions in every language.
    for (const Language& language : kLanguages)
        registry.add(language.menuItem, QString::fromLatin1(language.menuCaption));
}

void buildMainMenu(ActionRegistry& registry, QMenuBar* bar)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = registry.addMenu("File1", QStringLiteral("&File"), bar);
    addItems(file, registry, {"New1", "OpenProject1", "Saveproject1", nullptr});
    file->addMenu(registry.addMenu("Recent", QStringLiteral("Recent projects..."), file));
    addItems(file, registry, {nullptr, "Exit1"});
    bar->addMenu(file);

    QMenu* items = registry.addMenu("Items1", QStringLiteral("&Items"), bar);
    addItems(items, registry,
             {"Addtopic1", "Addheader1", "Delete1", nullptr, "EditwithHTMLEditor2", "EditwithNotepad1", nullptr});
    QMenu* assign = registry.addMenu("AssignselectedIcon1", QStringLiteral("Assign current &icon"), items);
    addItems(assign, registry,
             {"toselecteditem1", "toalltopics1", nullptr, "toallheadersinthislevel1", "toalltopicsincurrentlevel1"});
    items->addMenu(assign);
    QMenu* sort = registry.addMenu("SortType1", QStringLiteral("&Sort"), items);
    addItems(sort, registry, {"Alphabetically1", "Donotsort1"});
    items->addMenu(sort);
    addItems(items, registry, {nullptr, "Expandallitems1", "Collapseallitems1", nullptr, "Setasdefaulttopic1"});
    bar->addMenu(items);

    QMenu* commands = registry.addMenu("Commands1", QStringLiteral("&Commands"), bar);
    addItems(commands, registry, {"Viewlogfile1", "Launchcompiledfile1", nullptr, "Compile1", nullptr});
    QMenu* tools = registry.addMenu("Tools1", QStringLiteral("Tools"), commands);
    addItems(tools, registry, {"TXTtoHTMLWizard1", "SearchandReplace1"});
    commands->addMenu(tools);
    bar->addMenu(commands);

    QMenu* options = registry.addMenu("Options1", QStringLiteral("&Options"), bar);
    addItems(options, registry, {"ShowFiles"});
    QMenu* language = registry.addMenu("Language", QStringLiteral("Language"), options);
    for (const Language& each : kLanguages)
        language->addAction(registry.action(QString::fromLatin1(each.menuItem)));
    options->addMenu(language);
    addItems(options, registry, {nullptr, "ProjectProperties1", "Preferences1"});
    bar->addMenu(options);

    QMenu* help = registry.addMenu("Help1", QStringLiteral("&Help"), bar);
    addItems(help, registry, {"Help2", nullptr, "HelpVersion", "IEVersion", nullptr});
    QMenu* internet = registry.addMenu("Internet", QStringLiteral("Internet"), help);
    addItems(internet, registry, {"Update", nullptr, "DoxelHomepage", "HelpDownloads", "SendEmail"});
    help->addMenu(internet);
    addItems(help, registry, {nullptr, "About1"});
    bar->addMenu(help);
}

QMenu* buildItemPopup(ActionRegistry& registry, QWidget* parent)
{
    QMenu* popup = registry.addMenu("ItemPopup", QString(), parent);
    addItems(popup, registry, {"Preview", nullptr, "Edit1", "Edit2", "Deleteitem", nullptr});
    QMenu* assign = registry.addMenu("Assigncurrenticon1", QStringLiteral("Assign current &icon"), popup);
    addItems(assign, registry,
             {"toallheader1", "toalltopics2", nullptr, "toallheadersinthislevel2", "toalltopicsincurrentlevel2"});
    popup->addMenu(assign);
    addItems(popup, registry, {nullptr, "EditwithHTMLEditor1", "EditinNotepad1", nullptr, "properties"});
    popup->setDefaultAction(registry.action(QStringLiteral("Preview")));
    return popup;
}

QToolBar* buildMainToolBar(ActionRegistry& registry, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    registry.addToolButton(bar, "NewButton");
    registry.addToolButton(bar, "OpenButton");
    registry.addToolButton(bar, "SaveButton");
    bar->addSeparator();
    registry.addToolButton(bar, "CompileButton");
    QToolButton* wizard = registry.addToolButton(bar, "WizardButton");
    QMenu* wizards = registry.addMenu("PopupMenu1", QString(), wizard);
    addItems(wizards, registry, {"TXTtoHTMLWizard2", "SearchandReplace2"});
    wizard->setMenu(wizards);
    wizard->setPopupMode(QToolButton::InstantPopup);
    registry.addToolButton(bar, "ProjectPropButton");
    bar->addSeparator();
    registry.addToolButton(bar, "AboutButton");
    return bar;
}

void setMainToolBarColored(ActionRegistry& registry, bool colored)
{
    for (const ActionRow& row : kMainButtons)
        registry.action(QString::fromLatin1(row.name))->setIcon(toolbarIcon(row.icon, colored));
}

}  // namespace doxel
