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

}  // namespace doxel::test
