#pragma once

#include <optional>
#include <string>

#include "editing/contents_editor.h"

namespace doxel {

// What the item properties dialog edits for one contents entry: a plain
// value the dialog is filled from and hands back when confirmed.
struct ItemProperties {
    std::string caption;
    int iconRow = -1;        // chooser row; -1 for none
    std::string sourceFile;  // full path; empty for a header
    bool operator==(const ItemProperties&) const = default;
};

// The values the dialog opens with for the selected entry (no chooser row
// for an icon number above 41), or nothing when no entry or the title
// entry is selected: then the command does nothing.
std::optional<ItemProperties> itemPropertiesToEdit(const ContentsEditor& editor);

// The apply step after the dialog was confirmed, for the entry that was
// selected: sets the modified flag; the entry gets the file (a file-list
// row is added when missing; an empty path makes it a header), the icon of
// the chosen row, and the caption as typed (re-sorting its level in
// alphabetical mode); then the selection feedback runs. Without a chosen
// row the icon stays as it was. The default topic and keywords are left
// alone.
void applyItemProperties(ContentsEditor& editor, ContentsEntry& entry, const ItemProperties& values);

// The Open dialog in the project folder; the first chosen
// file if it passes the location test, else the "WARNING" box and
// `current` unchanged. Also `current` when the dialog is cancelled.
std::string chooseSourceFile(EditorDesktop& desktop, const Project& project, const std::string& current,
                             PathStyle style = kNativePathStyle);

inline constexpr const char* kLocationWarningCaption = "WARNING";
// Lines separated by CR LF, none after the last; fixed English text.
extern const char* const kLocationWarningText;

}  // namespace doxel
