#include "env/file_version.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <optional>
#include <vector>

namespace doxel {
namespace {

std::optional<std::uint32_t> u16At(std::string_view bytes, std::uint64_t offset)
{
    if (offset > bytes.size() || bytes.size() - offset < 2)
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
}

std::optional<std::uint32_t> u32At(std::string_view bytes, std::uint64_t offset)
{
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

constexpr std::uint32_t kResourceTypeVersion = 16;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000U;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BDU;
constexpr std::uint32_t kFixedInfoSize = 52;

class PeImage {
public:
    explicit PeImage(std::string_view bytes) : m_bytes(bytes) {}

    bool readHeaders()
    {
        if (m_bytes.size() < 0x40 || m_bytes[0] != 'M' || m_bytes[1] != 'Z')
            return false;
        const auto peOffset = u32At(m_bytes, 0x3C);
        if (!peOffset || m_bytes.substr(std::min<std::size_t>(*peOffset, m_bytes.size())).substr(0, 4) !=
                             std::string_view("PE\0\0", 4))
            return false;
        const std::uint64_t coff = std::uint64_t(*peOffset) + 4;
        const auto sectionCount = u16At(m_bytes, coff + 2);
        const auto optionalSize = u16At(m_bytes, coff + 16);
        const std::uint64_t optional = coff + 20;
        const auto magic = u16At(m_bytes, optional);
        if (!sectionCount || !optionalSize || !magic)
            return false;
        std::uint64_t directories = 0;
        std::uint64_t directoryCountAt = 0;
        if (*magic == 0x10B) {
            directoryCountAt = optional + 92;
            directories = optional + 96;
        } else if (*magic == 0x20B) {
            directoryCountAt = optional + 108;
            directories = optional + 112;
        } else {
            return false;
        }
        const auto directoryCount = u32At(m_bytes, directoryCountAt);
        if (!directoryCount || *directoryCount < 3 || directories + 3 * 8 > optional + *optionalSize)
            return false;
        const auto resourceRva = u32At(m_bytes, directories + 2 * 8);
        if (!resourceRva || *resourceRva == 0)
            return false;
        m_resourceRva = *resourceRva;

        const std::uint64_t table = optional + *optionalSize;
        for (std::uint32_t i = 0; i < *sectionCount; ++i) {
            const std::uint64_t at = table + std::uint64_t(i) * 40;
            const auto virtualSize = u32At(m_bytes, at + 8);
            const auto virtualAddress = u32At(m_bytes, at + 12);
            const auto rawSize = u32At(m_bytes, at + 16);
            const auto rawOffset = u32At(m_bytes, at + 20);
            if (!virtualSize || !virtualAddress || !rawSize || !rawOffset)
                return false;
            m_sections.push_back({*virtualAddress, *virtualSize, *rawSize, *rawOffset});
        }
        return true;
    }

    // The file offset of a relative virtual address, when it lies in the
    // stored part of a section.
    std::optional<std::uint64_t> offsetOf(std::uint32_t rva) const
    {
        for (const Section& section : m_sections) {
            if (rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize)
                return std::uint64_t(section.rawOffset) + (rva - section.virtualAddress);
        }
        return std::nullopt;
    }

    // The entry of the resource directory at `directory` (relative to the
    // resource section's start) whose id is `id`, or the first one when `id`
    // is empty. Gives the entry's OffsetToData.
    std::optional<std::uint32_t> entry(std::uint64_t base, std::uint32_t directory,
                                       std::optional<std::uint32_t> id) const
    {
        const std::uint64_t at = base + directory;
        const auto named = u16At(m_bytes, at + 12);
        const auto ids = u16At(m_bytes, at + 14);
        if (!named || !ids)
            return std::nullopt;
        const std::uint32_t count = *named + *ids;
        for (std::uint32_t i = 0; i < count; ++i) {
            const auto name = u32At(m_bytes, at + 16 + std::uint64_t(i) * 8);
            const auto data = u32At(m_bytes, at + 16 + std::uint64_t(i) * 8 + 4);
            if (!name || !data)
                return std::nullopt;
            if (!id || ((*name & kSubdirectoryBit) == 0 && *name == *id))
                return *data;
        }
        return std::nullopt;
    }

    bool fixedVersion(FileVersion& version) const
    {
        const auto base = offsetOf(m_resourceRva);
        if (!base)
            return false;
        // Type, then name, then language: the first two lead to directories,
        // the last to the data entry.
        const auto names = entry(*base, 0, kResourceTypeVersion);
        if (!names || (*names & kSubdirectoryBit) == 0)
            return false;
        const auto languages = entry(*base, *names & ~kSubdirectoryBit, std::nullopt);
        if (!languages || (*languages & kSubdirectoryBit) == 0)
            return false;
        const auto leaf = entry(*base, *languages & ~kSubdirectoryBit, std::nullopt);
        if (!leaf || (*leaf & kSubdirectoryBit) != 0)
            return false;
        const auto dataRva = u32At(m_bytes, *base + *leaf);
        const auto dataSize = u32At(m_bytes, *base + *leaf + 4);
        if (!dataRva || !dataSize)
            return false;
        const auto data = offsetOf(*dataRva);
        if (!data || *data > m_bytes.size())
            return false;
        const std::string_view block = m_bytes.substr(*data, *dataSize);
        return versionBlock(block, version);
    }

private:
    // VS_VERSIONINFO: length, value length, type, the key "VS_VERSION_INFO"
    // in UTF-16 with its terminator, padding to four bytes, then the fixed
    // information.
    static bool versionBlock(std::string_view block, FileVersion& version)
    {
        static constexpr std::string_view kKey = "VS_VERSION_INFO";
        const auto valueLength = u16At(block, 2);
        if (!valueLength || *valueLength < kFixedInfoSize)
            return false;
        std::uint64_t at = 6;
        for (char c : kKey) {
            const auto unit = u16At(block, at);
            if (!unit || *unit != static_cast<unsigned char>(c))
                return false;
            at += 2;
        }
        const auto terminator = u16At(block, at);
        if (!terminator || *terminator != 0)
            return false;
        at = (at + 2 + 3) & ~std::uint64_t(3);
        const auto signature = u32At(block, at);
        const auto high = u32At(block, at + 8);
        const auto low = u32At(block, at + 12);
        if (!signature || *signature != kFixedInfoSignature || !high || !low)
            return false;
        version = {static_cast<std::uint16_t>(*high >> 16), static_cast<std::uint16_t>(*high & 0xFFFF),
                   static_cast<std::uint16_t>(*low >> 16), static_cast<std::uint16_t>(*low & 0xFFFF)};
        return true;
    }

    std::string_view m_bytes;
    std::uint32_t m_resourceRva = 0;
    std::vector<Section> m_sections;
};

enum class Holds { Greater, Equal, AtLeast };

struct NameRow {
    Holds holds;
    FileVersion version;
    const char* name;
};

constexpr std::array kHelpViewerNames{
    NameRow{Holds::Greater, {4, 74, 8793, 0}, "> 1.31"}, NameRow{Holds::Equal, {4, 74, 8793, 0}, "1.31"},
    NameRow{Holds::AtLeast, {4, 74, 8702, 0}, "1.3"},    NameRow{Holds::AtLeast, {4, 73, 8561, 0}, "1.22"},
    NameRow{Holds::AtLeast, {4, 73, 8474, 0}, "1.21a"},  NameRow{Holds::AtLeast, {4, 73, 8412, 0}, "1.21"},
    NameRow{Holds::AtLeast, {4, 73, 8252, 0}, "1.2"},    NameRow{Holds::AtLeast, {4, 72, 8164, 0}, "1.1b"},
    NameRow{Holds::AtLeast, {4, 72, 7325, 0}, "1.1a"},   NameRow{Holds::AtLeast, {4, 72, 7323, 0}, "1.1"},
    NameRow{Holds::AtLeast, {4, 72, 7290, 0}, "1.0"},
};
constexpr const char* kHelpViewerOlder = "< 1.0";

constexpr std::array kBrowserNames{
    NameRow{Holds::Greater, {5, 50, 3825, 1300}, "> Internet Explorer 5.5 Developer Preview"},
    NameRow{Holds::Equal, {5, 50, 3825, 1300}, "Internet Explorer 5.5 Developer Preview"},
    NameRow{Holds::AtLeast, {5, 0, 2919, 6400}, "Internet Explorer 5.01"},
    NameRow{Holds::AtLeast, {5, 0, 2919, 6307}, "Internet Explorer 5.01"},
    NameRow{Holds::AtLeast, {5, 0, 2919, 3800}, "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
    NameRow{Holds::AtLeast, {5, 0, 2919, 800}, "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
    NameRow{Holds::AtLeast, {5, 0, 2723, 2900}, "Internet Explorer 5.0 updated"},
    NameRow{Holds::AtLeast, {5, 0, 2721, 1400}, "Internet Explorer 5.0 updated"},
    NameRow{Holds::AtLeast, {5, 0, 2614, 0}, "Internet Explorer 5.0b"},
    NameRow{Holds::AtLeast, {5, 0, 2314, 0}, "Internet Explorer 5.0a"},
    NameRow{Holds::AtLeast, {5, 0, 2014, 0}, "Internet Explorer 5.0"},
    NameRow{Holds::AtLeast, {5, 0, 910, 0}, "Internet Explorer 5 Beta (Beta 2)"},
    NameRow{Holds::AtLeast, {5, 0, 518, 0}, "Internet Explorer 5 Developer Preview (Beta 1)"},
    NameRow{Holds::AtLeast, {4, 72, 3612, 0}, "Internet Explorer 4.01 Service Pack 2 (SP2)"},
    NameRow{Holds::AtLeast, {4, 72, 3110, 0}, "Internet Explorer 4.01 Service Pack 1 (SP1)"},
    NameRow{Holds::AtLeast, {4, 72, 2106, 0}, "Internet Explorer 4.01"},
    NameRow{Holds::AtLeast, {4, 71, 1712, 0}, "Internet Explorer 4.0"},
    NameRow{Holds::AtLeast, {4, 71, 1008, 0}, "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
    NameRow{Holds::AtLeast, {4, 71, 544, 0}, "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
    NameRow{Holds::AtLeast, {4, 70, 1300, 0}, "Internet Explorer 3.02"},
    NameRow{Holds::AtLeast, {4, 70, 1215, 0}, "Internet Explorer 3.01"},
    NameRow{Holds::AtLeast, {4, 70, 1158, 0}, "Internet Explorer 3.0 (OSR2)"},
    NameRow{Holds::AtLeast, {4, 70, 1155, 0}, "Internet Explorer 3.0"},
    NameRow{Holds::AtLeast, {4, 40, 520, 0}, "Internet Explorer 2.0"},
    NameRow{Holds::AtLeast, {4, 40, 308, 0}, "Internet Explorer 1.0 (Plus!)"},
};
constexpr const char* kBrowserOlder = "< Internet Explorer 1.0 (Plus!)";

template <std::size_t N>
std::string nameFor(const FileVersion& version, const std::array<NameRow, N>& rows, const char* older)
{
    for (const NameRow& row : rows) {
        const int order = compareVersion(version, row.version);
        const bool holds = row.holds == Holds::Greater ? order > 0
                           : row.holds == Holds::Equal ? order == 0
                                                       : order >= 0;
        if (holds)
            return row.name;
    }
    return older;
}

}  // namespace

std::string FileVersion::text() const
{
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." +
           std::to_string(build);
}

int compareVersion(const FileVersion& a, const FileVersion& b)
{
    const std::array<std::uint16_t, 4> left{a.major, a.minor, a.release, a.build};
    const std::array<std::uint16_t, 4> right{b.major, b.minor, b.release, b.build};
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (left[i] != right[i])
            return left[i] > right[i] ? 1 : -1;
    }
    return 0;
}

bool parseFileVersion(std::string_view text, FileVersion& version)
{
    std::array<std::uint16_t, 4> parts{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != '.')
                return false;
            ++at;
        }
        if (at >= text.size() || text[at] < '0' || text[at] > '9')
            return false;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), parts[i]);
        if (error != std::errc())
            return false;
        at = static_cast<std::size_t>(end - text.data());
    }
    if (at != text.size())
        return false;
    version = {parts[0], parts[1], parts[2], parts[3]};
    return true;
}

bool readPeFileVersion(std::string_view bytes, FileVersion& version)
{
    PeImage image(bytes);
    return image.readHeaders() && image.fixedVersion(version);
}

FileVersionInfo getFileVersion(const std::string& path)
{
    constexpr std::streamoff kLimit = std::streamoff(256) << 20;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return {};
    const std::streamoff size = file.tellg();
    if (size <= 0 || size > kLimit)
        return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(bytes.data(), size))
        return {};
    FileVersion version;
    if (!readPeFileVersion(bytes, version))
        return {};
    return {version, version.text()};
}

FileVersion rearrangedBrowserVersion(FileVersion version)
{
    if (version.major == 4 && version.minor <= 70 && version.release == 0) {
        version.release = version.build;
        version.build = 0;
    }
    return version;
}

std::string helpViewerVersionName(const FileVersionInfo& info)
{
    return info.text.empty() ? std::string() : nameFor(info.version, kHelpViewerNames, kHelpViewerOlder);
}

std::string browserVersionName(const FileVersionInfo& info)
{
    return info.text.empty() ? std::string() : nameFor(info.version, kBrowserNames, kBrowserOlder);
}

}  // namespace doxel
