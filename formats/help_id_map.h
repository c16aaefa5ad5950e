#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/help_project_reader.h"

namespace doxel {

// One line of a C header that matters to help ids: a "#define NAME NUMBER"
// or an "#include FILE".
struct HelpIdHeaderLine {
    int line = 0;
    std::string name;          // the defined name; empty for an include
    std::uint32_t number = 0;  // 1 to kMaxHelpIdNumber
    std::string include;       // the included file as written, quotes removed
};

struct HelpIdHeader {
    std::vector<HelpIdHeaderLine> lines;  // in text order
    std::vector<SitemapNote> notes;       // defines that give no help id, and why
};

// Reads the help ids of a C header or of a help project's [MAP] section:
// "#define IDH_X 1001", "#define IDH_Y 0x3EA", "#define IDH_Z (1003)",
// comments "//", "/* */" (across lines) and ";". Other preprocessor lines
// and C code are passed over; with `strict` (a [MAP] section, which holds
// nothing else) they get a note. Never throws.
HelpIdHeader readHelpIdHeader(std::string_view text, bool strict = false);

// A help id as a help project states it: its number from [MAP], its topic
// from [ALIAS] as written there (UTF-8, "pages\a.htm#part").
struct HelpIdEntry {
    std::string name;
    std::uint32_t number = 0;
    std::string topic;
    bool operator==(const HelpIdEntry&) const = default;
};

struct HelpIdDefinitions {
    std::vector<HelpIdEntry> ids;    // in the order of [MAP]
    std::vector<std::string> notes;  // "ids.h, line 3: ...": what was left out, and why
};

// Every help id of a help project whose [MAP] and [ALIAS] sections it holds,
// following their "#include" lines to files relative to the including file's
// folder or `folder` (the help project's), at most a few levels deep and
// never in a loop. A name needs both a number and a topic to give a help id;
// each name and each number gives at most one, the first. `label` names the
// help project in notes. Never throws.
HelpIdDefinitions readHelpIds(const HelpProjectFile& project, const std::string& folder, const std::string& label);

}  // namespace doxel
