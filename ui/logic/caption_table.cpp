#include "ui/logic/caption_table.h"

namespace doxel {
namespace {

constexpr CaptionKind H = CaptionKind::Hint;
constexpr CaptionKind C = CaptionKind::Column;

constexpr CaptionTableRow kRows[] = {
    {261, "TOCLabel"},
    {262, "PreviewLabel"},
    {263, "IndexLabel"},
    {1, Menu::FileMenu},
    {2, Command::NewProject},
    {3, Command::OpenProject},
    {280, Command::ImportHelpProject},
    {4, Command::SaveProject},
    {289, Command::SaveProjectAs},
    {5, Menu::RecentMenu},
    {6, Command::Exit},
    {7, Menu::ItemsMenu},
    {8, Command::AddTopics},
    {8, Command::PopupAddTopics},
    {9, Command::AddHeader},
    {9, Command::PopupAddHeader},
    {10, Command::DeleteEntry},
    {10, Command::PopupDelete},
    {11, Command::OpenInHtmlEditor},
    {11, Command::PopupOpenInHtmlEditor},
    {12, Command::OpenInTextEditor},
    {12, Command::PopupOpenInTextEditor},
    {13, Menu::AssignIconMenu},
    {13, Menu::PopupAssignIconMenu},
    {14, Command::IconToAllHeaders},
    {14, Command::PopupIconToAllHeaders},
    {15, Command::IconToAllTopics},
    {15, Command::PopupIconToAllTopics},
    {16, Command::ExpandAll},
    {17, Command::CollapseAll},
    {18, Menu::SortMenu},
    {19, Command::SortAlphabetically},
    {20, Command::DoNotSort},
    {21, Menu::CommandsMenu},
    {22, Command::ViewLogFile},
    {23, Command::ViewHelpFile},
    {24, Command::Compile},
    {25, Menu::ToolsMenu},
    {26, Command::TxtToHtmlWizard},
    {26, Command::WizardsTxtToHtml},
    {27, Command::SearchAndReplace},
    {27, Command::WizardsSearchAndReplace},
    {28, Menu::OptionsMenu},
    {29, Command::ShowFiles},
    {30, Menu::LanguageMenu},
    {33, Command::ProjectProperties},
    {34, Command::Settings},
    {35, Menu::HelpMenu},
    {36, Command::HelpManual},
    {37, Command::About},
    {38, Command::MakeDefaultEntry},
    {341, Command::HelpIds},
    {39, Command::PopupProperties},
    {40, Command::PopupPreview},
    {41, Command::IconToTopicsOfLevel},
    {41, Command::PopupIconToTopicsOfLevel},
    {42, Command::IconToHeadersOfLevel},
    {42, Command::PopupIconToHeadersOfLevel},
    {50, Command::NewProjectButton, H},
    {51, Command::OpenProjectButton, H},
    {52, Command::SaveProjectButton, H},
    {53, Command::CompileButton, H},
    {55, Command::WizardsButton, H},
    {56, Command::ProjectPropertiesButton, H},
    {57, Command::AboutButton, H},
    {58, Command::AddTopicsButton, H},
    {59, Command::AddHeaderButton, H},
    {60, Command::MoveLeftButton, H},
    {61, Command::MoveRightButton, H},
    {62, Command::MoveDownButton, H},
    {62, Command::KeywordDownButton, H},
    {63, Command::MoveUpButton, H},
    {63, Command::KeywordUpButton, H},
    {64, Command::AddAsChildButton, H},
    {65, Command::DeleteEntryButton, H},
    {66, Command::EditPageButton, H},
    {67, Command::PreviousTopicButton, H},
    {68, Command::RefreshButton, H},
    {69, Command::NextTopicButton, H},
    {70, Command::KeywordFromSelectionButton, H},
    {71, Command::EditKeywordButton, H},
    {74, Command::DeleteAllKeywordsButton, H},
    {75, Command::AddKeywordButton, H},
    {75, Command::AddKeywordToEntryButton, H},
    {76, Command::DeleteKeywordButton, H},
    {77, Command::SortKeywordsButton, H},
    {80, "TabContents"},
    {82, "TabPreview"},
    {83, "KeyView", C, 0},
    {84, "KeyView", C, 1},
    {85, "FileView", C, 0},
    {86, "FileView", C, 1},
    {87, "TabIndex"},
    {126, Command::ShowHelpVersion},
    {127, Command::ShowBrowserVersion},
    {128, Menu::InternetMenu},
    {129, Command::OpenHomepage},
    {131, Command::SendEmail},
    {132, Command::CheckForUpdate},
    {227, Command::EditInTextEditor},
    {228, Command::EditInHtmlEditor},
};

}  // namespace

const char* CaptionControl::objectName() const
{
    if (command)
        return doxel::objectName(*command);
    if (menu)
        return doxel::objectName(*menu);
    return name;
}

std::span<const CaptionTableRow> captionTable()
{
    return kRows;
}

}  // namespace doxel
