#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace doxel::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "doxel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::filesystem::path& path, std::string_view contents)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

std::string golden(std::string_view name)
{
    return readFile(std::filesystem::path(DOXEL_TEST_DATA) / name);
}

std::string crlf(std::initializer_list<std::string_view> lines)
{
    std::string out;
    for (const auto line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string systemRecord(std::uint16_t code, std::string_view data)
{
    std::string out;
    out += static_cast<char>(code & 0xFF);
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(data.size() & 0xFF);
    out += static_cast<char>(data.size() >> 8);
    out += data;
    return out;
}

std::string systemFile(std::uint32_t languageId, const std::string& defaultTopic)
{
    std::string language(36, '\0');
    for (int i = 0; i < 4; ++i)
        language[static_cast<std::size_t>(i)] = static_cast<char>((languageId >> (8 * i)) & 0xFF);
    return std::string("\x03\0\0\0", 4) + systemRecord(9, std::string("HHA Version 4.74.8702\0", 22)) +
           systemRecord(4, language) + systemRecord(2, defaultTopic + '\0');
}

}  // namespace doxel::test
