#include "ui/main/window_actions.h"

#include <QActionGroup>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <optional>

#include "ui/logic/string_table.h"
#include "ui/main/action_registry.h"
#include "ui/main/icons.h"

namespace doxel {
namespace {

struct ActionRow {
    Command command;
    const char* caption;
    const char* icon = nullptr;  // below data/icons
    bool checkable = false;
};

// Menu items, with the captions of the window's design.
constexpr ActionRow kMenuItems[] = {
    {Command::New1, "&New"},
    {Command::OpenProject1, "&Open project..."},
    {Command::Saveproject1, "&Save project"},
    {Command::SaveprojectAs1, "Save &as..."},
    {Command::Exit1, "&Exit"},
    {Command::ImportHelpProject1, "&Import HTML Help project..."},
    {Command::Undo1, "&Undo"},
    {Command::Redo1, "&Redo"},
    {Command::Addtopic1, "Add &topic(s)..."},
    {Command::Addheader1, "Add &empty topic (header)"},
    {Command::Delete1, "&Delete"},
    {Command::EditwithHTMLEditor2, "Open in &HTML editor"},
    {Command::EditwithNotepad1, "Open in te&xt editor"},
    {Command::toselecteditem1, "to all headers"},
    {Command::toalltopics1, "to all topics"},
    {Command::toallheadersinthislevel1, "to all headers in this level"},
    {Command::toalltopicsincurrentlevel1, "to all topics in this level"},
    {Command::Alphabetically1, "alphabetically", nullptr, true},
    {Command::Donotsort1, "do not sort", nullptr, true},
    {Command::Expandallitems1, "&Expand all"},
    {Command::Collapseallitems1, "&Collapse all"},
    {Command::Setasdefaulttopic1, "Make &default item"},
    {Command::Viewlogfile1, "View &Log File"},
    {Command::Launchcompiledfile1, "View &Help file"},
    {Command::Compile1, "&Compile project"},
    {Command::TXTtoHTMLWizard1, "TXT to HTML Wizard"},
    {Command::SearchandReplace1, "Search and Replace"},
    {Command::ShowFiles, "&Show Files Section", nullptr, true},
    {Command::ProjectProperties1, "&Project properties..."},
    {Command::Preferences1, "&Settings..."},
    {Command::Help2, "Help &manual..."},
    {Command::HelpVersion, "Show &HTML Help version..."},
    {Command::IEVersion, "Show &viewer version..."},
    {Command::Update, "&Check for Update"},
    {Command::DoxelHomepage, "HTML Doxel H&omepage"},
    {Command::SendEmail, "Send &EMail to Author"},
    {Command::About1, "&About..."},
    // The tree's pop-up menu.
    {Command::Preview, "&Preview"},
    {Command::Edit1, "Add &topic(s)..."},
    {Command::Edit2, "Add &empty topic (header)"},
    {Command::Deleteitem, "&Delete"},
    {Command::toallheader1, "to all headers"},
    {Command::toalltopics2, "to all topics"},
    {Command::toallheadersinthislevel2, "to all headers in this level"},
    {Command::toalltopicsincurrentlevel2, "to all topics in this level"},
    {Command::EditwithHTMLEditor1, "Open in &HTML editor"},
    {Command::EditinNotepad1, "Open in te&xt editor"},
    {Command::properties, "&Properties..."},
    // The drop-down menus of WizardButton and EditButton.
    {Command::TXTtoHTMLWizard2, "TXT to HTML Wizard"},
    {Command::SearchandReplace2, "Search and Replace"},
    {Command::notepad, "Text editor"},
    {Command::HTMLEditor, "HTML Editor"},
};

// Tool buttons of the pages, with their hints as captions.
constexpr ActionRow kPageButtons[] = {
    {Command::NewItemButton, "Add new topic(s)", "actions/addtopic.svg"},
    {Command::NewHeaderButton, "Add empty topic (header)", "actions/addheader.svg"},
    {Command::AddKeyw, "Add keyword", "actions/addkeyword.svg"},
    {Command::LeftButton, "Move left", "actions/left.svg"},
    {Command::RightButton, "Move right", "actions/right.svg"},
    {Command::DownButton, "Move down", "actions/down.svg"},
    {Command::UpButton, "Move up", "actions/up.svg"},
    {Command::Insert, "Add new item as child node (on/off)", "actions/aschild.svg", true},
    {Command::DeleteButton, "Delete", "actions/delete.svg"},
    {Command::EditButton, "Edit document", "actions/edit.svg"},
    {Command::PrevTopicButton, "Prev. topic", "actions/prevtopic.svg"},
    {Command::RefreshButton, "Refresh", "actions/refresh.svg"},
    {Command::NextTopicButton, "Next topic", "actions/nexttopic.svg"},
    {Command::KeyWordButton, "Add selected text to keyword list", "actions/keywordfromselection.svg"},
    {Command::KeyEditButton, "Edit keyword", "actions/editkeyword.svg"},
    {Command::KeywUpButton, "Move up", "actions/up.svg"},
    {Command::KeywDownButton, "Move down", "actions/down.svg"},
    {Command::DelAllKeyw, "Delete all", "actions/deleteall.svg"},
    {Command::AddKeyButton, "Add keyword", "actions/addkeyword.svg"},
    {Command::DelKeyButton, "Delete selected", "actions/deleteselected.svg"},
    {Command::SortButton, "Sort automatically (on/off)", "actions/sort.svg", true},
};

// ToolBar1's buttons and the picture of each.
constexpr ActionRow kMainButtons[] = {
    {Command::NewButton, "New project", "new"},    {Command::OpenButton, "Open project", "open"},
    {Command::SaveButton, "Save project", "save"}, {Command::CompileButton, "Compile", "compile"},
    {Command::WizardButton, "Wizards", "wizard"},  {Command::ProjectPropButton, "Project properties", "projectprops"},
    {Command::AboutButton, "About", "about"},
};

// A menu's items in order; kSeparator between groups.
constexpr std::optional<Command> kSeparator;

void addItems(QMenu* menu, ActionRegistry& registry, std::initializer_list<std::optional<Command>> commands)
{
    for (const std::optional<Command>& command : commands) {
        if (command)
            menu->addAction(registry.action(*command));
        else
            menu->addSeparator();
    }
}

}  // namespace

QKeySequence quitKey()
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Quit);
    return keys.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : keys.first();
}

void createWindowActions(ActionRegistry& registry)
{
    for (const ActionRow& row : kMenuItems)
        registry.add(row.command, QString::fromUtf8(row.caption), {}, {}, row.checkable);
    for (const ActionRow& row : kPageButtons) {
        QAction* action =
            registry.add(row.command, QString::fromUtf8(row.caption), resourceIcon(row.icon), {}, row.checkable);
        action->setToolTip(action->text());
    }
    for (const ActionRow& row : kMainButtons) {
        QAction* action = registry.add(row.command, QString::fromUtf8(row.caption), toolbarIcon(row.icon, false));
        action->setToolTip(action->text());
    }
    // The desktop's own keys for the document commands beside the window's.
    registry.action(Command::New1)->setShortcuts(QKeySequence::New);
    registry.action(Command::OpenProject1)->setShortcuts(QKeySequence::Open);
    registry.action(Command::Saveproject1)->setShortcuts(QKeySequence::Save);
    registry.action(Command::SaveprojectAs1)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    registry.action(Command::Undo1)->setShortcuts(QKeySequence::Undo);
    registry.action(Command::Redo1)->setShortcuts(QKeySequence::Redo);
    registry.action(Command::Exit1)->setShortcuts({QKeySequence(Qt::Key_Escape), quitKey()});
    registry.action(Command::Compile1)->setShortcut(Qt::Key_F9);
    registry.action(Command::Help2)->setShortcut(Qt::Key_F1);

    // "do not sort" is checked at start; the two are one choice.
    auto* sortGroup = new QActionGroup(registry.action(Command::Donotsort1));
    sortGroup->addAction(registry.action(Command::Alphabetically1));
    sortGroup->addAction(registry.action(Command::Donotsort1));
    registry.action(Command::Donotsort1)->setChecked(true);

    // The language items keep these captions in every language.
    static_assert(std::size(kLanguageCommands) == std::size(kLanguages));
    // One of them is ticked: the language the captions are in.
    for (std::size_t n = 0; n < std::size(kLanguages); ++n)
        registry.add(kLanguageCommands[n], QString::fromLatin1(kLanguages[n].menuCaption), {}, {}, true);
    auto* languages = new QActionGroup(registry.action(Command::English1));
    for (Command item : kLanguageCommands)
        languages->addAction(registry.action(item));
}

void buildMainMenu(ActionRegistry& registry, QMenuBar* bar)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = registry.addMenu(Menu::File1, QStringLiteral("&File"), bar);
    addItems(file, registry,
             {Command::New1, Command::OpenProject1, Command::Saveproject1, Command::SaveprojectAs1, kSeparator,
              Command::ImportHelpProject1, kSeparator});
    file->addMenu(registry.addMenu(Menu::Recent, QStringLiteral("Recent projects..."), file));
    addItems(file, registry, {kSeparator, Command::Exit1});
    bar->addMenu(file);

    QMenu* items = registry.addMenu(Menu::Items1, QStringLiteral("&Items"), bar);
    addItems(items, registry,
             {Command::Undo1, Command::Redo1, kSeparator, Command::Addtopic1, Command::Addheader1, Command::Delete1,
              kSeparator, Command::EditwithHTMLEditor2, Command::EditwithNotepad1, kSeparator});
    QMenu* assign = registry.addMenu(Menu::AssignselectedIcon1, QStringLiteral("Assign current &icon"), items);
    addItems(assign, registry,
             {Command::toselecteditem1, Command::toalltopics1, kSeparator, Command::toallheadersinthislevel1,
              Command::toalltopicsincurrentlevel1});
    items->addMenu(assign);
    QMenu* sort = registry.addMenu(Menu::SortType1, QStringLiteral("&Sort"), items);
    addItems(sort, registry, {Command::Alphabetically1, Command::Donotsort1});
    items->addMenu(sort);
    addItems(
        items, registry,
        {kSeparator, Command::Expandallitems1, Command::Collapseallitems1, kSeparator, Command::Setasdefaulttopic1});
    bar->addMenu(items);

    QMenu* commands = registry.addMenu(Menu::Commands1, QStringLiteral("&Commands"), bar);
    addItems(commands, registry,
             {Command::Viewlogfile1, Command::Launchcompiledfile1, kSeparator, Command::Compile1, kSeparator});
    QMenu* tools = registry.addMenu(Menu::Tools1, QStringLiteral("Tools"), commands);
    addItems(tools, registry, {Command::TXTtoHTMLWizard1, Command::SearchandReplace1});
    commands->addMenu(tools);
    bar->addMenu(commands);

    QMenu* options = registry.addMenu(Menu::Options1, QStringLiteral("&Options"), bar);
    addItems(options, registry, {Command::ShowFiles});
    QMenu* language = registry.addMenu(Menu::Language, QStringLiteral("Language"), options);
    for (Command item : kLanguageCommands)
        language->addAction(registry.action(item));
    options->addMenu(language);
    addItems(options, registry, {kSeparator, Command::ProjectProperties1, Command::Preferences1});
    bar->addMenu(options);

    QMenu* help = registry.addMenu(Menu::Help1, QStringLiteral("&Help"), bar);
    addItems(help, registry, {Command::Help2, kSeparator, Command::HelpVersion, Command::IEVersion, kSeparator});
    QMenu* internet = registry.addMenu(Menu::Internet, QStringLiteral("Internet"), help);
    addItems(internet, registry, {Command::Update, kSeparator, Command::DoxelHomepage, Command::SendEmail});
    help->addMenu(internet);
    addItems(help, registry, {kSeparator, Command::About1});
    bar->addMenu(help);
}

QMenu* buildItemPopup(ActionRegistry& registry, QWidget* parent)
{
    QMenu* popup = registry.addMenu(Menu::ItemPopup, QString(), parent);
    addItems(popup, registry,
             {Command::Preview, kSeparator, Command::Edit1, Command::Edit2, Command::Deleteitem, kSeparator});
    QMenu* assign = registry.addMenu(Menu::Assigncurrenticon1, QStringLiteral("Assign current &icon"), popup);
    addItems(assign, registry,
             {Command::toallheader1, Command::toalltopics2, kSeparator, Command::toallheadersinthislevel2,
              Command::toalltopicsincurrentlevel2});
    popup->addMenu(assign);
    addItems(popup, registry,
             {kSeparator, Command::EditwithHTMLEditor1, Command::EditinNotepad1, kSeparator, Command::properties});
    popup->setDefaultAction(registry.action(Command::Preview));
    return popup;
}

QToolBar* buildMainToolBar(ActionRegistry& registry, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    registry.addToolButton(bar, Command::NewButton);
    registry.addToolButton(bar, Command::OpenButton);
    registry.addToolButton(bar, Command::SaveButton);
    bar->addSeparator();
    registry.addToolButton(bar, Command::CompileButton);
    QToolButton* wizard = registry.addToolButton(bar, Command::WizardButton);
    QMenu* wizards = registry.addMenu(Menu::PopupMenu1, QString(), wizard);
    addItems(wizards, registry, {Command::TXTtoHTMLWizard2, Command::SearchandReplace2});
    wizard->setMenu(wizards);
    wizard->setPopupMode(QToolButton::InstantPopup);
    registry.addToolButton(bar, Command::ProjectPropButton);
    bar->addSeparator();
    registry.addToolButton(bar, Command::AboutButton);
    return bar;
}

void setMainToolBarColored(ActionRegistry& registry, bool colored)
{
    for (const ActionRow& row : kMainButtons)
        registry.action(row.command)->setIcon(toolbarIcon(row.icon, colored));
}

}  // namespace doxel
