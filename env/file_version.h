#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace doxel {

// The fixed version of a Windows program file: four unsigned 16-bit
// numbers, written "4.74.8702.0".
struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;

    std::string text() const;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// 1 when a is greater, 0 when equal, -1 when smaller; major decides first,
// then minor, release and build.
int compareVersion(const FileVersion& a, const FileVersion& b);

// "4.74.8702.0" read back; nothing unless the text is exactly four decimal
// numbers of at most 65535 joined by dots.
bool parseFileVersion(std::string_view text, FileVersion& version);

// The version and its text, or zeros and an empty text when the file does
// not exist or carries no version information.
struct FileVersionInfo {
    FileVersion version;
    std::string text;
};

// The fixed file version of a PE file (program or library) held in
// `bytes`: the VS_FIXEDFILEINFO of its first RT_VERSION resource. False for
// anything else; never reads outside `bytes`.
bool readPeFileVersion(std::string_view bytes, FileVersion& version);

// The same for a file on disk; files beyond 256 MiB are not read.
FileVersionInfo getFileVersion(const std::string& path);

// The browser component's file versions of the 4.70 family carry their
// build number as release: 4.70.0.1155 means 4.70.1155.0. Versions with
// major 4, minor at most 70 and release 0 are rearranged; others are kept.
FileVersion rearrangedBrowserVersion(FileVersion version);

// The names people know. An empty version text gives an empty name.
std::string helpViewerVersionName(const FileVersionInfo& info);
std::string browserVersionName(const FileVersionInfo& info);

}  // namespace doxel
