#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace doxel::test {

// Every file of a help file by name ("/pages/a.htm"), as one reader sees
// it. The three readers share no code: chmlib, libmspack's CHM
// decompressor and 7-Zip. Folders are left out. Each throws
// std::runtime_error when it cannot open the file or read a file it lists.
using ChmFiles = std::map<std::string, std::string>;
ChmFiles readWithChmlib(const std::string& chm);
ChmFiles readWithMspack(const std::string& chm);
ChmFiles readWith7zip(const std::string& chm);

struct PychmSearch {
    std::string query;  // UTF-8
    bool wholeWords = true;
    bool titlesOnly = false;
};

// What pychm's search of a help file's full-text index finds, for each
// search the titles (UTF-8, sorted); nothing when pychm is not installed
// for /usr/bin/python3.
std::optional<std::vector<std::vector<std::string>>> searchWithPychm(const std::string& chm, int codePage,
                                                                     const std::vector<PychmSearch>& searches);

}  // namespace doxel::test
