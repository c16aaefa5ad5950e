#include "ui/main/commands.h"

#include <QHash>

#include <array>

namespace doxel {
namespace {

constexpr std::array<const char*, kCommandCount> kCommandNames = {
    "New1",
    "OpenProject1",
    "Saveproject1",
    "Exit1",
    "Addtopic1",
    "Addheader1",
    "Delete1",
    "EditwithHTMLEditor2",
    "EditwithNotepad1",
    "toselecteditem1",
    "toalltopics1",
    "toallheadersinthislevel1",
    "toalltopicsincurrentlevel1",
    "Alphabetically1",
    "Donotsort1",
    "Expandallitems1",
    "Collapseallitems1",
    "Setasdefaulttopic1",
    "Viewlogfile1",
    "Launchcompiledfile1",
    "Compile1",
    "TXTtoHTMLWizard1",
    "SearchandReplace1",
    "ShowFiles",
    "English1",
    "Deutsch1",
    "French1",
    "Spanish1",
    "Russian1",
    "ProjectProperties1",
    "Preferences1",
    "Help2",
    "HelpVersion",
    "IEVersion",
    "Update",
    "DoxelHomepage",
    "HelpDownloads",
    "SendEmail",
    "About1",
    "Preview",
    "Edit1",
    "Edit2",
    "Deleteitem",
    "toallheader1",
    "toalltopics2",
    "toallheadersinthislevel2",
    "toalltopicsincurrentlevel2",
    "EditwithHTMLEditor1",
    "EditinNotepad1",
    "properties",
    "TXTtoHTMLWizard2",
    "SearchandReplace2",
    "notepad",
    "HTMLEditor",
    "NewItemButton",
    "NewHeaderButton",
    "AddKeyw",
    "LeftButton",
    "RightButton",
    "DownButton",
    "UpButton",
    "Insert",
    "DeleteButton",
    "EditButton",
    "PrevTopicButton",
    "RefreshButton",
    "NextTopicButton",
    "KeyWordButton",
    "KeyEditButton",
    "KeywUpButton",
    "KeywDownButton",
    "DelAllKeyw",
    "AddKeyButton",
    "DelKeyButton",
    "SortButton",
    "NewButton",
    "OpenButton",
    "SaveButton",
    "CompileButton",
    "WizardButton",
    "ProjectPropButton",
    "AboutButton",
};

constexpr std::array<const char*, kMenuCount> kMenuNames = {
    "File1",
    "Recent",
    "Items1",
    "AssignselectedIcon1",
    "SortType1",
    "Commands1",
    "Tools1",
    "Options1",
    "Language",
    "Help1",
    "Internet",
    "ItemPopup",
    "Assigncurrenticon1",
    "PopupMenu1",
    "PopupMenu2",
};

template <typename Value, std::size_t count>
std::optional<Value> lookUp(const std::array<const char*, count>& names, const QString& name)
{
    static const QHash<QString, Value> byName = [&names] {
        QHash<QString, Value> all;
        for (std::size_t n = 0; n < count; ++n)
            all.insert(QString::fromLatin1(names[n]), static_cast<Value>(n));
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
    return kCommandNames.at(static_cast<std::size_t>(command));
}

const char* objectName(Menu menu)
{
    return kMenuNames.at(static_cast<std::size_t>(menu));
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
