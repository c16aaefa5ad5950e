#include "env/http_get.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "local_http_server.h"
#include "test_support.h"

namespace doxel {
namespace {

using test::HttpReply;
using test::LocalHttpServer;

// What one download raised, in order.
struct Outcome {
    std::vector<std::string> events;
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;  // total, readed
    std::int64_t doneSize = -1;
    std::string doneText;
};

class HttpGetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The server is on this machine: no proxy of the environment may
        // stand between.
        for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            ::unsetenv(name);
    }

    // A component wired to record into `outcome`, its events run on `queue`.
    void wire(THTTPGet& get, Outcome& outcome)
    {
        get.FileName = m_dir.file("download.txt");
        get.StallTimeout = std::chrono::milliseconds(5000);
        get.OnProgress = [&outcome](THTTPGetThread&, std::int64_t total, std::int64_t readed) {
            outcome.progress.emplace_back(total, readed);
        };
        get.OnDoneFile = [&outcome](THTTPGet&, const std::string&, std::int64_t size) {
            outcome.events.push_back("done");
            outcome.doneSize = size;
        };
        get.OnDoneString = [&outcome](THTTPGet&, const std::string& text) {
            outcome.events.push_back("string");
            outcome.doneText = text;
        };
        get.OnError = [&outcome](THTTPGet&) { outcome.events.push_back("error"); };
    }

    Outcome fetch(const std::string& url, const std::function<void(THTTPGet&)>& setUp = {})
    {
        Outcome outcome;
        THTTPGet get(m_queue);
        wire(get, outcome);
        get.URL = url;
        get.WaitThread = true;
        if (setUp)
            setUp(get);
        get.getFile();
        EXPECT_FALSE(get.downloading());
        return outcome;
    }

    std::string downloaded() const { return test::readFile(m_dir.path() / "download.txt"); }
    bool fileExists() const { return std::filesystem::exists(m_dir.path() / "download.txt"); }

    test::TempDir m_dir;
    TaskQueue m_queue;
};

TEST_F(HttpGetTest, ABodyMatchingItsLengthArrivesInOneChunk)
{
    const std::string body(300, 'x');
    LocalHttpServer server({test::okReply(body)});
    const Outcome outcome = fetch(server.address("/doxel.ver"));
    EXPECT_EQ(outcome.events, std::vector<std::string>{"done"});
    EXPECT_EQ(outcome.progress, (std::vector<std::pair<std::int64_t, std::int64_t>>{{300, 300}}));
    EXPECT_EQ(outcome.doneSize, 300);
    EXPECT_EQ(downloaded(), body);
}

TEST_F(HttpGetTest, LargeBodiesComeInChunksOfAtMost1025Bytes)
{
    std::string body;
    for (int i = 0; i < 5000; ++i)
        body += static_cast<char>('a' + i % 26);
    LocalHttpServer server({test::okReply(body)});
    const Outcome outcome = fetch("http://" + server.address("/big"));
    EXPECT_EQ(outcome.events, std::vector<std::string>{"done"});
    ASSERT_GE(outcome.progress.size(), 5U);
    std::int64_t previous = 0;
    for (const auto& [total, readed] : outcome.progress) {
        EXPECT_EQ(total, 5000);
        EXPECT_GT(readed, previous);
        EXPECT_LE(readed - previous, 1025);
        previous = readed;
    }
    EXPECT_EQ(previous, 5000);
    EXPECT_EQ(downloaded(), body);
}

TEST_F(HttpGetTest, FailuresRaiseOnError)
{
    HttpReply shortBody = test::okReply(std::string(400, 's'));
    shortBody.sendBytes = 300;
    HttpReply notFound{"HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n", "not found"};
    HttpReply serverError{"HTTP/1.0 500 Internal Server Error\r\n", "oops"};
    HttpReply tooLong = test::okReply(std::string(2048, 'l'));
    HttpReply tooLongUnannounced{"HTTP/1.0 200 OK\r\n", std::string(3000, 'u')};
    struct Case {
        const char* name;
        HttpReply reply;
        std::int64_t maxSize;
        std::size_t fileSize;  // at most this much is kept; npos: no file
    };
    const Case cases[] = {
        {"length 400, 300 sent", shortBody, 0, 300},
        {"404", notFound, 0, std::string::npos},
        {"500 without length", serverError, 0, std::string::npos},
        {"announced beyond the limit", tooLong, 1024, std::string::npos},
        {"unannounced beyond the limit", tooLongUnannounced, 1024, 1024},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(m_dir.path() / "download.txt");
        LocalHttpServer server({c.reply});
        const Outcome outcome = fetch(server.address("/f"), [&](THTTPGet& get) { get.MaxSize = c.maxSize; });
        EXPECT_EQ(outcome.events, std::vector<std::string>{"error"}) << c.name;
        if (c.fileSize == std::string::npos)
            EXPECT_FALSE(fileExists()) << c.name;
        else
            EXPECT_LE(downloaded().size(), c.fileSize) << c.name;
    }
}

TEST_F(HttpGetTest, WithoutContentLengthACompleteTransferSucceeds)
{
    LocalHttpServer server({{"HTTP/1.0 200 OK\r\n", "1.2\r\n"}, {"HTTP/1.0 200 OK\r\n", ""}});
    Outcome outcome = fetch(server.address("/a"));
    EXPECT_EQ(outcome.events, std::vector<std::string>{"done"});
    EXPECT_EQ(outcome.doneSize, 0);
    EXPECT_EQ(downloaded(), "1.2\r\n");

    outcome = fetch(server.address("/empty"));
    EXPECT_EQ(outcome.events, std::vector<std::string>{"done"});
    EXPECT_TRUE(fileExists());
    EXPECT_EQ(downloaded(), "");
}

TEST_F(HttpGetTest, BinaryDataNeedsAnAnnouncedLength)
{
    LocalHttpServer server({{"HTTP/1.0 200 OK\r\n", "data"}, test::okReply("data")});
    const auto binary = [](THTTPGet& get) { get.BinaryData = true; };
    EXPECT_EQ(fetch(server.address("/a"), binary).events, std::vector<std::string>{"error"});
    EXPECT_FALSE(fileExists());
    EXPECT_EQ(fetch(server.address("/b"), binary).events, std::vector<std::string>{"done"});
    EXPECT_EQ(downloaded(), "data");
}

TEST_F(HttpGetTest, AddressesWithoutAServerFail)
{
    const std::string refused = "127.0.0.1:" + std::to_string(LocalHttpServer::refusedPort()) + "/doxel.ver";
    for (const std::string& url : {refused, std::string("127.0.0.1"), std::string("/doxel.ver"), std::string(""),
                                   std::string("user@127.0.0.1/x"), std::string("ftp://127.0.0.1/x")}) {
        const Outcome outcome = fetch(url);
        EXPECT_EQ(outcome.events, std::vector<std::string>{"error"}) << url;
        EXPECT_TRUE(outcome.progress.empty()) << url;
    }
}

TEST_F(HttpGetTest, SendsTheRequestLinesOfAGet)
{
    LocalHttpServer server({test::okReply("1.1")});
    fetch(server.address("/path/doxel.ver"), [](THTTPGet& get) {
        get.Agent = "HTML Doxel";
        get.Referer = "http://referrer.example/";
        get.UserName = "user";
        get.Password = "secret";
    });
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1U);
    const std::string& head = requests[0].head;
    EXPECT_TRUE(head.starts_with("GET /path/doxel.ver HTTP/1.0\r\n")) << head;
    for (const char* line : {"\r\nUser-Agent: HTML Doxel\r\n", "\r\nAccept: */*\r\n", "\r\nCache-Control: no-cache\r\n",
                             "\r\nPragma: no-cache\r\n", "\r\nReferer: http://referrer.example/\r\n",
                             "\r\nAuthorization: Basic dXNlcjpzZWNyZXQ="})
        EXPECT_NE(head.find(line), std::string::npos) << line << " in\n" << head;
}

TEST_F(HttpGetTest, UseCacheAndEmptyAgentLeaveTheirLinesOut)
{
    LocalHttpServer server({test::okReply("1.1")});
    fetch(server.address("/v"), [](THTTPGet& get) {
        get.UseCache = true;
        get.Agent.clear();
    });
    const std::string head = server.requests().at(0).head;
    EXPECT_EQ(head.find("no-cache"), std::string::npos) << head;
    EXPECT_EQ(head.find("User-Agent"), std::string::npos) << head;
}

TEST_F(HttpGetTest, PostsTheQueryAsAForm)
{
    LocalHttpServer server({test::okReply("ok")});
    const Outcome outcome = fetch(server.address("/form"), [](THTTPGet& get) { get.PostQuery = "name=doxel&v=1.1"; });
    EXPECT_EQ(outcome.events, std::vector<std::string>{"done"});
    const auto request = server.requests().at(0);
    EXPECT_TRUE(request.head.starts_with("POST /form HTTP/1.0\r\n")) << request.head;
    EXPECT_NE(request.head.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
    EXPECT_NE(request.head.find("\r\nContent-Length: 16\r\n"), std::string::npos);
    EXPECT_EQ(request.body, "name=doxel&v=1.1");
}

TEST_F(HttpGetTest, GetStringKeepsTheBodyInMemory)
{
    LocalHttpServer server({test::okReply("in memory")});
    Outcome outcome;
    THTTPGet get(m_queue);
    wire(get, outcome);
    get.URL = server.address("/s");
    get.WaitThread = true;
    get.getString();
    EXPECT_EQ(outcome.events, std::vector<std::string>{"string"});
    EXPECT_EQ(outcome.doneText, "in memory");
    EXPECT_FALSE(fileExists());
}

TEST_F(HttpGetTest, ASecondGetFileWhileOneRunsIsIgnored)
{
    LocalHttpServer server({test::okReply("first"), test::okReply("second")});
    Outcome outcome;
    THTTPGet get(m_queue);
    wire(get, outcome);
    get.URL = server.address("/v");
    get.getFile();
    get.getFile();
    EXPECT_TRUE(get.downloading());
    m_queue.processUntil([&] { return !get.downloading(); });
    EXPECT_EQ(outcome.events, std::vector<std::string>{"done"});
    EXPECT_EQ(downloaded(), "first");
    EXPECT_EQ(server.requests().size(), 1U);
}

TEST_F(HttpGetTest, AbortStopsASlowServer)
{
    HttpReply slow = test::okReply(std::string(100000, 'z'));
    slow.pieceSize = 10;
    slow.pause = std::chrono::milliseconds(50);
    LocalHttpServer server({slow});
    Outcome outcome;
    THTTPGet get(m_queue);
    wire(get, outcome);
    get.URL = server.address("/slow");
    get.OnProgress = [&](THTTPGetThread&, std::int64_t total, std::int64_t readed) {
        outcome.progress.emplace_back(total, readed);
        get.stop();
    };
    get.WaitThread = true;
    get.getFile();
    EXPECT_EQ(outcome.events, std::vector<std::string>{"error"});
    EXPECT_FALSE(get.succeeded());
    ASSERT_FALSE(outcome.progress.empty());
    EXPECT_LT(outcome.progress.back().second, 100000);
}

TEST_F(HttpGetTest, AServerThatStopsSendingEndsTheDownload)
{
    HttpReply stalled = test::okReply(std::string(1000, 'q'));
    stalled.sendBytes = 10;
    stalled.holdOpen = true;
    LocalHttpServer server({stalled});
    const Outcome outcome =
        fetch(server.address("/stall"), [](THTTPGet& get) { get.StallTimeout = std::chrono::milliseconds(1000); });
    EXPECT_EQ(outcome.events, std::vector<std::string>{"error"});
}

TEST_F(HttpGetTest, DestroyingTheComponentEndsItsDownload)
{
    HttpReply slow = test::okReply(std::string(100000, 'z'));
    slow.pieceSize = 100;
    slow.pause = std::chrono::milliseconds(50);
    LocalHttpServer server({slow});
    Outcome outcome;
    {
        THTTPGet get(m_queue);
        wire(get, outcome);
        get.URL = server.address("/slow");
        get.getFile();
        m_queue.waitAndRun(std::chrono::milliseconds(500));
    }
    // What the worker posted before it ended finds no component any more.
    m_queue.runPending();
    EXPECT_TRUE(outcome.events.empty());
}

TEST(HttpAddress, RequestAddresses)
{
    const std::pair<const char*, const char*> cases[] = {
        {"www.example.com/doxel.ver", "http://www.example.com/doxel.ver"},
        {"HTTP://www.example.com/a/b", "http://www.example.com/a/b"},
        {"https://www.example.com/v", "https://www.example.com/v"},
        {"127.0.0.1:8080/v", "http://127.0.0.1:8080/v"},
        {"www.example.com", ""},
        {"/doxel.ver", ""},
        {"http:///doxel.ver", ""},
        {"me@www.example.com/v", ""},
        {"www.example.com/a\r\nX-Injected: 1", ""},
        {"xhttp://www.example.com/v", ""},
    };
    for (const auto& [url, address] : cases)
        EXPECT_EQ(requestAddress(url), address) << url;
}

}  // namespace
}  // namespace doxel
