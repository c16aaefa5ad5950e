#include "platform/file_association.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/program_paths.h"
#include "test_support.h"

namespace doxel {
namespace {

TEST(FileAssociation, RegistersTypeDesktopEntryAndDefaultUnderTheUsersFolders)
{
    test::TempDir dir;
    const AssociationFolders folders{dir.file("data"), dir.file("config")};
    test::writeFile(
        dir.path() / "config" / "mimeapps.list",
        "[Default Applications]\ntext/html=firefox.desktop\n\n[Added Associations]\ntext/plain=gedit.desktop\n");

    EXPECT_EQ(registerFileAssociation("/opt/My Apps/doxel", "/opt/My Apps/html-doxel.svg", folders), "");

    const std::string package = test::readFile(dir.path() / "data" / "mime" / "packages" / "html-doxel.xml");
    EXPECT_NE(package.find("type=\"application/x-htmldoxel-project\""), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.dxp\"/>"), std::string::npos);
    const std::string entry = test::readFile(dir.path() / "data" / "applications" / "html-doxel.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/My Apps/doxel\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("Icon=/opt/My Apps/html-doxel.svg\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-htmldoxel-project;\n"), std::string::npos);
    EXPECT_EQ(
        test::readFile(dir.path() / "config" / "mimeapps.list"),
        "[Default Applications]\ntext/html=firefox.desktop\napplication/x-htmldoxel-project=html-doxel.desktop\n\n"
        "[Added Associations]\ntext/plain=gedit.desktop\n");

    // Starting the program from elsewhere re-points the association.
    EXPECT_EQ(registerFileAssociation("/usr/bin/doxel", "/usr/share/icons/d.svg", folders), "");
    EXPECT_NE(
        test::readFile(dir.path() / "data" / "applications" / "html-doxel.desktop").find("Exec=\"/usr/bin/doxel\" %f"),
        std::string::npos);
    const std::string list = test::readFile(dir.path() / "config" / "mimeapps.list");
    EXPECT_EQ(list.find("application/x-htmldoxel-project"), list.rfind("application/x-htmldoxel-project"));
}

TEST(FileAssociation, EscapesProgramPathsForTheDesktopEntry)
{
    EXPECT_NE(desktopEntryText("/a\\b/$x \"q\" 100%", "i").find("Exec=\"/a\\\\\\\\b/\\\\$x \\\\\"q\\\\\" 100%%\" %f"),
              std::string::npos);
    EXPECT_EQ(mimeAppsWithDefault(""), "[Default Applications]\napplication/x-htmldoxel-project=html-doxel.desktop\n");
}

TEST(FileAssociation, NeverReplacesAMimeAppsListItCannotRead)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "config" / "mimeapps.list" / "inside");
    const AssociationFolders folders{dir.file("data"), dir.file("config")};
    EXPECT_NE(registerFileAssociation("/usr/bin/doxel", "i", folders), "");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "config" / "mimeapps.list" / "inside"));
}

TEST(FileAssociation, ReportsARefusedWriteInsteadOfFailing)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "data", "a file where a folder should be");
    const AssociationFolders folders{dir.file("data"), dir.file("config")};
    EXPECT_NE(registerFileAssociation("/usr/bin/doxel", "i", folders), "");
}

}  // namespace
}  // namespace doxel

namespace doxel {
namespace {

// An installation under `prefix`: the program, and as many of its shared
// files as asked for.
void makeInstallation(const std::filesystem::path& prefix, bool desktopEntry, bool mimePackage)
{
    test::writeFile(prefix / "bin" / "doxel", "");
    std::filesystem::create_directories(prefix / "share" / "html-doxel");
    if (desktopEntry)
        test::writeFile(prefix / "share" / "applications" / "html-doxel.desktop", "[Desktop Entry]\n");
    if (mimePackage)
        test::writeFile(prefix / "share" / "mime" / "packages" / "html-doxel.xml", "<mime-info/>\n");
}

TEST(FileAssociation, AnInstallationWhoseFilesTheDesktopReadsNeedsNoneOfTheUsers)
{
    struct Case {
        const char* name;
        bool desktopEntry;
        bool mimePackage;
        const char* program;   // below the temporary folder
        const char* dataDirs;  // "@" stands for the temporary folder
        const char* dataHome;
        bool provided;
    };
    const Case cases[] = {
        {"installed and listed", true, true, "usr/bin/doxel", "/nowhere:@/usr/share", "", true},
        {"listed with a final slash", true, true, "usr/bin/doxel", "@/usr/share/", "", true},
        {"listed through a dot", true, true, "usr/bin/doxel", "@/usr/./share", "", true},
        {"installed into the user's data home", true, true, "usr/bin/doxel", "/usr/share", "@/usr/share", true},
        {"share not read by the desktop", true, true, "usr/bin/doxel", "/usr/share", "/home/u/.local/share", false},
        {"relative folder ignored", true, true, "usr/bin/doxel", "usr/share", "", false},
        {"no desktop entry", false, true, "usr/bin/doxel", "@/usr/share", "", false},
        {"no project type", true, false, "usr/bin/doxel", "@/usr/share", "", false},
        {"build tree", true, true, "usr/build/doxel", "@/usr/share", "", false},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        makeInstallation(dir.path() / "usr", c.desktopEntry, c.mimePackage);
        std::filesystem::create_directories(dir.path() / "usr" / "build");
        const auto expand = [&](std::string text) {
            if (const auto at = text.find('@'); at != std::string::npos)
                text.replace(at, 1, dir.path().string());
            return text;
        };
        EXPECT_EQ(installationProvidesAssociation(dir.file(c.program), expand(c.dataDirs), expand(c.dataHome)),
                  c.provided)
            << c.name;
    }

    // A program copied next to the files an earlier start wrote for the
    // user is no installation.
    test::TempDir dir;
    makeInstallation(dir.path() / "local", true, true);
    std::filesystem::remove(dir.path() / "local" / "share" / "html-doxel");
    EXPECT_FALSE(installationProvidesAssociation(dir.file("local/bin/doxel"), "", dir.file("local/share")));
}

TEST(FileAssociation, RemovesOnlyTheUsersFilesTheProgramWrote)
{
    test::TempDir dir;
    const AssociationFolders folders{dir.file("data"), dir.file("config")};
    ASSERT_EQ(registerFileAssociation("/home/u/build/doxel", "/home/u/build/icons/html-doxel.svg", folders), "");
    const auto entry = dir.path() / "data" / "applications" / "html-doxel.desktop";
    const auto package = dir.path() / "data" / "mime" / "packages" / "html-doxel.xml";
    const auto mimeApps = dir.path() / "config" / "mimeapps.list";
    const std::string list = test::readFile(mimeApps);

    EXPECT_EQ(removeUserFileAssociation(folders), "");
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_FALSE(std::filesystem::exists(package));
    EXPECT_EQ(test::readFile(mimeApps), list);
    EXPECT_EQ(removeUserFileAssociation(folders), "");  // nothing left to remove

    // A desktop entry the user changed is theirs now.
    test::writeFile(entry, desktopEntryText("/opt/doxel", "i") + "NoDisplay=true\n");
    test::writeFile(package, "<mime-info/>\n");
    EXPECT_EQ(removeUserFileAssociation(folders), "");
    EXPECT_TRUE(std::filesystem::exists(entry));
    EXPECT_TRUE(std::filesystem::exists(package));
}

TEST(ProgramPaths, AnInstalledProgramWritesIntoTheUsersFolderEvenWhereItMayWrite)
{
    test::TempDir dir;
    makeInstallation(dir.path() / "usr", true, true);
    test::writeFile(dir.path() / "build" / "doxel", "");
    const std::string dataHome = dir.file("home-data");
    const char* before = std::getenv("XDG_DATA_HOME");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);

    EXPECT_EQ(installationPrefix(dir.file("usr/bin/doxel")), dir.file("usr"));
    EXPECT_EQ(installationPrefix(dir.file("build/doxel")), "");
    EXPECT_EQ(programDataFolder(dir.file("usr/bin/doxel")), dataHome + "/html-doxel/");
    EXPECT_TRUE(std::filesystem::is_directory(dataHome + "/html-doxel"));
    EXPECT_EQ(programDataFolder(dir.file("build/doxel")), dir.file("build") + "/");
    if (before != nullptr)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace doxel
