#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace doxel::chm {

// One page of the help file as the search index sees it.
struct FullTextPage {
    std::uint32_t topicIndex;  // its index in #TOPICS; readers show that entry's title and URL
    std::string title;         // UTF-8; its words are the page's title words
    std::string html;          // the page as UTF-8
};

struct FullTextOptions {
    int codePage;              // the help file's code page: 1252, 1251, 932, ...
    std::uint32_t languageId;  // its language: 0x409, 0x419, 0x411, ...
    // The stop list ("Full text search stop list file="), UTF-8: its words,
    // split as the pages' are, are left out of the index.
    std::string stopWords = {};
};

struct FullTextResult {
    std::string data;                // the bytes of /$FIftiMain
    std::vector<std::string> notes;  // for the compile's log, at most a few
    // The words left out because the code page cannot hold them, in the
    // order the pages first hold them (UTF-8).
    std::vector<std::string> lackingWords;
};

// The full-text search index of the pages. The visible text of each page
// (no tags, scripts, styles or comments; character references decoded) is
// split into words of any script, lower-cased for the language and stored
// in the code page; a word the code page cannot hold is left out and the
// notes say so once. Pages may come in any order; pages sharing a topic
// index are read as one. The result depends on the input alone.
// Throws doxel::ConversionError when iconv does not know the code page.
FullTextResult buildFullTextIndex(const std::vector<FullTextPage>& pages, const FullTextOptions& options);

}  // namespace doxel::chm
