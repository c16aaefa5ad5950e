#include "tools/replace_run.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/errors.h"
#include "test_support.h"
#include "tools/file_batch.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

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
    EXPECT_EQ(result.changed, 2) << "page.htm and the LF file, whose line end becomes CR LF";
    EXPECT_EQ(result.skipped, (std::vector<std::string>{dir.file("folder.htm"), dir.file("gone.htm")}));
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(test::readFile(dir.path() / "page.htm"), "<BODY BGCOLOR=\"#0080C0\">\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "page.htm.bak"), "<BODY BGCOLOR=\"#FFFFFF\">\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "same.htm.bak"), "nothing\r\n");
    EXPECT_EQ(test::readFile(dir.path() / "lf.txt"), "nothing\n\r\n");
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
