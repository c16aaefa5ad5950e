#include "platform/file_association.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace doxel {
namespace {

TEST(FileAssociation, RegistersTypeDesktopEntryAndDefaultUnderTheUsersFolders)
{
    test::TempDir dir;
    const AssociationFolders folders{dir.file("data"), dir.file("config")};
    test::writeFile(dir.path() / "config" / "mimeapps.list",
                    "[Default Applications]\ntext/html=firefox.desktop\n\n[Added Associations]\ntext/plain=gedit.desktop\n");

    EXPECT_EQ(RegisterFileAssociation("/opt/My Apps/doxel", "/opt/My Apps/html-doxel.svg", folders), "");

    const std::string package = test::readFile(dir.path() / "data" / "mime" / "packages" / "html-doxel.xml");
    EXPECT_NE(package.find("type=\"application/x-htmldoxel-project\""), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.dxp\"/>"), std::string::npos);
    const std::string entry = test::readFile(dir.path() / "data" / "applications" / "html-doxel.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/My Apps/doxel\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("Icon=/opt/My Apps/html-doxel.svg\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-htmldoxel-project;\n"), std::string::npos);
    EXPECT_EQ(test::readFile(dir.path() / "config" / "mimeapps.list"),
              "[Default Applications]\ntext/html=firefox.desktop\napplication/x-htmldoxel-project=html-doxel.desktop\n\n"
              "[Added Associations]\ntext/plain=gedit.desktop\n");

    // Starting the program from elsewhere re-points the association.
    EXPECT_EQ(RegisterFileAssociation("/usr/bin/doxel", "/usr/share/icons/d.svg", folders), "");
    EXPECT_NE(test::readFile(dir.path() / "data" / "applications" / "html-doxel.desktop").find("Exec=\"/usr/bin/doxel\" %f"),
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
    EXPECT_NE(RegisterFileAssociation("/usr/bin/doxel", "i", folders), "");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "config" / "mimeapps.list" / "inside"));
}

TEST(FileAssociation, ReportsARefusedWriteInsteadOfFailing)
{
    test::TempDir dir;
    test::writeFile(dir.path() / "data", "a file where a folder should be");
    const AssociationFolders folders{dir.file("data"), dir.file("config")};
    EXPECT_NE(RegisterFileAssociation("/usr/bin/doxel", "i", folders), "");
}

}  // namespace
}  // namespace doxel
