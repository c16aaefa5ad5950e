#include "platform/chm_viewer.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "env/file_version.h"
#include "platform/child_process.h"

namespace doxel {
namespace {

TEST(ChmViewer, PackageVersionsAsFourNumbers)
{
    struct Case {
        const char* package;
        const char* upstream;
        const char* four;
    };
    const Case cases[] = {
        {"7.7-1+b1", "7.7", "7.7.0.0"},
        {"1:2.0.3-4", "2.0.3", "2.0.3.0"},
        {"1.2.3.4.5-1", "1.2.3.4.5", "1.2.3.4"},
        {"8.2.1+dfsg-2", "8.2.1+dfsg", "8.2.1.0"},
        {"20230101", "20230101", ""},  // above 65535: no version of four numbers
        {"2:1.0~rc1-3", "1.0~rc1", "1.0.0.0"},
        {"git20200101-1", "git20200101", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(upstreamVersion(c.package), c.upstream) << c.package;
        EXPECT_EQ(fourPartVersion(c.package), c.four) << c.package;
    }
}

TEST(ChmViewer, TheInstalledViewerHasANameAndAVersion)
{
    const ComponentVersion viewer = desktopChmViewerVersion();
    if (viewer.text.empty())
        GTEST_SKIP() << "no CHM viewer set up on this desktop";
    FileVersion version;
    EXPECT_TRUE(parseFileVersion(viewer.text, version)) << viewer.text;
    EXPECT_FALSE(viewer.friendlyName.empty());
    // The start-up's cheap look names the same viewer.
    const ComponentVersion present = desktopChmViewerPresence();
    EXPECT_EQ(present.text, "0.0.0.0");
    EXPECT_TRUE(viewer.friendlyName.starts_with(present.friendlyName)) << present.friendlyName;
}

TEST(ChmViewer, StartedProgramsReportTheSystemError)
{
    EXPECT_EQ(startDetachedProgram("true", "-a \"b c\""), 0);
    EXPECT_EQ(startDetachedProgram("/nonexistent/KeyHH.EXE", "-win"), ENOENT);
    EXPECT_EQ(startDetachedProgram("/etc", ""), EACCES);  // a folder
}

TEST(ChmViewer, ProgramArgumentsStartWithTheProgram)
{
    const std::vector<std::string> arguments = programArguments();
    ASSERT_FALSE(arguments.empty());
    EXPECT_NE(arguments[0].find("doxel_chm_tools_tests"), std::string::npos);
}

}  // namespace
}  // namespace doxel
