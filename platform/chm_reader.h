#pragma once

#include <string>
#include <vector>

#include "formats/help_file.h"

struct chmFile;

namespace doxel {

// A compiled help file opened with chmlib, the library help viewers on this
// platform use: for the decompile and to see what the compiler put into it.
class ChmReader final : public CompiledHelpFile {
public:
    // Throws IoError when the file cannot be opened as a compiled help file.
    explicit ChmReader(const std::string& path);
    ~ChmReader() override;
    ChmReader(const ChmReader&) = delete;
    ChmReader& operator=(const ChmReader&) = delete;

    // The content files (not folders, not the format's own "#" and "$"
    // files), in the order the file lists them.
    std::vector<std::string> files() const override;
    bool contains(const std::string& path) const override;
    std::string read(const std::string& path) const override;

private:
    std::string m_path;
    chmFile* m_file;
};

}  // namespace doxel
