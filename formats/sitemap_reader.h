#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text_encoding.h"

namespace doxel {

// One object of type "text/sitemap" in a contents (.hhc) or index (.hhk)
// file.
struct SitemapEntry {
    int level = 0;      // the lists around it, less one: 0 in the top list
    std::string name;   // the first "Name" value, entities decoded
    std::string local;  // the first "Local" value ("pages/a.htm#part"), entities decoded
    // The "Local" values of further "Name"/"Local" pairs of the same object
    // (an index entry that leads to several topics).
    std::vector<std::string> moreLocals;
    int imageNumber = -1;  // "ImageNumber"; -1 when absent or not a number
    int line = 1;          // where the object begins
};

struct SitemapNote {
    int line;
    std::string text;
};

struct Sitemap {
    std::vector<SitemapEntry> entries;  // in file order
    std::vector<SitemapNote> notes;     // what was not taken over, and why
    // The params of its "text/site properties" objects ("Window Styles",
    // "Font", ...), names as written, in order.
    std::vector<std::pair<std::string, std::string>> properties;
    std::string encoding;  // what the bytes were read as: "UTF-8", "CP1251"
};

// Reads a contents or index file as tolerantly as browsers and viewers do:
// tags and attributes in any letter case, unclosed <LI> and <OBJECT>,
// objects on one line or many, parameters in any order, values in double,
// single or no quotes, comments, named and numeric entities. The bytes are
// UTF-8 (with or without byte order mark), UTF-16 with its mark, the
// character set a <meta> tag declares, or else `projectCodePage` (from the
// help project's "Language=", may be null), or else Windows-1252.
// "Keyword" (Sphinx's index) counts as "Name". "Merge", "URL" and "See
// Also" parameters become notes, except a "See Also" naming its own entry,
// which only gathers sub-keywords.
// Throws FormatError naming `fileName` and the line when the bytes are not
// text at all.
Sitemap readSitemap(std::string_view bytes, const CodePage* projectCodePage, const std::string& fileName);

// The entries of a sitemap as readSitemap finds them, their values as
// written: neither converted from their code page nor their character
// references decoded, for a reader that does both by the rules of a
// compiled help file (its language's code page). `encoding` stays empty.
Sitemap readSitemapAsWritten(std::string_view text, const std::string& fileName = {});

// The iconv name of the encoding readSitemap would read `bytes` in.
std::string sitemapEncoding(std::string_view bytes, const CodePage* projectCodePage);

}  // namespace doxel
