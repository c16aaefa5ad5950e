#include "platform/desktop_apps.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "test_support.h"

namespace doxel {
namespace {

// GIO reads the desktop's application folders once per process; ctest runs
// every test in a process of its own.
TEST(DesktopApps, FindsTheHtmlEditorButNotTheWebBrowser)
{
    test::TempDir dir;
    const auto apps = dir.path() / "data" / "applications";
    test::writeFile(apps / "browser.desktop",
                    "[Desktop Entry]\nType=Application\nName=Browser\nExec=browser %u\n"
                    "Categories=Network;WebBrowser;\nMimeType=text/html;\n");
    test::writeFile(apps / "editor.desktop",
                    "[Desktop Entry]\nType=Application\nName=Editor\nExec=\"/bin/sh\" --edit %f\n"
                    "Categories=Development;TextEditor;\nMimeType=text/html;text/plain;\n");
    test::writeFile(apps / "mimeinfo.cache", "[MIME Cache]\ntext/html=browser.desktop;editor.desktop;\n");
    test::writeFile(dir.path() / "config" / "mimeapps.list", "[Default Applications]\ntext/html=browser.desktop\n");
    ::setenv("XDG_DATA_HOME", (dir.path() / "data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (dir.path() / "none").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (dir.path() / "none").c_str(), 1);

    EXPECT_EQ(findDesktopHtmlEditor(), "/bin/sh --edit %f");
}

}  // namespace
}  // namespace doxel
