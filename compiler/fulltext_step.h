#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace doxel::chm {

// A page as the full-text index reads it. TEMPORARY: the fields of
// FullTextPage in compiler/fulltext/fulltext_index.h; when that header is
// merged this struct goes and the header is included here instead.
struct FullTextPage {
    std::uint32_t topicIndex;
    std::string title;
    std::string html;  // the page as UTF-8
};

struct FullTextOutcome {
    bool built = false;  // whether `data` is the help file's /$FIftiMain
    std::string data;
    std::vector<std::string> notes;
};

// The one place the compiler builds its search index.
FullTextOutcome buildSearchIndex(const std::vector<FullTextPage>& pages, int codePage, std::uint32_t languageId);

}  // namespace doxel::chm
