#include "tools/replace_run.h"

#include <array>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/errors.h"
#include "test_support.h"
#include "tools/file_batch.h"
#include "tools/txt_to_html.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

struct stat statOf(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// Runs `job` in a child process and gives its exit status, or -1 when a
// signal ended it.
template <class Job>
int inChild(Job job)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(job());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ReplaceOptions options(const char* search, const char* replacement, bool backup = true)
{
    ReplaceOptions o;
    o.strings = {search, replacement, true};
    o.backup = backup;
    return o;
}

void expectNoTemporaryFiles(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << "temporary file left: " << entry.path();
}

TEST(ReplaceInFiles, ChangesTicksBackupsAndCounts)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "page.htm", "<BODY BGCOLOR=\"#FFFFFF\">\r\n");
    test::writeFile(dir.path() / "same.htm", "nothing\r\n");
    test::writeFile(dir.path() / "lf.txt", "nothing\n");
    fs::create_directory(dir.path() / "folder.htm");
    const std::vector<std::string> files = {dir.file("page.htm"), dir.file("same.htm"), dir.file("lf.txt"),
                                            dir.file("folder.htm"), dir.file("gone.htm")};
    std::vector<int> progress;
    ReplaceRunControl control;
    control.progress = [&](int n) { progress.push_back(n); };
    const ReplaceRunResult result =
        replaceInFiles(files, options("bgcolor=\"#ffffff\"", "BGCOLOR=\"#0080C0\""), control);

    EXPECT_EQ(result.processed, 3);
    EXPECT_EQ(result.changed, 1) << "only page.htm holds the search string";
    EXPECT_EQ(result.skipped, (std::vector<std::string>{dir.file("folder.htm"), dir.file("gone.htm")}));
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(test::readFile(dir.path() / "page.htm"), "<BODY BGCOLOR=\"#0080C0\">\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "page.htm.bak"), "<BODY BGCOLOR=\"#FFFFFF\">\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "same.htm.bak"), "nothing\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "lf.txt"), "nothing\n");
    EXPECT_EQ(test::readFile(dir.path() / "lf.txt.bak"), "nothing\n") << "every processed file gets a backup";
    EXPECT_FALSE(fs::equivalent(dir.path() / "same.htm", dir.path() / "same.htm.bak"))
        << "a backup that shares the file would follow its later edits";
    expectNoTemporaryFiles(dir.path());
}

TEST(ReplaceInFiles, AFileListedTwiceIsProcessedTwiceAndItsBackupHoldsTheMiddleState)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "page.htm", "axb");
    const ReplaceRunResult result = replaceInFiles({dir.file("page.htm"), dir.file("page.htm")}, options("x", "xx"));
    EXPECT_EQ(result.processed, 2);
    EXPECT_EQ(result.changed, 2);
    EXPECT_EQ(test::readFile(dir.path() / "page.htm"), "axxxxb\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "page.htm.bak"), "axxb\r\n");
}

TEST(ReplaceInFiles, WithoutBackupsNoCopyIsMade)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a.txt", "x");
    replaceInFiles({dir.file("a.txt")}, options("x", "y", false));
    EXPECT_EQ(test::readFile(dir.path() / "a.txt"), "y\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "a.txt.bak"));
}

// Nothing is lost: a read-only file, a file whose backup cannot be made and
// a file that cannot be read keep their bytes; the others are still done
// when the run goes on, and the run stops at the first failure when asked.
TEST(ReplaceInFiles, FailuresLeaveFilesAsTheyWere)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a.htm", "x");
    test::writeFile(dir.path() / "readonly.htm", "x");
    ::chmod(dir.file("readonly.htm").c_str(), 0444);
    test::writeFile(dir.path() / "nobackup.htm", "x");
    fs::create_directory(dir.path() / "nobackup.htm.bak");
    test::writeFile(dir.path() / "z.htm", "x");
    const std::vector<std::string> files = {dir.file("a.htm"), dir.file("readonly.htm"), dir.file("nobackup.htm"),
                                            dir.file("z.htm")};

    ReplaceRunControl goOn;
    goOn.stopAtFailure = false;
    const ReplaceRunResult result = replaceInFiles(files, options("x", "y"), goOn);
    EXPECT_EQ(result.processed, 4);
    EXPECT_EQ(result.changed, 2);
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.failures[0].file, dir.file("readonly.htm"));
    EXPECT_NE(result.failures[0].message.find("Permission denied"), std::string::npos) << result.failures[0].message;
    EXPECT_EQ(result.failures[1].file, dir.file("nobackup.htm"));
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(test::readFile(dir.path() / "readonly.htm"), "x");
    EXPECT_EQ(test::readFile(dir.path() / "nobackup.htm"), "x");
    EXPECT_EQ(test::readFile(dir.path() / "a.htm"), "y\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "z.htm"), "y\r\n");
    expectNoTemporaryFiles(dir.path());

    test::writeFile(dir.path() / "a.htm", "x");
    test::writeFile(dir.path() / "z.htm", "x");
    const ReplaceRunResult stopped = replaceInFiles(files, options("x", "y"));
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.processed, 2);
    EXPECT_EQ(stopped.changed, 1);
    EXPECT_EQ(test::readFile(dir.path() / "a.htm"), "y\r\n") << "files done before the failure stay changed";
    EXPECT_EQ(test::readFile(dir.path() / "z.htm"), "x");
}

// Pictures, programs and wide text are not text: skipped with a note, even
// when their bytes hold the search string. A text file without the search
// string is not rewritten at all (same inode, same time).
TEST(ReplaceInFiles, LeavesNonTextAndFilesWithoutTheSearchStringUntouched)
{
    test::TempDir dir;
    const struct {
        const char* name;
        std::string bytes;
        bool text;
    } files[] = {
        {"photo.htm", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11), false},
        {"prog.txt",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0JFIF",
                     12),
         false},
        {"wide.txt", std::string("\xFF\xFEJ\0F\0I\0F\0\r\0\n\0", 14), false},
        {"lf.htm", "no match here\n", true},
        {"open.htm", "a\r\nno line end", true},
        {"cr.txt", "a\rb\r", true},
    };
    std::vector<std::string> paths;
    std::vector<struct stat> before;
    for (const auto& f : files) {
        test::writeFile(dir.path() / f.name, f.bytes);
        ::utimensat(AT_FDCWD, dir.file(f.name).c_str(), std::array<timespec, 2>{{{1, 0}, {1, 0}}}.data(), 0);
        paths.push_back(dir.file(f.name));
        before.push_back(statOf(dir.path() / f.name));
    }
    const ReplaceRunResult result = replaceInFiles(paths, options("jfif", "xx"));
    EXPECT_EQ(result.processed, 3);
    EXPECT_EQ(result.changed, 0);
    EXPECT_EQ(result.notes.size(), 3u);
    EXPECT_TRUE(result.failures.empty());
    for (std::size_t i = 0; i < std::size(files); ++i) {
        const auto& f = files[i];
        EXPECT_EQ(test::readFile(dir.path() / f.name), f.bytes) << f.name;
        const struct stat after = statOf(dir.path() / f.name);
        EXPECT_EQ(after.st_ino, before[i].st_ino) << f.name;
        EXPECT_EQ(after.st_mtim.tv_sec, 1) << f.name;
        EXPECT_EQ(fs::exists(dir.path() / (std::string(f.name) + ".bak")), f.text) << f.name;
    }
}

// What a file is beside its bytes stays: permission bits, owner and group,
// its other hard links, a symbolic link that names it.
TEST(ReplaceInFiles, KeepsModeOwnerLinksAndSymbolicLinks)
{
    test::TempDir dir;
    const bool root = ::geteuid() == 0;
    test::writeFile(dir.path() / "mode.htm", "x\n");
    ::chmod(dir.file("mode.htm").c_str(), 02640);
    test::writeFile(dir.path() / "owned.htm", "x\n");
    if (root) {
        ASSERT_EQ(::chown(dir.file("owned.htm").c_str(), 4321, 4322), 0);
    }
    test::writeFile(dir.path() / "linked.htm", "x\n");
    fs::create_hard_link(dir.path() / "linked.htm", dir.path() / "other-name.txt");
    const ino_t linkedInode = statOf(dir.path() / "linked.htm").st_ino;
    test::writeFile(dir.path() / "target.htm", "x\n");
    fs::create_symlink("target.htm", dir.path() / "symbolic.htm");

    const ReplaceRunResult result =
        replaceInFiles({dir.file("mode.htm"), dir.file("owned.htm"), dir.file("linked.htm"), dir.file("symbolic.htm")},
                       options("x", "y"));
    EXPECT_TRUE(result.failures.empty()) << result.failures.front().message;
    EXPECT_EQ(result.changed, 4);
    for (const char* name : {"mode.htm", "owned.htm", "linked.htm", "other-name.txt", "target.htm"})
        EXPECT_EQ(test::readFile(dir.path() / name), "y\n") << name;
    EXPECT_EQ(statOf(dir.path() / "mode.htm").st_mode & 07777, 02640u);
    if (root) {
        EXPECT_EQ(statOf(dir.path() / "owned.htm").st_uid, 4321u);
        EXPECT_EQ(statOf(dir.path() / "owned.htm").st_gid, 4322u);
    }
    EXPECT_EQ(statOf(dir.path() / "linked.htm").st_ino, linkedInode) << "written in place";
    EXPECT_EQ(statOf(dir.path() / "linked.htm").st_nlink, 2u);
    EXPECT_EQ(test::readFile(dir.path() / "linked.htm.bak"), "x\n") << "the backup is a copy, not a link";
    EXPECT_TRUE(fs::is_symlink(dir.path() / "symbolic.htm"));
    EXPECT_EQ(test::readFile(dir.path() / "symbolic.htm.bak"), "x\n");
    expectNoTemporaryFiles(dir.path());
}

// A file we may write in a folder we may not: changed in place when no
// backup is asked for; with backups on, the backup cannot be made, so the
// file stays as it was and the failure says so.
TEST(ReplaceInFiles, AFileInAFolderWeCannotWriteIsWrittenInPlace)
{
    test::TempDir dir;
    const fs::path folder = dir.path() / "locked";
    test::writeFile(folder / "a.htm", "x\r\n");
    test::writeFile(folder / "b.htm", "x\r\n");
    ::chmod(folder.c_str(), 0555);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod((folder / "a.htm").c_str(), 0666);
    ::chmod((folder / "b.htm").c_str(), 0666);
    const int status = inChild([&] {
        // Root may write any folder; an ordinary user may not.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 10;
        const ReplaceRunResult plain = replaceInFiles({(folder / "a.htm").string()}, options("x", "y", false));
        if (!plain.failures.empty() || plain.changed != 1)
            return 11;
        const ReplaceRunResult backedUp = replaceInFiles({(folder / "b.htm").string()}, options("x", "y"));
        return backedUp.failures.size() == 1 && backedUp.changed == 0 ? 0 : 12;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::readFile(folder / "a.htm"), "y\r\n");
    EXPECT_EQ(test::readFile(folder / "b.htm"), "x\r\n");
    ::chmod(folder.c_str(), 0755);
    expectNoTemporaryFiles(folder);
}

// One file under several names is one file: each pass starts from what
// the one before left, as with a file listed twice.
TEST(ReplaceInFiles, OneFileUnderTwoNamesIsReadAfreshForEachName)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "t.htm", "x");
    fs::create_hard_link(dir.path() / "t.htm", dir.path() / "l.htm");
    test::writeFile(dir.path() / "u.htm", "x");
    const std::string dotted = (dir.path() / "." / "u.htm").string();
    const ReplaceRunResult result =
        replaceInFiles({dir.file("t.htm"), dir.file("l.htm"), dir.file("u.htm"), dotted, dir.file("u.htm")},
                       options("x", "xx", false));
    EXPECT_EQ(result.processed, 5);
    EXPECT_EQ(result.changed, 5);
    EXPECT_EQ(test::readFile(dir.path() / "t.htm"), "xxxx\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "u.htm"), "xxxxxxxx\r\n");
}

// Another program appends to a file after it was read: the file keeps
// that change and is reported; the other files are still done.
TEST(ReplaceInFiles, AFileChangedDuringTheRunIsLeftAndReported)
{
    for (const bool backup : {false, true}) {
        test::TempDir dir;
        test::writeFile(dir.path() / "a.htm", "x\r\n");
        test::writeFile(dir.path() / "b.htm", "x\r\n");
        ReplaceRunControl control;
        control.stopAtFailure = false;
        control.progress = [&](int processed) {
            if (processed == 2)
                std::ofstream(dir.path() / "a.htm", std::ios::app) << "appended\r\n";
        };
        const ReplaceRunResult result =
            replaceInFiles({dir.file("a.htm"), dir.file("b.htm")}, options("x", "y", backup), control);
        ASSERT_EQ(result.failures.size(), 1u) << backup;
        EXPECT_EQ(result.failures[0].file, dir.file("a.htm"));
        EXPECT_NE(result.failures[0].message.find("changed"), std::string::npos) << result.failures[0].message;
        EXPECT_EQ(result.changed, 1);
        EXPECT_EQ(test::readFile(dir.path() / "a.htm"), "x\r\nappended\r\n");
        EXPECT_EQ(test::readFile(dir.path() / "b.htm"), "y\r\n");
        expectNoTemporaryFiles(dir.path());
    }
}

// Temporary files a killed run left beside the files it wrote go on the
// next run over those files; anything else that looks alike stays.
TEST(ReplaceInFiles, RemovesLeftoversOfAnEarlierRunOnly)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "page.htm", "x\r\n");
    const timespec hourAgo{std::time(nullptr) - 3600, 0};
    const timespec hourAhead{std::time(nullptr) + 3600, 0};
    const struct {
        const char* name;
        timespec modified;
        bool removed;
    } files[] = {
        {".page.htm.AbC123", hourAgo, true},    {".page.htm.bak.Zz9999", hourAgo, true},
        {".page.htm.AbC12", hourAgo, false},     // not our pattern
        {".page.htm.AbC-23", hourAgo, false},    // not our pattern
        {".other.htm.AbC123", hourAgo, false},   // not a file of this run
        {".page.htm.NeW123", hourAhead, false},  // newer than the run: another run's
    };
    for (const auto& f : files) {
        test::writeFile(dir.path() / f.name, "half");
        const timespec times[2] = {f.modified, f.modified};
        ::utimensat(AT_FDCWD, dir.file(f.name).c_str(), times, 0);
    }
    replaceInFiles({dir.file("page.htm")}, options("x", "y"));
    for (const auto& f : files)
        EXPECT_EQ(fs::exists(dir.path() / f.name), !f.removed) << f.name;
    EXPECT_EQ(test::readFile(dir.path() / "page.htm"), "y\r\n");
}

// A file grown past the size limit fails with its name, like any write
// error, instead of the signal ending the program; a page names itself.
TEST(ToolWrites, AFileOverTheSizeLimitIsReportedByName)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "big.htm", "x\r\n");
    test::writeFile(dir.path() / "big.txt", std::string(64, 'x'));
    const int status = inChild([&] {
        const rlimit limit{32, 32};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ReplaceRunControl go;
        go.stopAtFailure = false;
        const ReplaceRunResult replaced =
            replaceInFiles({dir.file("big.htm")}, options("x", std::string(40, 'y').c_str(), false), go);
        if (replaced.failures.size() != 1 || replaced.failures[0].message.find("big.htm") == std::string::npos)
            return 11;
        ConversionControl convertGo;
        convertGo.stopAtFailure = false;
        const ConversionResult converted = convertFiles({dir.file("big.txt")}, PageOptions{}, convertGo);
        if (converted.failures.size() != 1 ||
            converted.failures[0].message.find("Cannot write " + dir.file("big.htm")) == std::string::npos)
            return 12;
        return 0;
    });
    EXPECT_EQ(status, 0) << "-1: the signal ended the run";
    EXPECT_EQ(test::readFile(dir.path() / "big.htm"), "x\r\n");
    expectNoTemporaryFiles(dir.path());
}

TEST(FileBatch, RenamesOnlyAtCommitAndNeverAfterAFailedPredecessor)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "a", "old");
    FileBatch batch;
    batch.add(dir.file("a"), "a", "new");
    EXPECT_EQ(test::readFile(dir.path() / "a"), "old") << "nothing reaches its name before the commit";
    EXPECT_THROW(batch.add(dir.file("missing/b"), "b", "x"), IoError);
    EXPECT_EQ(batch.size(), 1u);
    batch.add(dir.file("c"), "c", "c");
    batch.add(dir.file("c-after"), "c-after", "x", true);
    batch.add(dir.file("f"), "f", "f");
    fs::create_directories(dir.path() / "c" / "inside");  // a rename over a full folder fails
    const auto failures = batch.commit();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].file, "c");
    EXPECT_EQ(test::readFile(dir.path() / "a"), "new");
    EXPECT_FALSE(fs::exists(dir.path() / "c-after")) << "it waits for the file before it";
    EXPECT_EQ(test::readFile(dir.path() / "f"), "f");
    expectNoTemporaryFiles(dir.path());
}

}  // namespace
}  // namespace doxel
