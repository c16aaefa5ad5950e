#include "platform/desktop_apps.h"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace doxel {
namespace {

struct DesktopFile {
    std::string name;
    std::string contents;
};

const DesktopFile kBrowser{"browser.desktop",
                           "[Desktop Entry]\nType=Application\nName=Browser\nExec=browser %u\n"
                           "Categories=Network;WebBrowser;\nMimeType=text/html;\n"};
const DesktopFile kEditor{"editor.desktop",
                          "[Desktop Entry]\nType=Application\nName=Editor\nExec=\"/bin/sh\" --edit %f\n"
                          "Categories=Development;TextEditor;\nMimeType=text/html;text/plain;\n"};
const DesktopFile kVim{"vim.desktop",
                       "[Desktop Entry]\nType=Application\nName=Vim\nExec=/bin/sh %F\nTerminal=true\n"
                       "Categories=Utility;TextEditor;\nMimeType=text/html;text/plain;\n"};

// Makes the given applications the only ones the desktop knows for
// "text/html", in this order, the first one the default.
void useApplications(const test::TempDir& dir, const std::vector<DesktopFile>& files)
{
    const auto apps = dir.path() / "data" / "applications";
    std::string cache = "[MIME Cache]\ntext/html=";
    for (const auto& file : files) {
        test::writeFile(apps / file.name, file.contents);
        cache += file.name + ";";
    }
    test::writeFile(apps / "mimeinfo.cache", cache + "\n");
    test::writeFile(dir.path() / "config" / "mimeapps.list",
                    "[Default Applications]\ntext/html=" + files.front().name + "\n");
    ::setenv("XDG_DATA_HOME", (dir.path() / "data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (dir.path() / "none").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (dir.path() / "none").c_str(), 1);
}

// GIO reads the desktop's application folders once per process; ctest runs
// every test in a process of its own, so each test sets up one desktop.
TEST(DesktopApps, FindsTheHtmlEditorButNotTheWebBrowser)
{
    test::TempDir dir;
    useApplications(dir, {kBrowser, kEditor});
    EXPECT_EQ(findDesktopHtmlEditor(), "/bin/sh --edit %f");
}

TEST(DesktopApps, PassesOverATerminalEditorEvenWhenItIsTheDefault)
{
    test::TempDir dir;
    useApplications(dir, {kVim, kBrowser, kEditor});
    EXPECT_EQ(findDesktopHtmlEditor(), "/bin/sh --edit %f");
}

TEST(DesktopApps, FindsNoEditorWhenOnlyATerminalOneIsThere)
{
    test::TempDir dir;
    useApplications(dir, {kVim, kBrowser});
    EXPECT_EQ(findDesktopHtmlEditor(), "");
}

}  // namespace
}  // namespace doxel
