#pragma once

#include <optional>
#include <span>

#include "ui/logic/command_names.h"

namespace doxel {

// What a caption-table text is put on: a control's caption (menu item, label,
// page tab), a tool button's hint, or a column header of a report list.
enum class CaptionKind { Caption, Hint, Column };

// What a text is put on: a command's action, a menu, or another control of
// the main window by its objectName (a label, a page tab, a list).
struct CaptionControl {
    constexpr CaptionControl(Command value) : command(value) {}
    constexpr CaptionControl(Menu value) : menu(value) {}
    constexpr CaptionControl(const char* objectName) : name(objectName) {}

    std::optional<Command> command;
    std::optional<Menu> menu;
    const char* name = nullptr;

    // The control's objectName ("Delete1", "TOCLabel").
    const char* objectName() const;
};

struct CaptionTableRow {
    int id;
    CaptionControl control;
    CaptionKind kind = CaptionKind::Caption;
    int column = 0;  // for CaptionKind::Column, counted from 0
};

// The main window's localized captions, applied by applyLocalizedCaptions.
// Texts that are not here (the program's name, the language items, the
// recent projects, the title entry) are never localized.
std::span<const CaptionTableRow> captionTable();

}  // namespace doxel
