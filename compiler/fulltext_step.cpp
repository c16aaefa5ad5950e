#include "compiler/fulltext_step.h"

namespace doxel::chm {

// TEMPORARY STUB until compiler/fulltext/ (buildFullTextIndex, library
// doxel_fulltext) is merged: no /$FIftiMain is written and #SYSTEM says
// search is off. At the merge this becomes a call of buildFullTextIndex with
// FullTextOptions{codePage, languageId}, FullTextPage moves to its header,
// and `built` is true when its data is not empty.
FullTextOutcome buildSearchIndex(const std::vector<FullTextPage>& pages, int /*codePage*/, std::uint32_t /*languageId*/)
{
    FullTextOutcome outcome;
    if (!pages.empty())
        outcome.notes.push_back("This build has no full-text search yet; the help file is compiled without it");
    return outcome;
}

}  // namespace doxel::chm
