#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// One row of a help file's context table: the number an application asks
// for and the topic it opens, a path inside the help file as stored (in the
// help file's code page, "pages/a.htm#part", usually without a leading
// "/"). The names of help ids are not kept in a help file.
struct HelpContext {
    std::uint32_t number = 0;
    std::string topic;
    bool operator==(const HelpContext&) const = default;
};

// The context table of a help file: "#IVB" (a 32-bit byte count, then pairs
// of 32-bit number and "#STRINGS" offset, little-endian) with its topics
// from "#STRINGS", in stored order. Empty when the help file has none; a row
// whose topic lies outside "#STRINGS" is left out.
std::vector<HelpContext> readContextTable(const CompiledHelpFile& help);
std::vector<HelpContext> readContextTable(std::string_view ivb, std::string_view strings);

}  // namespace doxel
