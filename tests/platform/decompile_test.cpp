#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/project_file.h"
#include "import/project_import.h"
#include "output/compile_run.h"
#include "output/compiler_files.h"
#include "platform/child_process.h"
#include "platform/chm_reader.h"
#include "platform/chmcmd_compiler.h"
#include "test_support.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

class QuietHost final : public CompileHost {
public:
    void closeHelpViewers(const std::string&) override {}
    void keepAlive() override {}
    void addLogLine(const std::string& line) override { lines += line + "\n"; }
    void showProgressText(const std::string&) override {}
    void openHelpFile(const std::string&) override {}
    void viewLogFile() override {}
    void showSummary(const CompileStatistics&) override {}
    void showFailure(const std::string&) override {}
    std::string lines;
};

CompileResult compileProject(Project& project, const std::string& logFile, QuietHost& host)
{
    NullProgress progress;
    project.deriveCompilerFileNames();
    writeCompilerFiles(project, progress);
    ChmcmdCompiler compiler;
    MemorySettingsStore settings;
    CompileFiles files = compileFilesOf(project);
    files.logFile = logFile;
    return compileRun(compiler, settings, host, files);
}

// The project file from its [Window] section on: window, contents and
// index, paths relative to the project.
std::string storedStructure(const std::string& projectFile)
{
    const std::string text = test::readFile(projectFile);
    return text.substr(text.find("[Window]"));
}

TEST(Decompile, GivesBackTheSampleProjectThatTheHelpFileWasCompiledFrom)
{
    if (findProgram("chmcmd").empty())
        GTEST_SKIP() << "chmcmd (fp-utils) is not installed";
    test::TempDir dir;
    const std::string folder = dir.file("sample");
    fs::copy(fs::path(DOXEL_SOURCE_DIR) / "examples" / "sample", folder, fs::copy_options::recursive);
    Project sample;
    readProjectFile(sample, folder + "/sample.dxp");
    QuietHost host;
    ASSERT_TRUE(compileProject(sample, dir.file("log.txt"), host).succeeded) << host.lines;

    NullProgress progress;
    const auto open = [](const std::string& file) { return std::make_unique<ChmReader>(file); };
    const ImportReport report = runImport(folder + "/sample.chm", "", open, progress);
    EXPECT_EQ(report.projectFile, folder + "/sample/sample.dxp");
    EXPECT_TRUE(report.notes.empty()) << report.text();
    EXPECT_EQ(storedStructure(report.projectFile), storedStructure(folder + "/sample.dxp"));
    EXPECT_EQ(test::readFile(folder + "/sample/pages/busum.htm"), test::readFile(folder + "/pages/busum.htm"));

    // Compiled again, the decompiled project gives a help file of its own
    // beside it, never over the source.
    Project again;
    readProjectFile(again, report.projectFile);
    QuietHost second;
    const CompileResult result = compileProject(again, dir.file("log2.txt"), second);
    ASSERT_TRUE(result.succeeded);
    EXPECT_EQ(result.statistics.errors, 0) << second.lines;
    EXPECT_TRUE(fs::exists(folder + "/sample/sample.chm"));

    // A second decompile goes into a folder of its own; a named existing
    // project is never replaced.
    EXPECT_EQ(runImport(folder + "/sample.chm", "", open, progress).projectFile, folder + "/sample-2/sample.dxp");
    EXPECT_THROW(runImport(folder + "/sample.chm", folder + "/sample.dxp", open, progress), IoError);
    fs::remove(folder + "/sample.dxp");
    EXPECT_THROW(runImport(folder + "/sample.chm", folder + "/sample.dxp", open, progress),
                 IoError);  // would compile over it
    EXPECT_FALSE(fs::exists(folder + "/sample-3"));
}

}  // namespace
}  // namespace doxel
