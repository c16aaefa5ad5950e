// Compiles a help project made from arbitrary bytes with the built-in
// compiler: the bytes are cut at each \x01 into the help project, its
// contents and index files and the pages it may name (a.htm, sub/b.htm,
// s.css, then p3.htm, p4.htm, ...). Whatever the files hold, the compile
// ends in a help file or an "Error:" line, never a crash or a hang.
//   build/fuzz/fuzz/fuzz_help_compile CORPUS fuzz/corpus/help_compile -max_total_time=600
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

#include "compiler/help_compiler.h"

namespace {

namespace fs = std::filesystem;

const fs::path& workFolder()
{
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "doxel-fuzz-compile-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return fs::path(pattern);
    }();
    return folder;
}

std::string nameOfPart(std::size_t index)
{
    static const char* const names[] = {"t.hhp", "t.hhc", "t.hhk", "a.htm", "sub/b.htm", "s.css"};
    return index < std::size(names) ? names[index] : "p" + std::to_string(index) + ".htm";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fs::path& folder = workFolder();
    std::error_code error;
    fs::create_directories(folder / "sub", error);
    std::size_t index = 0;
    for (std::size_t start = 0; start <= bytes.size() && index < 16; ++index) {
        std::size_t end = bytes.find('\x01', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        FILE* file = std::fopen((folder / nameOfPart(index)).c_str(), "wb");
        if (file == nullptr)
            std::abort();
        std::fwrite(bytes.data() + start, 1, end - start, file);
        std::fclose(file);
        start = end + 1;
    }
    doxel::chm::HelpCompileOptions options;
    options.threads = 1;
    static_cast<void>(doxel::chm::compileHelpProject((folder / "t.hhp").string(), [](const std::string&) {}, options));
    for (const auto& entry : fs::directory_iterator(folder, error))
        fs::remove_all(entry.path(), error);
    return 0;
}
