#include "platform/qsettings_store.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "test_support.h"

namespace doxel {
namespace {

// Qt fixes the configuration folder at the first use of QSettings, so the
// folder is set once for the whole test program.
const test::TempDir& configHome()
{
    static const test::TempDir dir;
    static const bool set = [] { return ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1) == 0; }();
    EXPECT_TRUE(set);
    return dir;
}

TEST(QSettingsStore, KeepsEveryValueExactlyInTheUsersIniFile)
{
    const auto& home = configHome();
    QSettingsStore store;
    EXPECT_EQ(store.read("NeverWritten"), "");
    const std::pair<const char*, std::string> values[] = {
        {"Language", "1000"},
        {"RUF", std::string("/home/a/x.dxp\a/home/b/y, z.dxp\a")},
        {"HtmlEditor", "bluefish --new \"%U\" C:\\Prog\\x.exe"},
        {"LogFile",
         "/home/ann/\xC3\x9C"
         "ber/log.txt"},
        {"Empty", ""},
    };
    for (const auto& [name, value] : values)
        store.write(name, value);
    QSettingsStore fresh;
    for (const auto& [name, value] : values)
        EXPECT_EQ(fresh.read(name), value) << name;
    EXPECT_TRUE(std::filesystem::exists(home.path() / "Tervanis" / "HTML Doxel.conf"));
}

TEST(QSettingsStore, KeepsAHandEditedBackslashAsWritten)
{
    const auto& home = configHome();
    test::writeFile(home.path() / "Tervanis" / "HTML Doxel.conf",
                    "[General]\nLogFile=/tmp/\\\\xzlog.txt\nRUF=\\\\x0\n");
    QSettingsStore store;
    EXPECT_EQ(store.read("LogFile"), "/tmp/\\xzlog.txt");
    EXPECT_EQ(store.read("RUF"), "\\x0");
}

TEST(QSettingsStore, ReadsAHandEditedValueWithCommasAsTheTextItIs)
{
    const auto& home = configHome();
    test::writeFile(home.path() / "Tervanis" / "HTML Doxel.conf",
                    "[General]\nLogFile=~/logs/a,b.txt\nHtmlEditor=kate ,  --new,\"%F\"\n"
                    "RUF=\"/a/x, y.dxp\",/b.dxp\n[Other]\nLogFile=elsewhere\n");
    QSettingsStore store;
    EXPECT_EQ(store.read("LogFile"), "~/logs/a,b.txt");
    EXPECT_EQ(store.read("HtmlEditor"), "kate ,  --new,%F");
    EXPECT_EQ(store.read("RUF"), "/a/x, y.dxp,/b.dxp");
}

TEST(QSettingsStore, KeepsAHandEditedValueWithACommaWhenAnotherIsWritten)
{
    const auto& home = configHome();
    test::writeFile(home.path() / "Tervanis" / "HTML Doxel.conf", "[General]\nLogFile=/x/a,b.txt\n");
    QSettingsStore store;
    store.write("Language", "1000");
    EXPECT_EQ(QSettingsStore().read("LogFile"), "/x/a,b.txt");
}

TEST(QSettingsStore, ReadsTheRestOfAFileWithADamagedLineAndSaysWhichLine)
{
    const auto& home = configHome();
    test::writeFile(home.path() / "Tervanis" / "HTML Doxel.conf", "[General]\nLanguage=2000\noops\n");
    QSettingsStore store;
    EXPECT_EQ(store.readProblem(), "");
    EXPECT_EQ(store.read("Language"), "2000");
    EXPECT_NE(store.readProblem().find("line 3: \"oops\""), std::string::npos) << store.readProblem();
    store.write("ViewLog", "1");
    EXPECT_EQ(QSettingsStore().read("ViewLog"), "1");
}

TEST(QSettingsStore, SeesChangesMadeBehindItsBack)
{
    const auto& home = configHome();
    QSettingsStore store;
    store.write("ShowFileSystem", "1");
    test::writeFile(home.path() / "Tervanis" / "HTML Doxel.conf",
                    "[General]\nShowFileSystem=0\nWrittenBy=another process\n");
    EXPECT_EQ(store.read("ShowFileSystem"), "0");
}

}  // namespace
}  // namespace doxel
