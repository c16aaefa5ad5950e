#pragma once

#include <cstddef>

namespace doxel {

// Every command of the main window and its pages, one value per menu item
// or tool button, named for what it does. Each is bound once to the
// objectName of its action, the control's name in the window's design
// ("Delete1", "toselecteditem1"), so a command is looked up by its value
// and a mistyped name does not compile:
//
//     actions.bind({Command::DeleteEntry, Command::DeleteEntryButton}, this, &ContentsCommands::deleteEntry);
//
// A menu item and the tool button of the same command are two values, as
// they are two controls with their own name and caption; the items of the
// tree's pop-up menu are the Popup values.
enum class Command {
    NewProject,
    OpenProject,
    SaveProject,
    Exit,
    AddTopics,
    AddHeader,
    DeleteEntry,
    OpenInHtmlEditor,
    OpenInTextEditor,
    IconToAllHeaders,
    IconToAllTopics,
    IconToHeadersOfLevel,
    IconToTopicsOfLevel,
    SortAlphabetically,
    DoNotSort,
    ExpandAll,
    CollapseAll,
    MakeDefaultEntry,
    ViewLogFile,
    ViewHelpFile,
    Compile,
    TxtToHtmlWizard,
    SearchAndReplace,
    ShowFiles,
    English,
    German,
    French,
    Spanish,
    Russian,
    ProjectProperties,
    Settings,
    HelpManual,
    ShowHelpVersion,
    ShowBrowserVersion,
    CheckForUpdate,
    OpenHomepage,
    SendEmail,
    About,
    PopupPreview,
    PopupAddTopics,
    PopupAddHeader,
    PopupDelete,
    PopupIconToAllHeaders,
    PopupIconToAllTopics,
    PopupIconToHeadersOfLevel,
    PopupIconToTopicsOfLevel,
    PopupOpenInHtmlEditor,
    PopupOpenInTextEditor,
    PopupProperties,
    WizardsTxtToHtml,
    WizardsSearchAndReplace,
    EditInTextEditor,
    EditInHtmlEditor,
    AddTopicsButton,
    AddHeaderButton,
    AddKeywordToEntryButton,
    MoveLeftButton,
    MoveRightButton,
    MoveDownButton,
    MoveUpButton,
    AddAsChildButton,
    DeleteEntryButton,
    EditPageButton,
    PreviousTopicButton,
    RefreshButton,
    NextTopicButton,
    KeywordFromSelectionButton,
    EditKeywordButton,
    KeywordUpButton,
    KeywordDownButton,
    DeleteAllKeywordsButton,
    AddKeywordButton,
    DeleteKeywordButton,
    SortKeywordsButton,
    NewProjectButton,
    OpenProjectButton,
    SaveProjectButton,
    CompileButton,
    WizardsButton,
    ProjectPropertiesButton,
    AboutButton,
    ImportHelpProject,
    SaveProjectAs,
    Undo,
    Redo,
    HelpIds,
    // Add new commands above this line.
    Count
};
inline constexpr std::size_t kCommandCount = std::size_t(Command::Count);

// The menus and sub-menus, looked up the same way.
enum class Menu {
    FileMenu,
    RecentMenu,
    ItemsMenu,
    AssignIconMenu,
    SortMenu,
    CommandsMenu,
    ToolsMenu,
    OptionsMenu,
    LanguageMenu,
    HelpMenu,
    InternetMenu,
    EntryPopup,
    PopupAssignIconMenu,
    WizardsMenu,
    EditorMenu,
    // Add new menus above this line.
    Count
};
inline constexpr std::size_t kMenuCount = std::size_t(Menu::Count);

// The Options > Language items, in the order of kLanguages.
inline constexpr Command kLanguageCommands[] = {Command::English, Command::German, Command::French, Command::Spanish,
                                                Command::Russian};

// The objectName of a command's action or of a menu, the name of the
// window's design ("Delete1" for Command::DeleteEntry).
const char* objectName(Command command);
const char* objectName(Menu menu);

}  // namespace doxel
