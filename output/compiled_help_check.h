#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/help_id_map.h"
#include "formats/system_file.h"
#include "output/compiler_library.h"

namespace doxel {

// One "Local" value of a sitemap (.hhc, .hhk) and the first "Name" of the
// same entry, both as written (entities and code page not decoded).
struct SitemapLink {
    std::string name;
    std::string local;
};
std::vector<SitemapLink> sitemapLinks(std::string_view text);

// A "Local" value as a viewer reads it: decoded from `codePage` to UTF-8 and
// its HTML character references decoded; "%XX" escapes, anchor and query
// kept, as a URL.
std::string decodedLocal(std::string_view local, const std::string& codePage);

// The stored file a "Local" value leads a viewer to: the value decoded from
// `codePage` to UTF-8, its HTML character references decoded, anchor and
// query dropped, made absolute inside the help file ("pages/a.htm#x" gives
// "/pages/a.htm"). Empty for addresses and other help files, which are not
// looked up inside this one, and for a value that only names an anchor.
std::string storedPathOfLocal(std::string_view local, const std::string& codePage);

// Checks a compiled help file the way a viewer opens it: each contents
// entry, each keyword, the default topic, the files of each help window
// (default topic, home page, Jump 1 and Jump 2) and every local link,
// picture and other file of each stored page must lead to a file the help
// file holds, looked up by name. Returns a warning line for each one that
// leads nowhere, naming it and its target. The contents and index are the
// files "#SYSTEM" names (else `contentsFile` and `indexFile`, file names at
// the top of the help file); `codePage` is the iconv name of the help
// file's code page, in which viewers read its texts and pages, empty to take
// it from the language "#SYSTEM" states. Contents and index values and pages
// are HTML, the default topic and the window's files are not: their
// character references stay as they are. `reportedBefore` tells the targets
// of pages' references that the checks before the compile named already
// (relative to the project folder, "/" separated, ".." where a link leads
// above it), and the pages of contents entries and keywords they found
// missing: they are not named again. `tick`, when given, is called for
// every entry and page checked.
std::vector<std::string> checkHelpFileLinks(const CompiledHelpFile& help, const std::string& contentsFile,
                                            const std::string& indexFile, std::string codePage = {},
                                            const std::function<void()>& tick = {},
                                            const std::function<bool(std::string_view)>& reportedBefore = {});

// Checks that an application can open the help file at each of `ids` (a
// help project's help ids): its number must be in the help file's context
// table, leading to its topic (compared as paths inside the help file), and
// the help file must hold that topic's file. Returns a warning line for each
// help id that fails, at most `shown` of them and then their count.
// `codePage` as for checkHelpFileLinks.
std::vector<std::string> checkHelpIdTable(const CompiledHelpFile& help, const std::vector<HelpIdEntry>& ids,
                                          std::string codePage = {}, std::size_t shown = 20);

}  // namespace doxel
