#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace doxel::test {

// A topic as the help file's system files hold it, in its code page.
struct PlainChmTopic {
    std::string title;
    std::string url;
};

// The smallest help file that search readers open: the container with one
// directory chunk and only the uncompressed section, holding /#TOPICS,
// /#URLTBL, /#URLSTR, /#STRINGS and the given /$FIftiMain. For tests of the
// search index until they run on the compiler's own container.
std::string plainChm(const std::vector<PlainChmTopic>& topics, const std::string& fullTextIndex,
                     std::uint32_t languageId);

}  // namespace doxel::test
