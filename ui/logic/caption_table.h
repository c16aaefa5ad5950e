#pragma once

#include <span>

namespace doxel {

// What a caption-table text is put on: a control's caption (menu item, label,
// page tab), a tool button's hint, or a column header of a report list.
enum class CaptionKind { Caption, Hint, Column };

struct CaptionTableRow {
    int id;
    const char* control;  // objectName
    CaptionKind kind = CaptionKind::Caption;
    int column = 0;  // for CaptionKind::Column, counted from 0
};

// The main window's localized captions, applied by ApplyLocalizedCaptions.
// Texts that are not here (the program's name, the language items, the
// recent projects, the title entry) are never localized.
std::span<const CaptionTableRow> captionTable();

}  // namespace doxel
