#pragma once

#include <QString>

#include <cstddef>
#include <optional>

namespace doxel {

// Every command of the main window and its pages, one value per menu item
// or tool button. Each is bound once to the objectName of its action (the
// name of the window's design), so a command is looked up by its value and
// a mistyped name does not compile:
//
//     actions.bind({Command::Delete1, Command::DeleteButton}, this, &ContentsCommands::Delete1Click);
//
// A menu item and the tool button of the same command are two values, as
// they are two controls with their own name and caption.
enum class Command {
    New1,
    OpenProject1,
    Saveproject1,
    Exit1,
    Addtopic1,
    Addheader1,
    Delete1,
    EditwithHTMLEditor2,
    EditwithNotepad1,
    toselecteditem1,
    toalltopics1,
    toallheadersinthislevel1,
    toalltopicsincurrentlevel1,
    Alphabetically1,
    Donotsort1,
    Expandallitems1,
    Collapseallitems1,
    Setasdefaulttopic1,
    Viewlogfile1,
    Launchcompiledfile1,
    Compile1,
    TXTtoHTMLWizard1,
    SearchandReplace1,
    ShowFiles,
    English1,
    Deutsch1,
    French1,
    Spanish1,
    Russian1,
    ProjectProperties1,
    Preferences1,
    Help2,
    HelpVersion,
    IEVersion,
    Update,
    DoxelHomepage,
    SendEmail,
    About1,
    Preview,
    Edit1,
    Edit2,
    Deleteitem,
    toallheader1,
    toalltopics2,
    toallheadersinthislevel2,
    toalltopicsincurrentlevel2,
    EditwithHTMLEditor1,
    EditinNotepad1,
    properties,
    TXTtoHTMLWizard2,
    SearchandReplace2,
    notepad,
    HTMLEditor,
    NewItemButton,
    NewHeaderButton,
    AddKeyw,
    LeftButton,
    RightButton,
    DownButton,
    UpButton,
    Insert,
    DeleteButton,
    EditButton,
    PrevTopicButton,
    RefreshButton,
    NextTopicButton,
    KeyWordButton,
    KeyEditButton,
    KeywUpButton,
    KeywDownButton,
    DelAllKeyw,
    AddKeyButton,
    DelKeyButton,
    SortButton,
    NewButton,
    OpenButton,
    SaveButton,
    CompileButton,
    WizardButton,
    ProjectPropButton,
    AboutButton,
    ImportHelpProject1,
    SaveprojectAs1,
    Undo1,
    Redo1,
    // Add new commands above this line.
    Count
};
inline constexpr std::size_t kCommandCount = std::size_t(Command::Count);

// The menus and sub-menus, looked up the same way.
enum class Menu {
    File1,
    Recent,
    Items1,
    AssignselectedIcon1,
    SortType1,
    Commands1,
    Tools1,
    Options1,
    Language,
    Help1,
    Internet,
    ItemPopup,
    Assigncurrenticon1,
    PopupMenu1,
    PopupMenu2,
    // Add new menus above this line.
    Count
};
inline constexpr std::size_t kMenuCount = std::size_t(Menu::Count);

// The Options > Language items, in the order of kLanguages.
inline constexpr Command kLanguageCommands[] = {Command::English1, Command::Deutsch1, Command::French1,
                                                Command::Spanish1, Command::Russian1};

// The objectName of a command's action or of a menu ("Delete1").
const char* objectName(Command command);
const char* objectName(Menu menu);
// The command or menu of an objectName; nothing for another name.
std::optional<Command> commandNamed(const QString& name);
std::optional<Menu> menuNamed(const QString& name);

}  // namespace doxel
