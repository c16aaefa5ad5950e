#include "core/errors.h"

#include <cstring>

namespace doxel {

FormatError::FormatError(const std::string& file, int line, const std::string& problem)
    : Error(file + ", line " + std::to_string(line) + ": " + problem), m_line(line), m_problem(problem)
{
}

std::string describeErrno(const std::string& action, const std::string& path, int errorNumber)
{
    return action + " " + path + ": " + std::strerror(errorNumber);
}

}  // namespace doxel
