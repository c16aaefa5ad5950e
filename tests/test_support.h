#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace doxel::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(std::string_view relative) const { return (m_path / relative).string(); }

private:
    std::filesystem::path m_path;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view contents);
// A golden file from tests/data.
std::string golden(std::string_view name);
// Lines joined with CR LF after each, the last included.
std::string crlf(std::initializer_list<std::string_view> lines);

// A record of a compiled help file's #SYSTEM: code, size, data.
std::string systemRecord(std::uint16_t code, std::string_view data);
// A #SYSTEM as compilers write it: version 3, the compiler's name, the
// language and the default topic.
std::string systemFile(std::uint32_t languageId, const std::string& defaultTopic);

}  // namespace doxel::test
