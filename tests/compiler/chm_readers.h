#pragma once

#include <map>
#include <string>

namespace doxel::test {

// Every file of a help file by name ("/pages/a.htm"), as one reader sees
// it. The three readers share no code: chmlib, libmspack's CHM
// decompressor and 7-Zip. Folders are left out. Each throws
// std::runtime_error when it cannot open the file or read a file it lists.
using ChmFiles = std::map<std::string, std::string>;
ChmFiles readWithChmlib(const std::string& chm);
ChmFiles readWithMspack(const std::string& chm);
ChmFiles readWith7zip(const std::string& chm);

}  // namespace doxel::test
