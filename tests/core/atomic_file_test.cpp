#include "core/atomic_file.h"

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesASymbolicLinkInsteadOfWritingThroughIt)
{
    test::TempDir dir;
    fs::create_directory(dir.path() / "project");
    test::writeFile(dir.path() / "victim.txt", "the author's own text");
    struct Case {
        std::string name;
        std::string linkTarget;
    };
    const Case cases[] = {
        {"sample.hhk", "../victim.txt"},
        {"sample.chm", dir.file("victim.txt")},
        {"dangling.dxp", "../nowhere.txt"},
    };
    for (const Case& c : cases) {
        const fs::path link = dir.path() / "project" / c.name;
        fs::create_symlink(c.linkTarget, link);
        writeFileAtomically(link.string(), "ours");
        EXPECT_FALSE(fs::is_symlink(link)) << c.name;
        EXPECT_EQ(test::readFile(link), "ours") << c.name;
    }
    EXPECT_EQ(test::readFile(dir.path() / "victim.txt"), "the author's own text");
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere.txt"));
}

TEST(AtomicFile, RefusesWhatItCannotReplaceAndKeepsIt)
{
    test::TempDir dir;
    const std::string readOnly = dir.file("kept.dxp");
    test::writeFile(readOnly, "old");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(dir.path() / "folder.dxp");
    ASSERT_EQ(::mkfifo(dir.file("pipe.dxp").c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::string says;
    };
    const Case cases[] = {
        {readOnly, "Cannot write " + readOnly + ": Permission denied"},
        {dir.file("folder.dxp"), "a folder of that name is in the way"},
        {dir.file("pipe.dxp"), "not a regular file"},
    };
    for (const Case& c : cases) {
        try {
            writeFileAtomically(c.path, "new");
            ADD_FAILURE() << "written: " << c.path;
        } catch (const IoError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(test::readFile(readOnly), "old");
    EXPECT_EQ(fs::status(readOnly).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe.dxp")));
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
}

// A text written in pieces replaces the old file only when it is whole; one
// given up half way leaves the old file and no temporary file behind.
TEST(AtomicFile, PiecesReplaceTheFileOnlyOnCommit)
{
    test::TempDir dir;
    const std::string path = dir.file("guide.hhc");
    test::writeFile(path, "old");
    const auto hiddenFiles = [&dir] {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            count += entry.path().filename().string().starts_with(".") ? 1 : 0;
        return count;
    };
    {
        AtomicFileWriter file(path);
        file.write("new ");
        EXPECT_EQ(hiddenFiles(), 1);
        EXPECT_EQ(test::readFile(path), "old");
    }
    EXPECT_EQ(hiddenFiles(), 0);
    EXPECT_EQ(test::readFile(path), "old");

    AtomicFileWriter file(path);
    for (const char* piece : {"new ", "", "text"})
        file.write(piece);
    EXPECT_EQ(test::readFile(path), "old");
    file.commit();
    EXPECT_EQ(test::readFile(path), "new text");
    EXPECT_EQ(hiddenFiles(), 0);
    EXPECT_THROW(file.write("more"), IoError);  // a committed file is closed
    EXPECT_THROW(file.commit(), IoError);
    EXPECT_EQ(test::readFile(path), "new text");
}

// Pieces written behind arrive in order and the file is in place only once
// committed; a write that fails on the other thread (here the process's
// file size limit) reaches the caller, and the old file stays.
TEST(AtomicFile, WritesBehindInOrderAndReportsAFailedWrite)
{
    test::TempDir dir;
    const std::string path = dir.file("guide.hhc");
    test::writeFile(path, "old");
    std::string expected;
    {
        WriteBehind behind(path);
        for (int i = 0; i < 200; ++i) {
            std::string piece(static_cast<std::size_t>(i % 7) * 1000, static_cast<char>('a' + i % 26));
            expected += piece;
            behind.hand(piece);
            EXPECT_TRUE(piece.empty());
        }
        EXPECT_EQ(test::readFile(path), "old");
        behind.commit();
        behind.finish();
        EXPECT_EQ(test::readFile(path), expected);
    }
    {
        WriteBehind uncommitted(path);
        std::string piece = "never in place";
        uncommitted.hand(piece);
        uncommitted.finish();
    }
    EXPECT_EQ(test::readFile(path), expected);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto fails = [&path] {
        WriteBehind behind(path);
        for (int i = 0; i < 8; ++i) {
            std::string piece(3000, 'x');
            behind.hand(piece);
        }
        behind.commit();
        behind.finish();
    };
    EXPECT_THROW(fails(), IoError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_EQ(test::readFile(path), expected);
}

TEST(AtomicFile, ReadsOnlyRegularFiles)
{
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("x.dxp").c_str(), 0600), 0);
    fs::create_directory(dir.path() / "folder.dxp");
    for (const std::string& path : {dir.file("x.dxp"), dir.file("folder.dxp")})
        EXPECT_THROW(readWholeFile(path, 1024), IoError) << path;
    test::writeFile(dir.path() / "real.dxp", "bytes");
    EXPECT_EQ(readWholeFile(dir.file("real.dxp"), 1024), "bytes");
}

TEST(AtomicFile, RemovesOnlyItsOwnStaleTemporaryFiles)
{
    test::TempDir dir;
    const auto now = fs::file_time_type::clock::now();
    using std::chrono::minutes;
    struct Case {
        std::string name;
        minutes age;  // how long before now it was last written
        bool removed;
    };
    const Case cases[] = {
        {".sample.dxp.aB3dE9", minutes(120), true},
        {".page.htm.Q7x2Lm", minutes(5), true},
        {".sample.dxp.aB3dE8", minutes(0), false},    // may be another window's save in flight
        {".vimrc.backup", minutes(120), false},       // a word, not mkstemp's letters
        {".orphan.htm.Zz9Zz9", minutes(120), false},  // no file of that name beside it
        {".sample.dxp.aB3d", minutes(120), false},
        {"sample.dxp.aB3dE7", minutes(120), false},
        {".sample-doxel-Xy12Zq.hhc", minutes(120), true},  // a killed compile's input file
        {".sample-doxel-Xy12Zq.hhp", minutes(30), false},  // perhaps another window's compile
        {".sample-doxel-backup.hhk", minutes(120), false},
        {".sample-other-Xy12Zq.hhk", minutes(120), false},
    };
    for (const char* kept : {"sample.dxp", "page.htm", "vimrc"})
        test::writeFile(dir.path() / kept, "author");
    for (const Case& c : cases) {
        test::writeFile(dir.path() / c.name, "left over");
        fs::last_write_time(dir.path() / c.name, now - c.age);
    }
    fs::create_symlink("sample.dxp", dir.path() / ".sample.dxp.Link42");
    EXPECT_EQ(removeStaleTemporaryFiles(dir.path().string()), 3);
    for (const Case& c : cases)
        EXPECT_EQ(fs::exists(dir.path() / c.name), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_symlink(dir.path() / ".sample.dxp.Link42"));
    for (const char* kept : {"sample.dxp", "page.htm", "vimrc"})
        EXPECT_EQ(test::readFile(dir.path() / kept), "author");
}

TEST(Errors, EscapesControlCharactersInEveryMessage)
{
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"plain name.htm", "plain name.htm"},
        {"\x1b]0;owned\x07title", "\\x1b]0;owned\\x07title"},
        {"clear\x1b[2J", "clear\\x1b[2J"},
        {"two\nlines\tand tab", "two\nlines\tand tab"},
        {"del\x7f", "del\\x7f"},
        {"csi \xc2\x9b"
         "31m",
         "csi \\u009b31m"},
        {"lone \x9b byte", "lone \\x9b byte"},
        {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},
        {"cr\rback", "cr\\x0dback"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(escapeControls(c.text), c.shown);
        EXPECT_EQ(IoError("Cannot read " + c.text).what(), "Cannot read " + c.shown);
    }
    EXPECT_EQ(std::string(FormatError("a\x1b.dxp", 3, "bad").what()), "a\\x1b.dxp, line 3: bad");
}

}  // namespace
}  // namespace doxel
