#include "editing/item_properties.h"

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
    return values;
}

void applyItemProperties(ContentsEditor& editor, ContentsEntry& entry, const ItemProperties& values)
{
    EditStep step(editor.history(), text_id::kStepProperties, EditParts::Contents);
    editor.project().modified = true;
    editor.setTopicFile(entry, values.sourceFile);
    // No row would otherwise give 255, a number no project file can hold.
    if (values.iconRow >= 0 && values.iconRow <= kLastChoosableIcon)
        editor.setIconNumber(entry, values.iconRow);
    editor.renameEntry(entry, values.caption);
    editor.refreshFeedback();
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
