#include "env/update_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "local_http_server.h"
#include "test_support.h"

namespace doxel {
namespace {

TEST(UpdateAnswer, OnlyAGreaterVersionIsNewer)
{
    struct Case {
        const char* file;
        UpdateAnswer answer;
    };
    const Case cases[] = {
        {"1.1", UpdateAnswer::Current},
        {"1.1\r\n", UpdateAnswer::Current},
        {"1.1  \t\r\nnotes of the release\r\n", UpdateAnswer::Current},
        {"1.1\n", UpdateAnswer::Current},
        {"1.1.0.0", UpdateAnswer::Current},
        {"1.0", UpdateAnswer::Current},
        {"0.9.9", UpdateAnswer::Current},
        {"1.2", UpdateAnswer::Newer},
        {"1.1.1", UpdateAnswer::Newer},
        {"2", UpdateAnswer::Newer},
        {"1.10", UpdateAnswer::Newer},
        {"", UpdateAnswer::Error},
        {"\r\n1.2", UpdateAnswer::Error},
        {"<html><body>Not found</body></html>", UpdateAnswer::Error},
        {"v1.2", UpdateAnswer::Error},
        {"1.2 beta", UpdateAnswer::Error},
        {"1..2", UpdateAnswer::Error},
        {"1.2.", UpdateAnswer::Error},
        {"1.2.3.4.5", UpdateAnswer::Error},
        {"99999.0", UpdateAnswer::Error},
        {"\x1a"
         "1.2",
         UpdateAnswer::Error},
    };
    for (const Case& c : cases)
        EXPECT_EQ(updateAnswerFor(c.file, "1.1"), c.answer) << c.file;
}

class RecordingView : public UpdateCheckView {
public:
    bool yes = true;
    std::vector<std::string> shown;

    void showLatestVersion() override { shown.push_back("271"); }
    bool askGoToDownloadPage(bool haveHomePage) override
    {
        shown.push_back(haveHomePage ? "272?" : "272");
        return yes;
    }
    void showUpdateError() override { shown.push_back("273"); }
    void openAddress(const std::string& address) override { shown.push_back("open " + address); }
};

class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            ::unsetenv(name);
    }

    std::vector<std::string> check(const std::string& url, const std::string& homePage = "https://doxel.example/")
    {
        UpdateCheck update(m_queue, m_view, {url, homePage, m_dir.path().string(), DOXEL_VERSION});
        update.checkForUpdate();
        m_queue.processUntil([&update] { return !update.CheckUpdate().downloading(); });
        return m_view.shown;
    }
    bool tempFileExists() const { return std::filesystem::exists(m_dir.path() / "temp.txt"); }

    test::TempDir m_dir;
    TaskQueue m_queue;
    RecordingView m_view;
};

TEST_F(UpdateCheckTest, TheCurrentVersionSaysSoAndRemovesTheDownload)
{
    test::LocalHttpServer server({test::okReply("1.1\r\n")});
    EXPECT_EQ(check(server.address("/doxel.ver")), std::vector<std::string>{"271"});
    EXPECT_FALSE(tempFileExists());
    const std::string head = server.requests().at(0).head;
    EXPECT_TRUE(head.starts_with("GET /doxel.ver HTTP/1.0\r\n"));
    EXPECT_NE(head.find("\r\nUser-Agent: HTML Doxel\r\n"), std::string::npos);
}

TEST_F(UpdateCheckTest, ANewerVersionOffersTheHomePage)
{
    test::LocalHttpServer server({test::okReply("1.2\r\n"), test::okReply("1.2\r\n")});
    EXPECT_EQ(check(server.address("/doxel.ver")), (std::vector<std::string>{"272?", "open https://doxel.example/"}));
    EXPECT_FALSE(tempFileExists());
    m_view.shown.clear();
    m_view.yes = false;
    EXPECT_EQ(check(server.address("/doxel.ver")), std::vector<std::string>{"272?"});
}

TEST_F(UpdateCheckTest, WithoutAHomePageNothingIsOpened)
{
    test::LocalHttpServer server({test::okReply("2.0")});
    EXPECT_EQ(check(server.address("/doxel.ver"), ""), std::vector<std::string>{"272"});
}

TEST_F(UpdateCheckTest, ErrorsOfEveryKindGiveTheErrorText)
{
    test::LocalHttpServer server({
        {"HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n", "not found"},
        test::okReply("<html>moved</html>"),
        test::okReply(""),
        test::okReply(std::string(std::size_t(UpdateCheck::kMaxVersionFileSize) + 1, '1')),
    });
    for (int i = 0; i < 4; ++i) {
        m_view.shown.clear();
        EXPECT_EQ(check(server.address("/doxel.ver")), std::vector<std::string>{"273"}) << i;
    }
    m_view.shown.clear();
    const std::string refused = "127.0.0.1:" + std::to_string(test::LocalHttpServer::refusedPort()) + "/doxel.ver";
    EXPECT_EQ(check(refused), std::vector<std::string>{"273"});
}

TEST_F(UpdateCheckTest, WithoutAVersionFileAddressThereIsNoCheck)
{
    UpdateCheck update(m_queue, m_view, {"", "", m_dir.path().string(), "1.1"});
    EXPECT_FALSE(update.available());
    update.checkForUpdate();
    EXPECT_TRUE(m_view.shown.empty());
}

}  // namespace
}  // namespace doxel
