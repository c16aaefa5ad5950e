// Feeds arbitrary bytes to the reader of a program file's fixed version and
// to the update check's reading of a downloaded version file. Neither may
// read outside the bytes, crash or hang.
//   build/fuzz/fuzz/fuzz_pe_version CORPUS fuzz/corpus/pe_version -max_total_time=300
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "env/file_version.h"
#include "env/update_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    doxel::FileVersion version;
    if (doxel::readPeFileVersion(bytes, version)) {
        doxel::FileVersion again;
        if (!doxel::parseFileVersion(version.text(), again) || !(again == version))
            std::abort();  // the text of a version reads back as the same version
    }
    doxel::updateAnswerFor(bytes, "1.1");
    return 0;
}
