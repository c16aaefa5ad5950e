// Feeds arbitrary bytes as a compiled help file to the whole import: the
// reader of the help file and its LZX data, the extraction of its files
// and the project made from its contents, index and system data. Any help
// file must end in a project or an error, without a crash, a hang or an
// allocation beyond its size. The seeds are help files of both compilers,
// so that mutations reach the LZX decoder.
//   build/fuzz/fuzz/fuzz_help_import CORPUS fuzz/corpus/help_import -max_total_time=600
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/errors.h"
#include "formats/chm_archive.h"
#include "import/project_import.h"

namespace {

// One folder for the run, emptied after every input.
const std::filesystem::path& workFolder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "doxel-fuzz-import-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path& folder = workFolder();
    const std::string source = (folder / "help.chm").string();
    {
        FILE* file = std::fopen(source.c_str(), "wb");
        if (file == nullptr)
            std::abort();
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    const doxel::HelpArchiveOpener open = [&bytes](const std::string& name) {
        return std::make_unique<doxel::ChmArchive>(bytes, name);
    };
    try {
        doxel::NullProgress progress;
        static_cast<void>(doxel::runImport(source, {}, open, progress));
    } catch (const doxel::Error&) {
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        std::filesystem::remove_all(entry.path(), error);
    return 0;
}
