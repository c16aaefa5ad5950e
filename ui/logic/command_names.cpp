#include "ui/logic/command_names.h"

#include <utility>

namespace doxel {
namespace {

// Each value with the name of its control in the window's design, in the
// order of the enum.
constexpr std::pair<Command, const char*> kCommandNames[] = {
    {Command::NewProject, "New1"},
    {Command::OpenProject, "OpenProject1"},
    {Command::SaveProject, "Saveproject1"},
    {Command::Exit, "Exit1"},
    {Command::AddTopics, "Addtopic1"},
    {Command::AddHeader, "Addheader1"},
    {Command::DeleteEntry, "Delete1"},
    {Command::OpenInHtmlEditor, "EditwithHTMLEditor2"},
    {Command::OpenInTextEditor, "EditwithNotepad1"},
    {Command::IconToAllHeaders, "toselecteditem1"},
    {Command::IconToAllTopics, "toalltopics1"},
    {Command::IconToHeadersOfLevel, "toallheadersinthislevel1"},
    {Command::IconToTopicsOfLevel, "toalltopicsincurrentlevel1"},
    {Command::SortAlphabetically, "Alphabetically1"},
    {Command::DoNotSort, "Donotsort1"},
    {Command::ExpandAll, "Expandallitems1"},
    {Command::CollapseAll, "Collapseallitems1"},
    {Command::MakeDefaultEntry, "Setasdefaulttopic1"},
    {Command::ViewLogFile, "Viewlogfile1"},
    {Command::ViewHelpFile, "Launchcompiledfile1"},
    {Command::Compile, "Compile1"},
    {Command::TxtToHtmlWizard, "TXTtoHTMLWizard1"},
    {Command::SearchAndReplace, "SearchandReplace1"},
    {Command::ShowFiles, "ShowFiles"},
    {Command::English, "English1"},
    {Command::German, "Deutsch1"},
    {Command::French, "French1"},
    {Command::Spanish, "Spanish1"},
    {Command::Russian, "Russian1"},
    {Command::ProjectProperties, "ProjectProperties1"},
    {Command::Settings, "Preferences1"},
    {Command::HelpManual, "Help2"},
    {Command::ShowHelpVersion, "HelpVersion"},
    {Command::ShowBrowserVersion, "IEVersion"},
    {Command::CheckForUpdate, "Update"},
    {Command::OpenHomepage, "DoxelHomepage"},
    {Command::SendEmail, "SendEmail"},
    {Command::About, "About1"},
    {Command::PopupPreview, "Preview"},
    {Command::PopupAddTopics, "Edit1"},
    {Command::PopupAddHeader, "Edit2"},
    {Command::PopupDelete, "Deleteitem"},
    {Command::PopupIconToAllHeaders, "toallheader1"},
    {Command::PopupIconToAllTopics, "toalltopics2"},
    {Command::PopupIconToHeadersOfLevel, "toallheadersinthislevel2"},
    {Command::PopupIconToTopicsOfLevel, "toalltopicsincurrentlevel2"},
    {Command::PopupOpenInHtmlEditor, "EditwithHTMLEditor1"},
    {Command::PopupOpenInTextEditor, "EditinNotepad1"},
    {Command::PopupProperties, "properties"},
    {Command::WizardsTxtToHtml, "TXTtoHTMLWizard2"},
    {Command::WizardsSearchAndReplace, "SearchandReplace2"},
    {Command::EditInTextEditor, "notepad"},
    {Command::EditInHtmlEditor, "HTMLEditor"},
    {Command::AddTopicsButton, "NewItemButton"},
    {Command::AddHeaderButton, "NewHeaderButton"},
    {Command::AddKeywordToEntryButton, "AddKeyw"},
    {Command::MoveLeftButton, "LeftButton"},
    {Command::MoveRightButton, "RightButton"},
    {Command::MoveDownButton, "DownButton"},
    {Command::MoveUpButton, "UpButton"},
    {Command::AddAsChildButton, "Insert"},
    {Command::DeleteEntryButton, "DeleteButton"},
    {Command::EditPageButton, "EditButton"},
    {Command::PreviousTopicButton, "PrevTopicButton"},
    {Command::RefreshButton, "RefreshButton"},
    {Command::NextTopicButton, "NextTopicButton"},
    {Command::KeywordFromSelectionButton, "KeyWordButton"},
    {Command::EditKeywordButton, "KeyEditButton"},
    {Command::KeywordUpButton, "KeywUpButton"},
    {Command::KeywordDownButton, "KeywDownButton"},
    {Command::DeleteAllKeywordsButton, "DelAllKeyw"},
    {Command::AddKeywordButton, "AddKeyButton"},
    {Command::DeleteKeywordButton, "DelKeyButton"},
    {Command::SortKeywordsButton, "SortButton"},
    {Command::NewProjectButton, "NewButton"},
    {Command::OpenProjectButton, "OpenButton"},
    {Command::SaveProjectButton, "SaveButton"},
    {Command::CompileButton, "CompileButton"},
    {Command::WizardsButton, "WizardButton"},
    {Command::ProjectPropertiesButton, "ProjectPropButton"},
    {Command::AboutButton, "AboutButton"},
    {Command::ImportHelpProject, "ImportHelpProject1"},
    {Command::SaveProjectAs, "SaveprojectAs1"},
    {Command::Undo, "Undo1"},
    {Command::Redo, "Redo1"},
    {Command::HelpIds, "HelpIds1"},
};

constexpr std::pair<Menu, const char*> kMenuNames[] = {
    {Menu::FileMenu, "File1"},
    {Menu::RecentMenu, "Recent"},
    {Menu::ItemsMenu, "Items1"},
    {Menu::AssignIconMenu, "AssignselectedIcon1"},
    {Menu::SortMenu, "SortType1"},
    {Menu::CommandsMenu, "Commands1"},
    {Menu::ToolsMenu, "Tools1"},
    {Menu::OptionsMenu, "Options1"},
    {Menu::LanguageMenu, "Language"},
    {Menu::HelpMenu, "Help1"},
    {Menu::InternetMenu, "Internet"},
    {Menu::EntryPopup, "ItemPopup"},
    {Menu::PopupAssignIconMenu, "Assigncurrenticon1"},
    {Menu::WizardsMenu, "PopupMenu1"},
    {Menu::EditorMenu, "PopupMenu2"},
};

// A table with every value once, in the enum's order, so that a value is
// its row.
template <typename Value, std::size_t count>
constexpr bool complete(const std::pair<Value, const char*> (&names)[count])
{
    if (count != std::size_t(Value::Count))
        return false;
    for (std::size_t n = 0; n < count; ++n) {
        if (names[n].first != static_cast<Value>(n))
            return false;
    }
    return true;
}
static_assert(complete(kCommandNames), "kCommandNames must name every Command in the enum's order");
static_assert(complete(kMenuNames), "kMenuNames must name every Menu in the enum's order");

}  // namespace

const char* objectName(Command command)
{
    return kCommandNames[static_cast<std::size_t>(command)].second;
}

const char* objectName(Menu menu)
{
    return kMenuNames[static_cast<std::size_t>(menu)].second;
}

}  // namespace doxel
