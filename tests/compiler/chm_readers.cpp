#include "chm_readers.h"

#include <chm_lib.h>
#include <mspack.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "core/text_encoding.h"
#include "test_support.h"

namespace doxel::test {
namespace {

struct Enumeration {
    chmFile* file;
    ChmFiles files;
    std::string problem;
};

int collect(chmFile* file, chmUnitInfo* unit, void* context)
{
    auto& enumeration = *static_cast<Enumeration*>(context);
    const std::string name = unit->path;
    if (name.empty() || name.back() == '/')
        return CHM_ENUMERATOR_CONTINUE;
    std::string data(static_cast<std::size_t>(unit->length), '\0');
    if (unit->length > 0) {
        const LONGINT64 got = chm_retrieve_object(file, unit, reinterpret_cast<unsigned char*>(data.data()), 0,
                                                  static_cast<LONGINT64>(unit->length));
        if (got != static_cast<LONGINT64>(unit->length))
            enumeration.problem = "chmlib could not read " + name;
    }
    // Looking a file up by name must find the same one.
    chmUnitInfo found;
    if (chm_resolve_object(file, name.c_str(), &found) != CHM_RESOLVE_SUCCESS)
        enumeration.problem = "chmlib could not find " + name + " by name";
    enumeration.files[name] = std::move(data);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

ChmFiles readWithChmlib(const std::string& chm)
{
    chmFile* file = chm_open(chm.c_str());
    if (file == nullptr)
        throw std::runtime_error("chmlib cannot open " + chm);
    Enumeration enumeration{file, {}, {}};
    chm_enumerate(file, CHM_ENUMERATE_ALL, collect, &enumeration);
    chm_close(file);
    if (!enumeration.problem.empty())
        throw std::runtime_error(enumeration.problem);
    return std::move(enumeration.files);
}

ChmFiles readWithMspack(const std::string& chm)
{
    mschm_decompressor* decompressor = mspack_create_chm_decompressor(nullptr);
    if (decompressor == nullptr)
        throw std::runtime_error("no libmspack");
    std::unique_ptr<mschm_decompressor, void (*)(mschm_decompressor*)> owner(decompressor,
                                                                             mspack_destroy_chm_decompressor);
    mschmd_header* header = decompressor->open(decompressor, chm.c_str());
    if (header == nullptr)
        throw std::runtime_error("libmspack cannot open " + chm + ": error " +
                                 std::to_string(decompressor->last_error(decompressor)));
    TempDir scratch;
    const std::string out = scratch.file("file");
    ChmFiles files;
    std::string problem;
    for (mschmd_file* file = header->files; file != nullptr; file = file->next) {
        const std::string name = file->filename;
        if (name.empty() || name.back() == '/')
            continue;
        if (decompressor->extract(decompressor, file, out.c_str()) != MSPACK_ERR_OK) {
            problem = "libmspack could not read " + name + ": error " +
                      std::to_string(decompressor->last_error(decompressor));
            break;
        }
        files[name] = readFile(out);
    }
    decompressor->close(decompressor, header);
    if (!problem.empty())
        throw std::runtime_error(problem);
    return files;
}

ChmFiles readWith7zip(const std::string& chm)
{
    TempDir scratch;
    const std::string command = "7zz x -y -bd -o'" + scratch.path().string() + "' '" + chm + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("7-Zip could not extract " + chm);
    ChmFiles files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(scratch.path())) {
        if (item.is_regular_file())
            files["/" + std::filesystem::relative(item.path(), scratch.path()).generic_string()] =
                readFile(item.path());
    }
    return files;
}

namespace {

// pychm's search, which shares no code with ours, reads the index back.
// Each search prints the titles it found, as hex, sorted.
constexpr const char* kSearchScript = R"(import sys
try:
    import chm.chmlib as chmlib, chm.extra as extra
except ImportError:
    print("no pychm")
    sys.exit(0)
f = chmlib.chm_open(sys.argv[1])
print("ready")
for arg in sys.argv[2:]:
    whole, titles, text = arg.split(":")
    found = extra.search(f, bytes.fromhex(text), int(whole), int(titles))
    hits = found[1] if found else {}
    print(" ".join(sorted(t.hex() for t in hits)) or "-")
)";

std::string toHex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string fromHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

}  // namespace

std::optional<std::vector<std::vector<std::string>>> searchWithPychm(const std::string& chm, int codePage,
                                                                     const std::vector<PychmSearch>& searches)
{
    TempDir dir;
    writeFile(dir.file("search.py"), kSearchScript);
    CodePageEncoder encoder(*codePageByNumber(codePage));
    std::string command = "/usr/bin/python3 '" + dir.file("search.py") + "' '" + chm + "'";
    for (const PychmSearch& s : searches)
        command += std::string(" ") + (s.wholeWords ? "1" : "0") + ":" + (s.titlesOnly ? "1" : "0") + ":" +
                   toHex(encoder.encode(s.query));
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    pclose(pipe);

    std::istringstream lines(output);
    std::string line;
    if (!std::getline(lines, line) || line != "ready")
        return std::nullopt;
    std::vector<std::vector<std::string>> found;
    while (std::getline(lines, line)) {
        std::vector<std::string> titles;
        std::istringstream words(line);
        for (std::string hex; words >> hex;)
            if (hex != "-")
                titles.push_back(toUtf8(fromHex(hex), codePageByNumber(codePage)->iconvName));
        std::sort(titles.begin(), titles.end());
        found.push_back(titles);
    }
    return found;
}

}  // namespace doxel::test
