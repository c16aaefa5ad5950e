#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace doxel::chm {

// A keyword as the index file or a page states it, in the order read.
struct KeywordEntry {
    int level = 0;                      // 0 at the top; a sub-keyword belongs to the last keyword above it
    std::string name;                   // UTF-8
    std::vector<std::uint32_t> topics;  // rows of #TOPICS
};

// The four files of a binary keyword index ($WWKeywordLinks/ or
// $WWAssociativeLinks/): "BTree", "Data", "Map" and "Property".
struct KeywordLinks {
    std::string btree;
    std::string data;
    std::string map;
    std::string property;
    std::vector<std::string> notes;  // what had to be shortened, and why
    std::size_t keywordCount = 0;
};

// Builds the binary index of `entries`. Keywords of one name (letter case
// aside) under the same keyword are one keyword holding every topic of
// them, each topic once; sub-keywords stay below their keyword. Keywords are
// sorted by name, letter case aside, each followed by its own sub-keywords.
//
// BTree: a 76-byte header, then 2 KB listing blocks (u16 bytes left at the
// end, u16 keyword count, u32 previous and next block, -1 for none) of
// keywords: the full name in UTF-16 ("Parent, Child") ending in 0, u16 0
// (not a See Also), u16 level, u32 where the last name starts in it (0 at
// the top), u32 0, u32 topic count, u32 per topic, u32 1, u32 the keyword's
// offset in Data. Above more than one listing block, index blocks name the
// first keyword of each block below. Data: 13 bytes per keyword; Map: per
// listing block the number of keywords before it and its number.
KeywordLinks buildKeywordLinks(const std::vector<KeywordEntry>& entries, std::uint32_t codePage,
                               std::uint32_t languageId);

// What a page's index objects (<OBJECT type="application/x-oleobject"
// classid="clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e">) carry: "Keyword"
// params (KLinks, for the keyword index) and "ALink Name" params (ALinks),
// each value split at ";", in UTF-8 as the page is given.
struct PageKeywords {
    std::vector<std::string> keywords;
    std::vector<std::string> associativeLinks;
};
PageKeywords pageKeywords(std::string_view html);

}  // namespace doxel::chm
