#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editing/contents_editor.h"
#include "editing/help_id_list.h"

namespace doxel {

// What the item properties dialog edits for one contents entry: a plain
// value the dialog is filled from and hands back when confirmed.
struct ItemProperties {
    std::string caption;
    int iconRow = -1;        // chooser row; -1 for none
    std::string sourceFile;  // full path; empty for a header
    // The topic's first help id, the number as typed; both empty when it
    // has none, and emptying both deletes it.
    std::string helpIdName = {};
    std::string helpIdNumber = {};
    // What the dialog proposes as the number once a name is typed for a
    // topic without a help id; not edited.
    std::uint32_t proposedHelpIdNumber = 0;
    bool operator==(const ItemProperties&) const = default;
};

// The values the dialog opens with for the selected entry (no chooser row
// for an icon number above 41), or nothing when no entry or the title
// entry is selected: then the command does nothing.
std::optional<ItemProperties> itemPropertiesToEdit(const ContentsEditor& editor);

// Whether the help id of `values` may be applied to `entry`: nothing when
// it may (also when it was left as it was), else why not (checkHelpId's
// rules, and a new help id needs a topic file).
std::optional<HelpIdRefusal> checkItemProperties(const ContentsEditor& editor, const ContentsEntry& entry,
                                                 const ItemProperties& values);

// The apply step after the dialog was confirmed, for the entry that was
// selected, as one undo step: sets the modified flag; the entry gets the
// file (a file-list row is added when missing; an empty path makes it a
// header) and its help ids go with it (carryHelpIds), the icon of the
// chosen row, the caption as typed (re-sorting its level in alphabetical
// mode) and the help id (the topic's first one changed or deleted, or a
// new one for its topic); then the selection feedback runs. Without a
// chosen row the icon stays as it was. The default topic and keywords are
// left alone. A help id checkItemProperties refuses applies nothing and
// comes back as the refusal.
std::optional<HelpIdRefusal> applyItemProperties(ContentsEditor& editor, ContentsEntry& entry,
                                                 const ItemProperties& values);

// The Open dialog in the project folder; the first chosen
// file if it passes the location test, else the "WARNING" box and
// `current` unchanged. Also `current` when the dialog is cancelled.
std::string chooseSourceFile(EditorDesktop& desktop, const Project& project, const std::string& current,
                             PathStyle style = kNativePathStyle);

inline constexpr const char* kLocationWarningCaption = "WARNING";
// Lines separated by CR LF, none after the last; fixed English text.
extern const char* const kLocationWarningText;

}  // namespace doxel
