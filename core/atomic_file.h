#pragma once

#include <string>
#include <string_view>

namespace doxel {

// Replaces the file at `path` with `contents` so that a failure never leaves
// a half-written file in its place: the bytes go to a temporary file in the
// same folder, are flushed to disk, and the temporary file is renamed over
// the target. A symbolic link is followed, so the link stays a link; an
// existing file's permissions are kept. Throws IoError, and then the old
// file is as it was.
void writeFileAtomically(const std::string& path, std::string_view contents);

// The whole file as bytes. Throws IoError when it cannot be read or is
// larger than `limit` bytes.
std::string readWholeFile(const std::string& path, std::size_t limit);

}  // namespace doxel
