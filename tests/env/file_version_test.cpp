#include "env/file_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "test_support.h"

namespace doxel {
namespace {

// A small PE file with one .rsrc section holding a version resource, laid
// out as a linker would: DOS header, PE header, optional header, section
// table, then the resource tree and VS_VERSIONINFO.
struct PeBuilder {
    bool pe32Plus = false;
    std::uint32_t versionMs = 0x0004004A;  // 4.74
    std::uint32_t versionLs = 0x21FE0000;  // 8702.0
    std::uint32_t resourceType = 16;
    std::uint32_t signature = 0xFEEF04BD;
    bool withResourceDirectory = true;
    bool namedEntryFirst = false;  // a string-named resource type before RT_VERSION

    std::string bytes() const
    {
        std::string out(0x200, '\0');
        put16(out, 0, 0x5A4D);
        put32(out, 0x3C, 0x40);
        out.replace(0x40, 4, std::string("PE\0\0", 4));
        const std::uint32_t coff = 0x44;
        const std::uint16_t optionalSize = pe32Plus ? 240 : 224;
        put16(out, coff, pe32Plus ? 0x8664 : 0x14C);
        put16(out, coff + 2, 1);
        put16(out, coff + 16, optionalSize);
        const std::uint32_t optional = coff + 20;
        put16(out, optional, pe32Plus ? 0x20B : 0x10B);
        const std::uint32_t directories = optional + (pe32Plus ? 112 : 96);
        put32(out, optional + (pe32Plus ? 108 : 92), 16);

        std::string rsrc = resources();
        if (withResourceDirectory) {
            put32(out, directories + 2 * 8, 0x1000);
            put32(out, directories + 2 * 8 + 4, static_cast<std::uint32_t>(rsrc.size()));
        }
        const std::uint32_t section = optional + optionalSize;
        out.replace(section, 8, std::string(".rsrc\0\0\0", 8));
        put32(out, section + 8, static_cast<std::uint32_t>(rsrc.size()));
        put32(out, section + 12, 0x1000);
        put32(out, section + 16, static_cast<std::uint32_t>(rsrc.size()));
        put32(out, section + 20, 0x200);
        return out + rsrc;
    }

private:
    static void put16(std::string& s, std::size_t at, std::uint32_t v)
    {
        if (s.size() < at + 2)
            s.resize(at + 2, '\0');
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    }
    static void put32(std::string& s, std::size_t at, std::uint32_t v)
    {
        put16(s, at, v & 0xFFFF);
        put16(s, at + 2, v >> 16);
    }

    std::string resources() const
    {
        std::string r(0x200, '\0');
        std::uint32_t at = 0;
        // Root: the type directory.
        const std::uint16_t named = namedEntryFirst ? 1 : 0;
        put16(r, 12, named);
        put16(r, 14, 1);
        at = 16;
        if (namedEntryFirst) {
            put32(r, at, 0x80000000U | 0x180);  // a name string, never an id
            put32(r, at + 4, 0x80000000U | 0x40);
            at += 8;
        }
        put32(r, at, resourceType);
        put32(r, at + 4, 0x80000000U | 0x40);
        // Names, then languages, then the data entry.
        put16(r, 0x40 + 14, 1);
        put32(r, 0x40 + 16, 1);
        put32(r, 0x40 + 20, 0x80000000U | 0x60);
        put16(r, 0x60 + 14, 1);
        put32(r, 0x60 + 16, 0x409);
        put32(r, 0x60 + 20, 0x80);
        const std::uint32_t info = 0xA0;
        put32(r, 0x80, 0x1000 + info);
        put32(r, 0x84, 40 + 52);
        // VS_VERSIONINFO
        put16(r, info, 40 + 52);
        put16(r, info + 2, 52);
        const char* key = "VS_VERSION_INFO";
        for (std::size_t i = 0; i <= std::strlen(key); ++i)
            put16(r, info + 6 + 2 * i, static_cast<unsigned char>(key[i]));
        put32(r, info + 40, signature);
        put32(r, info + 44, 0x00010000);
        put32(r, info + 48, versionMs);
        put32(r, info + 52, versionLs);
        return r;
    }
};

TEST(FileVersion, ReadsTheFixedVersionOfBothPeKinds)
{
    for (const bool plus : {false, true}) {
        PeBuilder pe;
        pe.pe32Plus = plus;
        pe.versionMs = (5U << 16) | 50U;
        pe.versionLs = (3825U << 16) | 1300U;
        FileVersion version;
        ASSERT_TRUE(readPeFileVersion(pe.bytes(), version)) << plus;
        EXPECT_EQ(version.text(), "5.50.3825.1300");
    }
}

TEST(FileVersion, SkipsNamedResourceTypesToFindTheVersion)
{
    PeBuilder pe;
    pe.namedEntryFirst = true;
    FileVersion version;
    ASSERT_TRUE(readPeFileVersion(pe.bytes(), version));
    EXPECT_EQ(version.text(), "4.74.8702.0");
}

TEST(FileVersion, FilesWithoutVersionInformationGiveNothing)
{
    PeBuilder noVersionType;
    noVersionType.resourceType = 3;  // icons only
    PeBuilder badSignature;
    badSignature.signature = 0x12345678;
    PeBuilder noResources;
    noResources.withResourceDirectory = false;
    std::string notMz = PeBuilder().bytes();
    notMz[0] = 'X';
    for (const std::string& bytes :
         {noVersionType.bytes(), badSignature.bytes(), noResources.bytes(), notMz, std::string(), std::string("MZ")}) {
        FileVersion version;
        EXPECT_FALSE(readPeFileVersion(bytes, version));
    }
}

TEST(FileVersion, TruncatedOrDamagedFilesNeverReadOutsideTheirBytes)
{
    const std::string whole = PeBuilder().bytes();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        // A copy of exactly `size` bytes, so the sanitizers see any overrun.
        const std::string prefix = whole.substr(0, size);
        FileVersion version;
        readPeFileVersion(prefix, version);
    }
    std::mt19937 random(12);
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = whole;
        for (int i = 0; i < 4; ++i)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        FileVersion version;
        readPeFileVersion(damaged, version);
    }
}

TEST(FileVersion, GetFileVersionReadsFilesAndGivesZerosForOthers)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "hhctrl.ocx", PeBuilder().bytes());
    test::writeFile(dir.path() / "readme.txt", "no program");
    const FileVersionInfo found = getFileVersion(dir.file("hhctrl.ocx"));
    EXPECT_EQ(found.text, "4.74.8702.0");
    EXPECT_EQ(found.version, (FileVersion{4, 74, 8702, 0}));
    for (const char* other : {"readme.txt", "missing.dll"}) {
        const FileVersionInfo none = getFileVersion(dir.file(other));
        EXPECT_EQ(none.text, "");
        EXPECT_EQ(none.version, FileVersion{});
    }
}

TEST(FileVersion, CompareVersionOrdersByEachNumberInTurn)
{
    struct Case {
        FileVersion a, b;
        int expected;
    };
    const Case cases[] = {
        {{4, 74, 8702, 0}, {4, 74, 8702, 0}, 0},      {{5, 0, 0, 0}, {4, 99, 9999, 9999}, 1},
        {{4, 73, 9000, 0}, {4, 74, 1, 0}, -1},        {{4, 74, 8702, 1}, {4, 74, 8702, 0}, 1},
        {{4, 74, 8701, 65535}, {4, 74, 8702, 0}, -1}, {{65535, 0, 0, 0}, {1, 65535, 65535, 65535}, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareVersion(c.a, c.b), c.expected) << c.a.text() << " vs " << c.b.text();
        EXPECT_EQ(compareVersion(c.b, c.a), -c.expected) << c.b.text() << " vs " << c.a.text();
    }
}

TEST(FileVersion, ParsesOnlyFourDottedNumbers)
{
    FileVersion version;
    EXPECT_TRUE(parseFileVersion("4.70.1155.0", version));
    EXPECT_EQ(version, (FileVersion{4, 70, 1155, 0}));
    for (const char* bad : {"", "4.70.1155", "4.70.1155.0.1", "4.70.65536.0", "4.70.x.0", " 4.70.1155.0", "4..1.0"})
        EXPECT_FALSE(parseFileVersion(bad, version)) << bad;
}

FileVersionInfo info(FileVersion version)
{
    return {version, version.text()};
}

TEST(VersionNames, HelpViewerTableRowByRow)
{
    struct Case {
        FileVersion version;
        const char* name;
    };
    const Case cases[] = {
        {{4, 74, 8793, 1}, "> 1.31"}, {{5, 0, 0, 0}, "> 1.31"},   {{4, 74, 8793, 0}, "1.31"},
        {{4, 74, 8792, 9}, "1.3"},    {{4, 74, 8702, 5}, "1.3"},  {{4, 74, 8702, 0}, "1.3"},
        {{4, 74, 8701, 0}, "1.22"},   {{4, 73, 8561, 0}, "1.22"}, {{4, 73, 8560, 0}, "1.21a"},
        {{4, 73, 8474, 0}, "1.21a"},  {{4, 73, 8412, 0}, "1.21"}, {{4, 73, 8252, 0}, "1.2"},
        {{4, 73, 8251, 0}, "1.1b"},   {{4, 72, 8164, 0}, "1.1b"}, {{4, 72, 7325, 0}, "1.1a"},
        {{4, 72, 7324, 0}, "1.1"},    {{4, 72, 7323, 0}, "1.1"},  {{4, 72, 7290, 0}, "1.0"},
        {{4, 72, 7289, 0}, "< 1.0"},  {{0, 0, 0, 0}, "< 1.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(helpViewerVersionName(info(c.version)), c.name) << c.version.text();
    EXPECT_EQ(helpViewerVersionName({}), "");
}

TEST(VersionNames, BrowserTableRowByRow)
{
    struct Case {
        FileVersion version;
        const char* name;
    };
    const Case cases[] = {
        {{6, 0, 2600, 0}, "> Internet Explorer 5.5 Developer Preview"},
        {{5, 50, 3825, 1301}, "> Internet Explorer 5.5 Developer Preview"},
        {{5, 50, 3825, 1300}, "Internet Explorer 5.5 Developer Preview"},
        {{5, 50, 3825, 1299}, "Internet Explorer 5.01"},
        {{5, 0, 2919, 6400}, "Internet Explorer 5.01"},
        {{5, 0, 2919, 6307}, "Internet Explorer 5.01"},
        {{5, 0, 2919, 6306}, "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
        {{5, 0, 2919, 3800}, "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
        {{5, 0, 2919, 800}, "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
        {{5, 0, 2919, 799}, "Internet Explorer 5.0 updated"},
        {{5, 0, 2723, 2900}, "Internet Explorer 5.0 updated"},
        {{5, 0, 2721, 1400}, "Internet Explorer 5.0 updated"},
        {{5, 0, 2721, 1399}, "Internet Explorer 5.0b"},
        {{5, 0, 2614, 0}, "Internet Explorer 5.0b"},
        {{5, 0, 2314, 0}, "Internet Explorer 5.0a"},
        {{5, 0, 2014, 0}, "Internet Explorer 5.0"},
        {{5, 0, 910, 0}, "Internet Explorer 5 Beta (Beta 2)"},
        {{5, 0, 518, 0}, "Internet Explorer 5 Developer Preview (Beta 1)"},
        {{5, 0, 517, 0}, "Internet Explorer 4.01 Service Pack 2 (SP2)"},
        {{4, 72, 3612, 0}, "Internet Explorer 4.01 Service Pack 2 (SP2)"},
        {{4, 72, 3110, 0}, "Internet Explorer 4.01 Service Pack 1 (SP1)"},
        {{4, 72, 2106, 0}, "Internet Explorer 4.01"},
        {{4, 71, 1712, 0}, "Internet Explorer 4.0"},
        {{4, 71, 1008, 0}, "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
        {{4, 71, 544, 0}, "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
        {{4, 70, 1300, 0}, "Internet Explorer 3.02"},
        {{4, 70, 1215, 0}, "Internet Explorer 3.01"},
        {{4, 70, 1158, 0}, "Internet Explorer 3.0 (OSR2)"},
        {{4, 70, 1155, 0}, "Internet Explorer 3.0"},
        {{4, 70, 1154, 0}, "Internet Explorer 2.0"},
        {{4, 40, 520, 0}, "Internet Explorer 2.0"},
        {{4, 40, 308, 0}, "Internet Explorer 1.0 (Plus!)"},
        {{4, 40, 307, 0}, "< Internet Explorer 1.0 (Plus!)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(browserVersionName(info(c.version)), c.name) << c.version.text();
    EXPECT_EQ(browserVersionName({}), "");
}

TEST(VersionNames, BrowserVersionsOfThe470FamilyAreRearranged)
{
    struct Case {
        FileVersion file;
        FileVersion shown;
    };
    const Case cases[] = {
        {{4, 70, 0, 1155}, {4, 70, 1155, 0}}, {{4, 40, 0, 520}, {4, 40, 520, 0}},
        {{4, 71, 0, 1712}, {4, 71, 0, 1712}},  // minor above 70: kept
        {{4, 70, 1, 1155}, {4, 70, 1, 1155}},  // release not 0: kept
        {{5, 0, 0, 2014}, {5, 0, 0, 2014}},    // major not 4: kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(rearrangedBrowserVersion(c.file), c.shown) << c.file.text();
}

}  // namespace
}  // namespace doxel
