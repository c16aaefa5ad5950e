#pragma once

#include <string>
#include <vector>

namespace doxel {

// A compiled help file's stored files, as the decompile reads them. Paths
// start with "/" ("/pages/intro.htm"); the format's own files ("/#SYSTEM",
// "/#WINDOWS", "/#STRINGS") can be read but are not listed.
class HelpArchive {
public:
    virtual ~HelpArchive() = default;
    // The stored files. A listing may miss some files of a large help file;
    // `contains` finds every one.
    virtual std::vector<std::string> files() const = 0;
    virtual bool contains(const std::string& path) const = 0;
    // Throws IoError when the file is not there or cannot be read.
    virtual std::string read(const std::string& path) const = 0;
};

}  // namespace doxel
