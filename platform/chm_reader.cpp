#include "platform/chm_reader.h"

#include <chm_lib.h>

#include "core/errors.h"

namespace doxel {
namespace {

int collectFile(chmFile*, chmUnitInfo* unit, void* context)
{
    const std::string path = unit->path;
    // Names starting with "#" or "$" below the top are the format's own.
    if (!path.starts_with("/#") && !path.starts_with("/$") && !path.ends_with("/"))
        static_cast<std::vector<std::string>*>(context)->push_back(path);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

ChmReader::ChmReader(const std::string& path) : m_path(path), m_file(chm_open(path.c_str()))
{
    if (m_file == nullptr)
        throw IoError("Cannot open " + path + " as a compiled help file");
}

ChmReader::~ChmReader()
{
    chm_close(m_file);
}

std::vector<std::string> ChmReader::files() const
{
    std::vector<std::string> files;
    chm_enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectFile, &files);
    return files;
}

bool ChmReader::contains(const std::string& path) const
{
    chmUnitInfo unit{};
    return chm_resolve_object(m_file, path.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::string ChmReader::read(const std::string& path) const
{
    chmUnitInfo unit{};
    if (chm_resolve_object(m_file, path.c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        throw IoError(m_path + " holds no " + path);
    // A damaged or hostile file may claim any length.
    constexpr LONGUINT64 kLimit = LONGUINT64{1} << 30;
    if (unit.length > kLimit)
        throw IoError(path + " in " + m_path + " is larger than 1 GB");
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    const LONGINT64 got = chm_retrieve_object(m_file, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length))
        throw IoError("Cannot read " + path + " from " + m_path);
    return bytes;
}

}  // namespace doxel
