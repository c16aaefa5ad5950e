#include "ui/main/window_actions.h"

#include <QActionGroup>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <optional>

#include "ui/kit/action_registry.h"
#include "ui/kit/icons.h"
#include "ui/logic/string_table.h"

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
    {Command::NewProject, "&New"},
    {Command::OpenProject, "&Open project..."},
    {Command::SaveProject, "&Save project"},
    {Command::SaveProjectAs, "Save &as..."},
    {Command::Exit, "&Exit"},
    {Command::ImportHelpProject, "&Import HTML Help project..."},
    {Command::Undo, "&Undo"},
    {Command::Redo, "&Redo"},
    {Command::AddTopics, "Add &topic(s)..."},
    {Command::AddHeader, "Add &empty topic (header)"},
    {Command::DeleteEntry, "&Delete"},
    {Command::OpenInHtmlEditor, "Open in &HTML editor"},
    {Command::OpenInTextEditor, "Open in te&xt editor"},
    {Command::IconToAllHeaders, "to all headers"},
    {Command::IconToAllTopics, "to all topics"},
    {Command::IconToHeadersOfLevel, "to all headers in this level"},
    {Command::IconToTopicsOfLevel, "to all topics in this level"},
    {Command::SortAlphabetically, "alphabetically", nullptr, true},
    {Command::DoNotSort, "do not sort", nullptr, true},
    {Command::ExpandAll, "&Expand all"},
    {Command::CollapseAll, "&Collapse all"},
    {Command::MakeDefaultEntry, "Make &default item"},
    {Command::HelpIds, "He&lp ids..."},
    {Command::ViewLogFile, "View &Log File"},
    {Command::ViewHelpFile, "View &Help file"},
    {Command::Compile, "&Compile project"},
    {Command::TxtToHtmlWizard, "TXT to HTML Wizard"},
    {Command::SearchAndReplace, "Search and Replace"},
    {Command::ShowFiles, "&Show Files Section", nullptr, true},
    {Command::ProjectProperties, "&Project properties..."},
    {Command::Settings, "&Settings..."},
    {Command::HelpManual, "Help &manual..."},
    {Command::ShowHelpVersion, "Show &HTML Help version..."},
    {Command::ShowBrowserVersion, "Show &viewer version..."},
    {Command::CheckForUpdate, "&Check for Update"},
    {Command::OpenHomepage, "HTML Doxel H&omepage"},
    {Command::SendEmail, "Send &EMail to Author"},
    {Command::About, "&About..."},
    // The tree's pop-up menu.
    {Command::PopupPreview, "&Preview"},
    {Command::PopupAddTopics, "Add &topic(s)..."},
    {Command::PopupAddHeader, "Add &empty topic (header)"},
    {Command::PopupDelete, "&Delete"},
    {Command::PopupIconToAllHeaders, "to all headers"},
    {Command::PopupIconToAllTopics, "to all topics"},
    {Command::PopupIconToHeadersOfLevel, "to all headers in this level"},
    {Command::PopupIconToTopicsOfLevel, "to all topics in this level"},
    {Command::PopupOpenInHtmlEditor, "Open in &HTML editor"},
    {Command::PopupOpenInTextEditor, "Open in te&xt editor"},
    {Command::PopupProperties, "&Properties..."},
    // The drop-down menus of WizardButton and EditButton.
    {Command::WizardsTxtToHtml, "TXT to HTML Wizard"},
    {Command::WizardsSearchAndReplace, "Search and Replace"},
    {Command::EditInTextEditor, "Text editor"},
    {Command::EditInHtmlEditor, "HTML Editor"},
};

// Tool buttons of the pages, with their hints as captions.
constexpr ActionRow kPageButtons[] = {
    {Command::AddTopicsButton, "Add new topic(s)", "actions/addtopic.svg"},
    {Command::AddHeaderButton, "Add empty topic (header)", "actions/addheader.svg"},
    {Command::AddKeywordToEntryButton, "Add keyword", "actions/addkeyword.svg"},
    {Command::MoveLeftButton, "Move left", "actions/left.svg"},
    {Command::MoveRightButton, "Move right", "actions/right.svg"},
    {Command::MoveDownButton, "Move down", "actions/down.svg"},
    {Command::MoveUpButton, "Move up", "actions/up.svg"},
    {Command::AddAsChildButton, "Add new item as child node (on/off)", "actions/aschild.svg", true},
    {Command::DeleteEntryButton, "Delete", "actions/delete.svg"},
    {Command::EditPageButton, "Edit document", "actions/edit.svg"},
    {Command::PreviousTopicButton, "Prev. topic", "actions/prevtopic.svg"},
    {Command::RefreshButton, "Refresh", "actions/refresh.svg"},
    {Command::NextTopicButton, "Next topic", "actions/nexttopic.svg"},
    {Command::KeywordFromSelectionButton, "Add selected text to keyword list", "actions/keywordfromselection.svg"},
    {Command::EditKeywordButton, "Edit keyword", "actions/editkeyword.svg"},
    {Command::KeywordUpButton, "Move up", "actions/up.svg"},
    {Command::KeywordDownButton, "Move down", "actions/down.svg"},
    {Command::DeleteAllKeywordsButton, "Delete all", "actions/deleteall.svg"},
    {Command::AddKeywordButton, "Add keyword", "actions/addkeyword.svg"},
    {Command::DeleteKeywordButton, "Delete selected", "actions/deleteselected.svg"},
    {Command::SortKeywordsButton, "Sort automatically (on/off)", "actions/sort.svg", true},
};

// ToolBar1's buttons and the picture of each.
constexpr ActionRow kMainButtons[] = {
    {Command::NewProjectButton, "New project", "new"},
    {Command::OpenProjectButton, "Open project", "open"},
    {Command::SaveProjectButton, "Save project", "save"},
    {Command::CompileButton, "Compile", "compile"},
    {Command::WizardsButton, "Wizards", "wizard"},
    {Command::ProjectPropertiesButton, "Project properties", "projectprops"},
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
    registry.action(Command::NewProject)->setShortcuts(QKeySequence::New);
    registry.action(Command::OpenProject)->setShortcuts(QKeySequence::Open);
    registry.action(Command::SaveProject)->setShortcuts(QKeySequence::Save);
    registry.action(Command::SaveProjectAs)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    registry.action(Command::Undo)->setShortcuts(QKeySequence::Undo);
    // Ctrl+Y redoes as well, as in many programs.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    registry.action(Command::Redo)->setShortcuts(redoKeys);
    registry.action(Command::Exit)->setShortcuts({QKeySequence(Qt::Key_Escape), quitKey()});
    registry.action(Command::Compile)->setShortcut(Qt::Key_F9);
    registry.action(Command::HelpManual)->setShortcut(Qt::Key_F1);

    // "do not sort" is checked at start; the two are one choice.
    auto* sortGroup = new QActionGroup(registry.action(Command::DoNotSort));
    sortGroup->addAction(registry.action(Command::SortAlphabetically));
    sortGroup->addAction(registry.action(Command::DoNotSort));
    registry.action(Command::DoNotSort)->setChecked(true);

    // The language items keep these captions in every language.
    static_assert(std::size(kLanguageCommands) == std::size(kLanguages));
    // One of them is ticked: the language the captions are in.
    for (std::size_t n = 0; n < std::size(kLanguages); ++n)
        registry.add(kLanguageCommands[n], QString::fromLatin1(kLanguages[n].menuCaption), {}, {}, true);
    auto* languages = new QActionGroup(registry.action(Command::English));
    for (Command item : kLanguageCommands)
        languages->addAction(registry.action(item));
}

void buildMainMenu(ActionRegistry& registry, QMenuBar* bar)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = registry.addMenu(Menu::FileMenu, QStringLiteral("&File"), bar);
    addItems(file, registry,
             {Command::NewProject, Command::OpenProject, Command::SaveProject, Command::SaveProjectAs, kSeparator,
              Command::ImportHelpProject, kSeparator});
    file->addMenu(registry.addMenu(Menu::RecentMenu, QStringLiteral("Recent projects..."), file));
    addItems(file, registry, {kSeparator, Command::Exit});
    bar->addMenu(file);

    QMenu* items = registry.addMenu(Menu::ItemsMenu, QStringLiteral("&Items"), bar);
    addItems(items, registry,
             {Command::Undo, Command::Redo, kSeparator, Command::AddTopics, Command::AddHeader, Command::DeleteEntry,
              kSeparator, Command::OpenInHtmlEditor, Command::OpenInTextEditor, kSeparator});
    QMenu* assign = registry.addMenu(Menu::AssignIconMenu, QStringLiteral("Assign current &icon"), items);
    addItems(assign, registry,
             {Command::IconToAllHeaders, Command::IconToAllTopics, kSeparator, Command::IconToHeadersOfLevel,
              Command::IconToTopicsOfLevel});
    items->addMenu(assign);
    QMenu* sort = registry.addMenu(Menu::SortMenu, QStringLiteral("&Sort"), items);
    addItems(sort, registry, {Command::SortAlphabetically, Command::DoNotSort});
    items->addMenu(sort);
    addItems(items, registry,
             {kSeparator, Command::ExpandAll, Command::CollapseAll, kSeparator, Command::MakeDefaultEntry,
              Command::HelpIds});
    bar->addMenu(items);

    QMenu* commands = registry.addMenu(Menu::CommandsMenu, QStringLiteral("&Commands"), bar);
    addItems(commands, registry,
             {Command::ViewLogFile, Command::ViewHelpFile, kSeparator, Command::Compile, kSeparator});
    QMenu* tools = registry.addMenu(Menu::ToolsMenu, QStringLiteral("Tools"), commands);
    addItems(tools, registry, {Command::TxtToHtmlWizard, Command::SearchAndReplace});
    commands->addMenu(tools);
    bar->addMenu(commands);

    QMenu* options = registry.addMenu(Menu::OptionsMenu, QStringLiteral("&Options"), bar);
    addItems(options, registry, {Command::ShowFiles});
    QMenu* language = registry.addMenu(Menu::LanguageMenu, QStringLiteral("Language"), options);
    for (Command item : kLanguageCommands)
        language->addAction(registry.action(item));
    options->addMenu(language);
    addItems(options, registry, {kSeparator, Command::ProjectProperties, Command::Settings});
    bar->addMenu(options);

    QMenu* help = registry.addMenu(Menu::HelpMenu, QStringLiteral("&Help"), bar);
    addItems(help, registry,
             {Command::HelpManual, kSeparator, Command::ShowHelpVersion, Command::ShowBrowserVersion, kSeparator});
    QMenu* internet = registry.addMenu(Menu::InternetMenu, QStringLiteral("Internet"), help);
    addItems(internet, registry, {Command::CheckForUpdate, kSeparator, Command::OpenHomepage, Command::SendEmail});
    help->addMenu(internet);
    addItems(help, registry, {kSeparator, Command::About});
    bar->addMenu(help);
}

QMenu* buildItemPopup(ActionRegistry& registry, QWidget* parent)
{
    QMenu* popup = registry.addMenu(Menu::EntryPopup, QString(), parent);
    addItems(popup, registry,
             {Command::PopupPreview, kSeparator, Command::PopupAddTopics, Command::PopupAddHeader, Command::PopupDelete,
              kSeparator});
    QMenu* assign = registry.addMenu(Menu::PopupAssignIconMenu, QStringLiteral("Assign current &icon"), popup);
    addItems(assign, registry,
             {Command::PopupIconToAllHeaders, Command::PopupIconToAllTopics, kSeparator,
              Command::PopupIconToHeadersOfLevel, Command::PopupIconToTopicsOfLevel});
    popup->addMenu(assign);
    addItems(popup, registry,
             {kSeparator, Command::PopupOpenInHtmlEditor, Command::PopupOpenInTextEditor, kSeparator,
              Command::PopupProperties});
    popup->setDefaultAction(registry.action(Command::PopupPreview));
    return popup;
}

QToolBar* buildMainToolBar(ActionRegistry& registry, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    registry.addToolButton(bar, Command::NewProjectButton);
    registry.addToolButton(bar, Command::OpenProjectButton);
    registry.addToolButton(bar, Command::SaveProjectButton);
    bar->addSeparator();
    registry.addToolButton(bar, Command::CompileButton);
    QToolButton* wizard = registry.addToolButton(bar, Command::WizardsButton);
    QMenu* wizards = registry.addMenu(Menu::WizardsMenu, QString(), wizard);
    addItems(wizards, registry, {Command::WizardsTxtToHtml, Command::WizardsSearchAndReplace});
    wizard->setMenu(wizards);
    wizard->setPopupMode(QToolButton::InstantPopup);
    registry.addToolButton(bar, Command::ProjectPropertiesButton);
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
