#pragma once

#include <string>
#include <vector>

#include "core/desktop.h"

namespace doxel {

// The program's "Notepad" on Linux: the desktop's default application for
// plain text (through GIO), or, when that one runs in a terminal, the first
// text application that does not; a terminal editor (vim) only when there
// is no other, run in x-terminal-emulator or xterm. The result is the
// command that opens `file`: program first, then its arguments. Empty when
// the desktop has no such application.
std::vector<std::string> textEditorCommand(const std::string& file);

// Opens `file` in the desktop's text editor, started through the desktop
// interface. False when the desktop has no editor that shows in a window
// or it could not be started: the caller shows the file itself.
bool openInTextEditor(Desktop& desktop, const std::string& file);

// The command of a desktop entry's Exec line, already split into words,
// for one local file: a file or URL field code (%f %F %u %U, alone or
// inside a word) becomes the file, "%%" a "%", the codes for icon, name and
// entry file (%i %c %k) drop out with their word, and other codes vanish.
// Without a file code the file goes last.
//
//     {"gedit", "--new-window", "%U"}  ->  {"gedit", "--new-window", FILE}
//     {"mousepad"}                     ->  {"mousepad", FILE}
std::vector<std::string> expandExecWords(const std::vector<std::string>& words, const std::string& file);

}  // namespace doxel
