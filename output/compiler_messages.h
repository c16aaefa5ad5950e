#pragma once

#include <string>
#include <string_view>

#include "output/help_file_check.h"

namespace doxel {

enum class MessageKind { Plain, Note, Warning, Error };

// What a message line counts as: "Warning:" and "Error:" at its start make
// it a warning or an error, "Note:" a note, anything else is plain text.
MessageKind messageKindOf(std::string_view line);

struct CompilerMessage {
    MessageKind kind;
    std::string text;
};

// One line printed by chmcmd, as the log shows and counts it. Two of its
// reports are known to be wrong and are checked against the project before
// they count:
//  - "Error: Anchor <page>#<name> undefined; first use <file>": chmcmd 3.2.2
//    says this of every anchor in a page of a subfolder, and names the
//    folder alone for a "#name" link within such a page. When the page
//    defines the anchor the line becomes a note; otherwise it stays an
//    error, naming the page in full.
//  - "Warning: Found file <target> while scanning <page>, but couldn't find
//    it on disk": the check of the pages already reported that target with
//    page and link, or the target is a folder that chmcmd made of a "#name"
//    link; such a line becomes a note so that no problem counts twice.
// Every other line is passed unchanged.
CompilerMessage interpretChmcmdLine(std::string_view line, HelpFileCheck& check);

// Whether interpretChmcmdLine needs the finished page scan of `check` to
// judge the line (the two reports above); every other line can be shown as
// soon as it comes.
bool needsPageScan(std::string_view line);

}  // namespace doxel
