#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/errors.h"
#include "formats/help_file.h"

namespace doxel::test {

// A help file held in memory, by stored name ("/pages/a.htm"). Names in
// `unlisted` are held but left out of files(), as a reader's listing of a
// large help file may miss some; chmlib's listing leaves out the "/#" system
// files unless `listsSystemFiles`.
class StoredHelpFile : public CompiledHelpFile {
public:
    StoredHelpFile() = default;
    explicit StoredHelpFile(std::map<std::string, std::string> files) : stored(std::move(files)) {}

    std::map<std::string, std::string> stored;
    std::set<std::string> unlisted;
    bool listsSystemFiles = true;

    std::vector<std::string> files() const override
    {
        std::vector<std::string> names;
        for (const auto& [name, bytes] : stored) {
            if ((listsSystemFiles || !name.starts_with("/#")) && !unlisted.contains(name))
                names.push_back(name);
        }
        return names;
    }
    bool contains(const std::string& path) const override { return stored.contains(path); }
    std::string read(const std::string& path) const override
    {
        const auto found = stored.find(path);
        if (found == stored.end())
            throw IoError("no " + path);
        return found->second;
    }
};

}  // namespace doxel::test
