#include "formats/chm_archive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "chm_readers.h"
#include "compiler/chm_container.h"
#include "compiler/little_endian.h"
#include "compiler/lzx_encoder.h"
#include "core/errors.h"
#include "test_support.h"

namespace doxel {
namespace {

using chm::put32;
using chm::put64;

// A help file written by our compiler's container, with text that
// compresses and bytes that do not, over several reset intervals.
std::string containerFile(const std::map<std::string, std::string>& files)
{
    chm::ChmContainer container(0x409, 1);
    container.setTimestamp(1);
    for (const auto& [name, data] : files)
        container.addFile(name, data);
    std::string out;
    container.write([&out](std::string_view bytes) { out.append(bytes); });
    return out;
}

std::map<std::string, std::string> sampleFiles()
{
    std::mt19937 random(7);
    std::string noise(100000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    std::string text;
    for (int i = 0; text.size() < 300000; ++i)
        text += "<p>Paragraph " + std::to_string(i % 97) + " of the harbour guide, München, Установка.</p>\r\n";
    return {{"/a.htm", text}, {"/noise.bin", noise}, {"/empty.txt", ""}, {"/sub/b.htm", "<html>b</html>"}};
}

void putEncoded(std::string& out, std::uint64_t value)
{
    std::string bytes(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0)
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    out += bytes;
}

// A help file put together field by field, to be damaged on purpose: one
// listing chunk, the files of section 0 after it, and when `lzx` is set a
// compressed section whose control data and reset table say what the
// fields below say.
struct CraftedFile {
    struct Entry {
        std::string name;
        std::uint64_t section = 0;
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
    };
    std::vector<Entry> entries;
    std::uint32_t chunkNext = 0xFFFFFFFF;
    std::uint32_t chunkSize = 4096;
    bool lzx = true;
    std::uint32_t windowUnits = 2;  // of 32 KB
    std::uint32_t resetUnits = 2;   // of 32 KB
    std::uint32_t frames = 1;
    std::uint64_t uncompressed = 10;
    std::uint64_t frameSize = 0x8000;
    std::string stream = std::string(16, '\0');
    std::vector<std::uint64_t> frameStarts = {};  // all 0 when empty

    std::string bytes() const
    {
        std::string plain;
        std::vector<Entry> all = entries;
        if (lzx) {
            std::string control;
            put32(control, 6);
            control += "LZXC";
            put32(control, 2);
            put32(control, resetUnits);
            put32(control, windowUnits);
            put32(control, 1);
            put32(control, 0);
            std::string reset;
            put32(reset, 2);
            put32(reset, frames);
            put32(reset, 8);
            put32(reset, 0x28);
            put64(reset, uncompressed);
            put64(reset, stream.size());
            put64(reset, frameSize);
            for (std::uint32_t i = 0; i < frames; ++i)
                put64(reset, i < frameStarts.size() ? frameStarts[i] : 0);
            for (const auto& [name, data] :
                 {std::pair<std::string, std::string>{"::DataSpace/Storage/MSCompressed/Content", stream},
                  {"::DataSpace/Storage/MSCompressed/ControlData", control},
                  {"::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
                   "ResetTable",
                   reset}}) {
                all.push_back({name, 0, plain.size(), data.size()});
                plain += data;
            }
        }
        std::string chunk = "PMGL";
        std::string listed;
        for (const Entry& entry : all) {
            putEncoded(listed, entry.name.size());
            listed += entry.name;
            putEncoded(listed, entry.section);
            putEncoded(listed, entry.offset);
            putEncoded(listed, entry.length);
        }
        const std::uint32_t size = std::max<std::uint32_t>(chunkSize, static_cast<std::uint32_t>(listed.size() + 20));
        put32(chunk, static_cast<std::uint32_t>(size - 20 - listed.size()));
        put32(chunk, 0);
        put32(chunk, 0xFFFFFFFF);
        put32(chunk, chunkNext);
        chunk += listed;
        chunk.resize(size, '\0');

        std::string directory = "ITSP";
        put32(directory, 1);
        put32(directory, 0x54);
        put32(directory, 10);
        put32(directory, size);
        put32(directory, 2);
        put32(directory, 1);
        put32(directory, 0xFFFFFFFF);
        put32(directory, 0);
        put32(directory, 0);
        put32(directory, 0xFFFFFFFF);
        put32(directory, 1);
        directory.resize(0x54, '\0');
        directory += chunk;

        std::string file = "ITSF";
        put32(file, 3);
        put32(file, 0x60);
        file.resize(0x48, '\0');
        put64(file, 0x60);
        put64(file, directory.size());
        put64(file, 0x60 + directory.size());
        return file + directory + plain;
    }
};

// Every file through the reader; what it may throw is the error of a
// damaged file, nothing else.
void readEverything(const std::string& bytes)
{
    try {
        const ChmArchive archive(bytes, "x.chm");
        for (const std::string& name : archive.files()) {
            try {
                static_cast<void>(archive.read(name));
            } catch (const DamagedFileError&) {
            }
        }
    } catch (const DamagedFileError&) {
    }
}

TEST(ChmArchive, ReadsWhatTheContainerWroteByteForByte)
{
    const std::map<std::string, std::string> files = sampleFiles();
    const ChmArchive archive(containerFile(files), "t.chm");
    std::map<std::string, std::string> read;
    for (const std::string& name : archive.files())
        read[name] = archive.read(name);
    EXPECT_EQ(read, files);
    // Out of order, and by another letter case, as viewers look up.
    EXPECT_EQ(archive.read("/SUB/B.HTM"), "<html>b</html>");
    EXPECT_EQ(archive.read("/a.htm"), files.at("/a.htm"));
}

struct DamageCase {
    const char* name;
    CraftedFile file;
    const char* message;  // a part of the error
};

std::vector<DamageCase> damageCases()
{
    std::vector<DamageCase> cases;
    CraftedFile base;
    base.entries = {{"/a.htm", 1, 0, 10}};
    const auto with = [&](const char* name, const char* message, auto change) {
        CraftedFile file = base;
        change(file);
        cases.push_back({name, file, message});
    };
    with("FrameSizeZero", "frames of 0 bytes", [](CraftedFile& f) { f.frameSize = 0; });
    with("ListingThatLoops", "loops back to chunk 0", [](CraftedFile& f) { f.chunkNext = 0; });
    with("ListingToAChunkItHasNot", "leads to chunk 9", [](CraftedFile& f) { f.chunkNext = 9; });
    with("WindowOfNoSize", "window has the size 0", [](CraftedFile& f) { f.windowUnits = 0; });
    with("MoreDataThanFrames", "bytes in 1 frames", [](CraftedFile& f) { f.uncompressed = 1ull << 30; });
    with("FileClaimingAGigabyte", "beyond the end of the compressed data", [](CraftedFile& f) {
        f.entries = {{"/big.htm", 1, 0, 1ull << 30}};
    });
    with("PlainFileBeyondTheEnd", "beyond the end of the file", [](CraftedFile& f) {
        f.entries = {{"/big.htm", 0, 0, 1ull << 30}};
    });
    with("StreamThatIsNotLzx", "does not decode", [](CraftedFile& f) { f.stream = std::string(16, '\xFF'); });
    return cases;
}

class DamagedArchive : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedArchive, GivesAnErrorNamingTheFault)
{
    const DamageCase& c = GetParam();
    try {
        const ChmArchive archive(c.file.bytes(), "x.chm");
        for (const std::string& name : archive.files())
            static_cast<void>(archive.read(name));
        FAIL() << "no error";
    } catch (const DamagedFileError& error) {
        EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedArchive, ::testing::ValuesIn(damageCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ChmArchive, ManyFilesClaimingTheSameBytesStopBeforeTheyAddUp)
{
    // 200 names for the same 40 MB of zeros: a few bytes of LZX a frame.
    CraftedFile file;
    file.frames = 1280;
    file.resetUnits = 1;
    file.uncompressed = std::uint64_t{1280} * 0x8000;
    const std::string frame = chm::compressLzxInterval(std::string(0x8000, '\0'), 16).bytes;
    file.stream.clear();
    for (std::uint32_t i = 0; i < file.frames; ++i) {
        file.frameStarts.push_back(file.stream.size());
        file.stream += frame;
    }
    for (int i = 0; i < 200; ++i)
        file.entries.push_back({"/p" + std::to_string(i) + ".htm", 1, 0, file.uncompressed});
    const ChmArchive archive(file.bytes(), "x.chm");
    EXPECT_THROW(
        {
            for (const std::string& name : archive.files())
                static_cast<void>(archive.read(name));
        },
        DamagedFileError);
}

TEST(ChmArchive, ListsANameOfTwentyThousandLetters)
{
    CraftedFile file;
    file.lzx = false;
    file.chunkSize = 32768;
    const std::string longName = "/" + std::string(20000, 'n') + ".htm";
    file.entries = {{"/a.htm", 0, 0, 0}, {longName, 0, 0, 0}, {"/z.htm", 0, 0, 0}};
    const ChmArchive archive(file.bytes(), "x.chm");
    EXPECT_EQ(archive.files(), (std::vector<std::string>{"/a.htm", longName, "/z.htm"}));
}

TEST(ChmArchive, ReadsWhatChmcmdWroteAsChmlibDoes)
{
    if (std::system("command -v chmcmd > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "chmcmd (fp-utils) is not installed";
    test::TempDir dir;
    std::string files;
    for (const auto& [name, data] : sampleFiles()) {
        test::writeFile(dir.file(name.substr(1)), data);
        files += name.substr(1) + "\r\n";
    }
    test::writeFile(dir.file("t.hhp"),
                    "[OPTIONS]\r\nCompiled file=t.chm\r\n"
                    "Default topic=a.htm\r\n\r\n[FILES]\r\n" +
                        files);
    ASSERT_EQ(std::system(("cd " + dir.path().string() + " && chmcmd t.hhp > /dev/null 2>&1").c_str()), 0);
    const auto archive = ChmArchive::open(dir.file("t.chm"));
    test::ChmFiles ours;
    for (const auto& [name, data] : test::readWithChmlib(dir.file("t.chm")))
        ours[name] = archive->read(name);
    EXPECT_EQ(ours, test::readWithChmlib(dir.file("t.chm")));
    EXPECT_EQ(ours.at("/a.htm"), sampleFiles().at("/a.htm"));
}

TEST(ChmArchive, FlippedBitsNeverCrashOrHang)
{
    const std::string good = containerFile(sampleFiles());
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string bad = good;
        for (int flip = 0; flip < 16; ++flip)
            bad[random() % bad.size()] ^= static_cast<char>(1u << (random() % 8));
        readEverything(bad);
    }
}

}  // namespace
}  // namespace doxel
