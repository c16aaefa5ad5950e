#include "ui/main/commands.h"

#include <QHash>

#include <utility>

namespace doxel {
namespace {

// Each value with its objectName, in the order of the enum.
constexpr std::pair<Command, const char*> kCommandNames[] = {
    {Command::New1, "New1"},
    {Command::OpenProject1, "OpenProject1"},
    {Command::Saveproject1, "Saveproject1"},
    {Command::Exit1, "Exit1"},
    {Command::Addtopic1, "Addtopic1"},
    {Command::Addheader1, "Addheader1"},
    {Command::Delete1, "Delete1"},
    {Command::EditwithHTMLEditor2, "EditwithHTMLEditor2"},
    {Command::EditwithNotepad1, "EditwithNotepad1"},
    {Command::toselecteditem1, "toselecteditem1"},
    {Command::toalltopics1, "toalltopics1"},
    {Command::toallheadersinthislevel1, "toallheadersinthislevel1"},
    {Command::toalltopicsincurrentlevel1, "toalltopicsincurrentlevel1"},
    {Command::Alphabetically1, "Alphabetically1"},
    {Command::Donotsort1, "Donotsort1"},
    {Command::Expandallitems1, "Expandallitems1"},
    {Command::Collapseallitems1, "Collapseallitems1"},
    {Command::Setasdefaulttopic1, "Setasdefaulttopic1"},
    {Command::Viewlogfile1, "Viewlogfile1"},
    {Command::Launchcompiledfile1, "Launchcompiledfile1"},
    {Command::Compile1, "Compile1"},
    {Command::TXTtoHTMLWizard1, "TXTtoHTMLWizard1"},
    {Command::SearchandReplace1, "SearchandReplace1"},
    {Command::ShowFiles, "ShowFiles"},
    {Command::English1, "English1"},
    {Command::Deutsch1, "Deutsch1"},
    {Command::French1, "French1"},
    {Command::Spanish1, "Spanish1"},
    {Command::Russian1, "Russian1"},
    {Command::ProjectProperties1, "ProjectProperties1"},
    {Command::Preferences1, "Preferences1"},
    {Command::Help2, "Help2"},
    {Command::HelpVersion, "HelpVersion"},
    {Command::IEVersion, "IEVersion"},
    {Command::Update, "Update"},
    {Command::DoxelHomepage, "DoxelHomepage"},
    {Command::SendEmail, "SendEmail"},
    {Command::About1, "About1"},
    {Command::Preview, "Preview"},
    {Command::Edit1, "Edit1"},
    {Command::Edit2, "Edit2"},
    {Command::Deleteitem, "Deleteitem"},
    {Command::toallheader1, "toallheader1"},
    {Command::toalltopics2, "toalltopics2"},
    {Command::toallheadersinthislevel2, "toallheadersinthislevel2"},
    {Command::toalltopicsincurrentlevel2, "toalltopicsincurrentlevel2"},
    {Command::EditwithHTMLEditor1, "EditwithHTMLEditor1"},
    {Command::EditinNotepad1, "EditinNotepad1"},
    {Command::properties, "properties"},
    {Command::TXTtoHTMLWizard2, "TXTtoHTMLWizard2"},
    {Command::SearchandReplace2, "SearchandReplace2"},
    {Command::notepad, "notepad"},
    {Command::HTMLEditor, "HTMLEditor"},
    {Command::NewItemButton, "NewItemButton"},
    {Command::NewHeaderButton, "NewHeaderButton"},
    {Command::AddKeyw, "AddKeyw"},
    {Command::LeftButton, "LeftButton"},
    {Command::RightButton, "RightButton"},
    {Command::DownButton, "DownButton"},
    {Command::UpButton, "UpButton"},
    {Command::Insert, "Insert"},
    {Command::DeleteButton, "DeleteButton"},
    {Command::EditButton, "EditButton"},
    {Command::PrevTopicButton, "PrevTopicButton"},
    {Command::RefreshButton, "RefreshButton"},
    {Command::NextTopicButton, "NextTopicButton"},
    {Command::KeyWordButton, "KeyWordButton"},
    {Command::KeyEditButton, "KeyEditButton"},
    {Command::KeywUpButton, "KeywUpButton"},
    {Command::KeywDownButton, "KeywDownButton"},
    {Command::DelAllKeyw, "DelAllKeyw"},
    {Command::AddKeyButton, "AddKeyButton"},
    {Command::DelKeyButton, "DelKeyButton"},
    {Command::SortButton, "SortButton"},
    {Command::NewButton, "NewButton"},
    {Command::OpenButton, "OpenButton"},
    {Command::SaveButton, "SaveButton"},
    {Command::CompileButton, "CompileButton"},
    {Command::WizardButton, "WizardButton"},
    {Command::ProjectPropButton, "ProjectPropButton"},
    {Command::AboutButton, "AboutButton"},
    {Command::ImportHelpProject1, "ImportHelpProject1"},
    {Command::SaveprojectAs1, "SaveprojectAs1"},
    {Command::Undo1, "Undo1"},
    {Command::Redo1, "Redo1"},
};

constexpr std::pair<Menu, const char*> kMenuNames[] = {
    {Menu::File1, "File1"},
    {Menu::Recent, "Recent"},
    {Menu::Items1, "Items1"},
    {Menu::AssignselectedIcon1, "AssignselectedIcon1"},
    {Menu::SortType1, "SortType1"},
    {Menu::Commands1, "Commands1"},
    {Menu::Tools1, "Tools1"},
    {Menu::Options1, "Options1"},
    {Menu::Language, "Language"},
    {Menu::Help1, "Help1"},
    {Menu::Internet, "Internet"},
    {Menu::ItemPopup, "ItemPopup"},
    {Menu::Assigncurrenticon1, "Assigncurrenticon1"},
    {Menu::PopupMenu1, "PopupMenu1"},
    {Menu::PopupMenu2, "PopupMenu2"},
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

template <typename Value, std::size_t count>
std::optional<Value> lookUp(const std::pair<Value, const char*> (&names)[count], const QString& name)
{
    static const QHash<QString, Value> byName = [&names] {
        QHash<QString, Value> all;
        for (const auto& [value, objectName] : names)
            all.insert(QString::fromLatin1(objectName), value);
        return all;
    }();
    const auto found = byName.constFind(name);
    if (found == byName.constEnd())
        return std::nullopt;
    return *found;
}

}  // namespace

const char* objectName(Command command)
{
    return kCommandNames[static_cast<std::size_t>(command)].second;
}

const char* objectName(Menu menu)
{
    return kMenuNames[static_cast<std::size_t>(menu)].second;
}

std::optional<Command> commandNamed(const QString& name)
{
    return lookUp<Command>(kCommandNames, name);
}

std::optional<Menu> menuNamed(const QString& name)
{
    return lookUp<Menu>(kMenuNames, name);
}

}  // namespace doxel
