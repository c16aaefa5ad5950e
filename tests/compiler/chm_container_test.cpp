#include "compiler/chm_container.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "chm_readers.h"
#include "core/errors.h"
#include "formats/chm_archive.h"
#include "test_support.h"

namespace doxel::chm {
namespace {

using test::ChmFiles;

std::string randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Text with the repeats of real pages: the same tags and words again and
// again, at distances near and far.
std::string pageLikeText(std::size_t size, unsigned seed)
{
    static const char* const words[] = {"<p>",     "</p>",      "harbour", "tide", "<a href=\"pages/",
                                        ".htm\">", "</a>",      "the",     "and",  "\r\n",
                                        "München", "Установка", "   ",     "<td>", "</td>"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size)
        text += words[random() % std::size(words)];
    text.resize(size);
    return text;
}

// The files of a help file as our reader tests see them: what was put in,
// names starting with "/".
ChmFiles stored(const ChmFiles& all)
{
    ChmFiles files;
    for (const auto& [name, data] : all) {
        if (name.starts_with("/"))
            files[name] = data;
    }
    return files;
}

ChmFiles readWithOurReader(const std::string& chm)
{
    ChmFiles files;
    const auto archive = ChmArchive::open(chm);
    for (const std::string& name : archive->files())
        files[name] = archive->read(name);
    return files;
}

struct ContainerCase {
    const char* name;
    ChmFiles files;
};

std::vector<ContainerCase> containerCases()
{
    std::vector<ContainerCase> cases;
    cases.push_back({"OneSmallPage", {{"/a.htm", "<html>hello</html>"}}});
    cases.push_back({"EmptyAndFolders", {{"/empty.txt", ""}, {"/x/y/z/deep.htm", "deep"}, {"/b.htm", "b"}}});
    cases.push_back({"RandomBytesOverManyFrames", {{"/random.bin", randomBytes(300000, 1)}, {"/c.htm", "c"}}});
    cases.push_back({"OneByteRepeated", {{"/runs.txt", std::string(200000, 'a')}}});
    cases.push_back({"TextOverResetIntervals", {{"/text.htm", pageLikeText(500000, 2)}, {"/z.css", "p{}"}}});
    // Longer than what is compressed in one go while the stream grows.
    cases.push_back(
        {"StreamCompressedAsItGrows", {{"/a.htm", pageLikeText(5000000, 4)}, {"/b.htm", randomBytes(70000, 5)}}});
    ContainerCase many{"ManyNamesNeedIndexChunks", {}};
    for (int i = 0; i < 700; ++i)
        many.files["/pages/topic-" + std::to_string(i) + ".htm"] =
            "page " + std::to_string(i) + pageLikeText(i % 50, 3);
    cases.push_back(std::move(many));
    cases.push_back(
        {"MixedCaseAndUtf8Names", {{"/Zeta.htm", "Z"}, {"/alpha.htm", "a"}, {"/Ünïcödé.htm", "u"}, {"/_x.htm", "_"}}});
    return cases;
}

class ContainerReadBack : public ::testing::TestWithParam<ContainerCase> {};

TEST_P(ContainerReadBack, EveryReaderGetsEveryFileByteForByte)
{
    const ContainerCase& c = GetParam();
    ChmContainer container(0x409, 2);
    container.setTimestamp(1);
    for (const auto& [name, data] : c.files)
        container.addFile(name, data);
    test::TempDir dir;
    const std::string path = dir.file("t.chm");
    {
        std::ofstream out(path, std::ios::binary);
        container.write(
            [&out](std::string_view bytes) { out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())); });
    }
    EXPECT_EQ(stored(test::readWithChmlib(path)), c.files) << "chmlib";
    EXPECT_EQ(stored(test::readWithMspack(path)), c.files) << "libmspack";
    EXPECT_EQ(stored(test::readWith7zip(path)), c.files) << "7-Zip";
    EXPECT_EQ(stored(readWithOurReader(path)), c.files) << "ChmArchive";
}

INSTANTIATE_TEST_SUITE_P(Cases, ContainerReadBack, ::testing::ValuesIn(containerCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ChmContainer, RefusesANameTwiceAndNamesWithoutRoot)
{
    ChmContainer container(0x409);
    container.addFile("/a.htm", "a");
    EXPECT_THROW(container.addFile("/a.htm", "b"), doxel::Error);
    EXPECT_THROW(container.addFile("a.htm", "b"), doxel::Error);
    EXPECT_THROW(container.addFile("/" + std::string(5000, 'x'), "b"), doxel::Error);
}

TEST(ChmContainer, EncodesNumbersSevenBitsAByteMostSignificantFirst)
{
    const std::pair<std::uint64_t, std::string> cases[] = {
        {0, std::string("\x00", 1)}, {0x7F, "\x7F"}, {0x80, std::string("\x81\x00", 2)}, {44406, "\x82\xDA\x76"}};
    for (const auto& [value, bytes] : cases) {
        std::string out;
        appendEncodedInt(out, value);
        EXPECT_EQ(out, bytes) << value;
    }
}

}  // namespace
}  // namespace doxel::chm
