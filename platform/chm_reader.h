#pragma once

#include <string>
#include <vector>

#include "formats/help_archive.h"

struct chmFile;

namespace doxel {

// A compiled help file opened with chmlib, to see what the compiler put
// into it. Paths inside the file start with "/" ("/pages/intro.htm").
class ChmReader {
public:
    // Throws IoError when the file cannot be opened as a compiled help file.
    explicit ChmReader(const std::string& path);
    ~ChmReader();
    ChmReader(const ChmReader&) = delete;
    ChmReader& operator=(const ChmReader&) = delete;

    // The content files (not folders, not the format's own "#" and "$"
    // files), in the order the file lists them.
    std::vector<std::string> files() const;
    bool contains(const std::string& path) const;
    // The bytes of one file. Throws IoError when it is not there.
    std::string read(const std::string& path) const;

private:
    std::string m_path;
    chmFile* m_file;
};

// A compiled help file as the decompile reads it.
class ChmArchive final : public HelpArchive {
public:
    explicit ChmArchive(const std::string& path) : m_reader(path) {}
    std::vector<std::string> files() const override { return m_reader.files(); }
    bool contains(const std::string& path) const override { return m_reader.contains(path); }
    std::string read(const std::string& path) const override { return m_reader.read(path); }

private:
    ChmReader m_reader;
};

}  // namespace doxel
