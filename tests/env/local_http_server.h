#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace doxel::test {

// One scripted answer: the head (status line and headers, each ending in
// CR LF, the blank line added), then the body, of which only `sendBytes`
// go out, in pieces of `pieceSize` with `pause` between them, before the
// connection closes or, with `holdOpen`, stays silent until the server ends.
struct HttpReply {
    std::string head;
    std::string body;
    std::size_t sendBytes = std::string::npos;
    std::size_t pieceSize = 0;  // 0: all at once
    std::chrono::milliseconds pause{0};
    bool holdOpen = false;
};

struct HttpRequestSeen {
    std::string head;
    std::string body;
};

// "HTTP/1.0 200 OK" with a Content-Length matching the body.
HttpReply okReply(const std::string& body);

// An HTTP server on 127.0.0.1 (never another address) that answers each
// connection with the next reply. It ends by itself after the last reply
// or after 30 seconds, whichever comes first; its destructor ends it at once.
class LocalHttpServer {
public:
    explicit LocalHttpServer(std::vector<HttpReply> replies);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // "127.0.0.1:PORT/path"
    std::string address(const std::string& path) const;
    std::vector<HttpRequestSeen> requests();

    // A port on 127.0.0.1 where nothing listens.
    static int refusedPort();

private:
    void serve();
    bool answer(int connection, const HttpReply& reply);

    int m_listener = -1;
    int m_port = 0;
    std::vector<HttpReply> m_replies;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<HttpRequestSeen> m_requests;
    std::thread m_thread;
};

}  // namespace doxel::test
