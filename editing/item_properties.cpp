#include "editing/item_properties.h"

#include "core/help_ids.h"
#include "editing/topic_files.h"

namespace doxel {

const char* const kLocationWarningText =
    "The file you specified could not be added to your project, because\r\n"
    "their location does not corrispond to what the HTML Help compiler expects.\r\n"
    "Please follow these simple rules when specifying topic files:\r\n"
    "\r\n"
    "The topic files (HTML files) must be located either\r\n"
    "- in the same folder as the project file\r\n"
    "- in a subfolder of the project file\r\n"
    "- on a different drive\r\n"
    "\r\n"
    "For more details on how HTML Help handles paths, please refer\r\n"
    "to the help file.";

std::optional<ItemProperties> itemPropertiesToEdit(const ContentsEditor& editor)
{
    const ContentsEntry* entry = editor.selected();
    if (entry == nullptr || editor.project().isTitleEntry(entry))
        return std::nullopt;
    ItemProperties values;
    values.caption = entry->caption;
    values.iconRow = (entry->iconNumber >= 0 && entry->iconNumber <= kLastChoosableIcon) ? entry->iconNumber : -1;
    values.sourceFile = entry->topicFile;
    const Project& project = editor.project();
    if (const std::optional<std::size_t> first = firstHelpIdOf(project, entry->topicFile)) {
        values.helpIdName = project.helpIds[*first].name;
        values.helpIdNumber = std::to_string(project.helpIds[*first].number);
    }
    values.proposedHelpIdNumber = nextFreeHelpIdNumber(project.helpIds);
    return values;
}

namespace {

bool helpIdCleared(const ItemProperties& values)
{
    return values.helpIdName.find_first_not_of(" \t") == std::string::npos &&
           values.helpIdNumber.find_first_not_of(" \t") == std::string::npos;
}

// Whether the field still shows the help id `id` (as it opened, or the
// number typed another way).
bool helpIdKept(const ItemProperties& values, const HelpId& id)
{
    return helpIdFrom({values.helpIdName, values.helpIdNumber, id.topicFile}) == id;
}

}  // namespace

std::optional<HelpIdRefusal> checkItemProperties(const ContentsEditor& editor, const ContentsEntry& entry,
                                                 const ItemProperties& values)
{
    if (helpIdCleared(values))
        return std::nullopt;
    const Project& project = editor.project();
    const std::optional<std::size_t> first = firstHelpIdOf(project, entry.topicFile);
    HelpIdInput input{values.helpIdName, values.helpIdNumber, {}};
    if (first) {
        // An id read from a file is left alone as long as the author does
        // not touch it, whatever it holds.
        if (helpIdKept(values, project.helpIds[*first]))
            return std::nullopt;
        input.topicFile = project.helpIds[*first].topicFile;
    } else if (!values.sourceFile.empty()) {
        input.topicFile = topicPathOf(values.sourceFile, editor.pathStyle());
    }
    return checkHelpId(project, input, first);
}

std::optional<HelpIdRefusal> applyItemProperties(ContentsEditor& editor, ContentsEntry& entry,
                                                 const ItemProperties& values)
{
    if (std::optional<HelpIdRefusal> refusal = checkItemProperties(editor, entry, values))
        return refusal;
    EditStep step(editor.history(), text_id::kStepProperties, EditParts::Contents);
    Project& project = editor.project();
    project.modified = true;
    const std::string oldTopic = entry.topicFile;
    // Carrying changes the ids in place, so the index stays the shown id's.
    const std::optional<std::size_t> first = firstHelpIdOf(project, oldTopic);
    editor.setTopicFile(entry, values.sourceFile);
    carryHelpIds(project, oldTopic, entry.topicFile);
    // No row would otherwise give 255, a number no project file can hold.
    if (values.iconRow >= 0 && values.iconRow <= kLastChoosableIcon)
        editor.setIconNumber(entry, values.iconRow);
    editor.renameEntry(entry, values.caption);

    if (first) {
        HelpId& id = project.helpIds[*first];
        if (helpIdCleared(values))
            project.helpIds.erase(project.helpIds.begin() + static_cast<std::ptrdiff_t>(*first));
        else if (!helpIdKept(values, id))
            id = helpIdFrom({values.helpIdName, values.helpIdNumber, id.topicFile});
    } else if (!helpIdCleared(values)) {
        project.helpIds.push_back(helpIdFrom({values.helpIdName, values.helpIdNumber, entry.topicFile}));
    }
    editor.refreshFeedback();
    return std::nullopt;
}

std::string chooseSourceFile(EditorDesktop& desktop, const Project& project, const std::string& current,
                             PathStyle style)
{
    const std::vector<std::string> files = desktop.chooseTopicFiles(std::string(folderOf(project.projectFile, style)));
    if (files.empty())
        return current;
    if (!topicFileStorable(files.front(), style)) {
        desktop.beep();
        desktop.showFixedMessage(MessageIcon::Warning, kTopicFileRefusedCaption,
                                 topicFilesRefusedText({files.front()}, style));
        return current;
    }
    if (topicLocationAllowed(files.front(), project.projectFile, style))
        return files.front();
    desktop.showFixedMessage(MessageIcon::Warning, kLocationWarningCaption, kLocationWarningText);
    return current;
}

}  // namespace doxel
