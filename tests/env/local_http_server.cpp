#include "local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace doxel::test {
namespace {

constexpr auto kLifetime = std::chrono::seconds(30);
constexpr int kPollMs = 50;

int boundSocket(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("bind");
    }
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    return fd;
}

bool readable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

}  // namespace

HttpReply okReply(const std::string& body)
{
    return {"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) + "\r\n",
            body};
}

LocalHttpServer::LocalHttpServer(std::vector<HttpReply> replies) : m_replies(std::move(replies))
{
    m_listener = boundSocket(m_port);
    ::listen(m_listener, 8);
    m_thread = std::thread(&LocalHttpServer::serve, this);
}

LocalHttpServer::~LocalHttpServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

std::string LocalHttpServer::address(const std::string& path) const
{
    return "127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<HttpRequestSeen> LocalHttpServer::requests()
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

int LocalHttpServer::refusedPort()
{
    int port = 0;
    ::close(boundSocket(port));  // bound, never listened, now free
    return port;
}

void LocalHttpServer::serve()
{
    const auto end = std::chrono::steady_clock::now() + kLifetime;
    std::size_t next = 0;
    while (!m_stop && next < m_replies.size() && std::chrono::steady_clock::now() < end) {
        if (!readable(m_listener, kPollMs))
            continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        answer(connection, m_replies[next++]);
        ::close(connection);
    }
}

bool LocalHttpServer::answer(int connection, const HttpReply& reply)
{
    // The request: its head up to the blank line, then Content-Length bytes.
    std::string data;
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!m_stop && std::chrono::steady_clock::now() < deadline) {
        if (headEnd != std::string::npos && data.size() >= headEnd + 4 + wanted)
            break;
        if (!readable(connection, kPollMs))
            continue;
        char buffer[4096];
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        data.append(buffer, static_cast<std::size_t>(got));
        if (headEnd == std::string::npos && (headEnd = data.find("\r\n\r\n")) != std::string::npos) {
            const std::size_t length = data.find("Content-Length: ");
            if (length != std::string::npos && length < headEnd)
                wanted = std::stoul(data.substr(length + 16));
        }
    }
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back({data.substr(0, headEnd == std::string::npos ? headEnd : headEnd + 2),
                              headEnd == std::string::npos ? "" : data.substr(headEnd + 4)});
    }

    const std::string head = reply.head + "\r\n";
    ::send(connection, head.data(), head.size(), MSG_NOSIGNAL);
    const std::string body = reply.body.substr(0, reply.sendBytes);
    const std::size_t piece = reply.pieceSize == 0 ? std::max<std::size_t>(body.size(), 1) : reply.pieceSize;
    for (std::size_t at = 0; at < body.size() && !m_stop; at += piece) {
        if (::send(connection, body.data() + at, std::min(piece, body.size() - at), MSG_NOSIGNAL) < 0)
            return false;
        const auto until = std::chrono::steady_clock::now() + reply.pause;
        while (!m_stop && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto end = std::chrono::steady_clock::now() + kLifetime;
    while (reply.holdOpen && !m_stop && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    return true;
}

}  // namespace doxel::test
