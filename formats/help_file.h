#pragma once

#include <optional>
#include <string>
#include <vector>

namespace doxel {

// A compiled help file opened for reading, as a help viewer opens it: the
// decompile reads it, the compile checks what it wrote. Paths inside it
// start with "/" ("/pages/intro.htm"); the format's own files ("/#SYSTEM",
// "/#WINDOWS", "/#STRINGS") can be read but are not listed.
class CompiledHelpFile {
public:
    virtual ~CompiledHelpFile() = default;
    // The stored files. A listing may miss some files of a large help file;
    // `contains` finds every one.
    virtual std::vector<std::string> files() const = 0;
    // Whether the file holds `path`, looked up by name as a viewer does.
    virtual bool contains(const std::string& path) const = 0;
    // The bytes of `path`. Throws IoError when the file does not hold it or
    // it cannot be read.
    virtual std::string read(const std::string& path) const = 0;

    // read, with nothing instead of the IoError.
    std::optional<std::string> readIfThere(const std::string& path) const;
};

}  // namespace doxel
