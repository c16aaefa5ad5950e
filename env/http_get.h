#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "env/ui_poster.h"

namespace doxel {

class THTTPGet;
class THTTPGetThread;

using HttpProgressEvent = std::function<void(THTTPGetThread& sender, std::int64_t totalSize, std::int64_t readed)>;
using HttpDoneFileEvent = std::function<void(THTTPGet& sender, const std::string& fileName, std::int64_t fileSize)>;
using HttpDoneStringEvent = std::function<void(THTTPGet& sender, const std::string& result)>;
using HttpErrorEvent = std::function<void(THTTPGet& sender)>;

// The largest piece read at once; every piece is one progress call.
inline constexpr std::size_t kHttpChunkSize = 1025;

// The settings a worker copies when its download starts.
struct HttpRequestSettings {
    std::string acceptTypes;
    std::string agent;
    bool binaryData = false;
    std::string url;
    bool useCache = false;
    std::string fileName;
    std::string userName;
    std::string password;
    std::string postQuery;
    std::string referer;
    std::int64_t maxSize = 0;
    std::chrono::milliseconds stallTimeout{20000};
    bool toFile = true;
};

// Where a URL leads: "http://host:port/path" from the forms "host/path",
// "http://host/path" and "https://host/path". Empty when the URL names no
// host or has no path.
std::string requestAddress(const std::string& url);

// One download on a thread of its own, started by THTTPGet. Its progress
// and its end reach the user-interface thread through the poster; it waits
// for each progress call to have run there.
class THTTPGetThread {
public:
    THTTPGetThread(HttpRequestSettings settings, HttpProgressEvent onProgress, UiPoster& poster,
                   std::function<void()> onEnd);
    ~THTTPGetThread();  // joins the thread
    THTTPGetThread(const THTTPGetThread&) = delete;
    THTTPGetThread& operator=(const THTTPGetThread&) = delete;

    void requestStop();
    void join();
    bool success() const { return m_success; }
    void clearSuccess() { m_success = false; }
    const std::string& fileName() const { return m_settings.fileName; }
    // The response's Content-Length; 0 when it sent none.
    std::int64_t totalSize() const { return m_totalSize; }
    std::int64_t readed() const { return m_readed; }
    std::int64_t lastChunk() const { return m_lastChunk; }
    const std::string& result() const { return m_result; }
    bool toFile() const { return m_settings.toFile; }

private:
    struct Transfer;
    void run();
    bool takeChunk(Transfer& transfer, const char* data, std::size_t size);
    void reportProgress();

    HttpRequestSettings m_settings;
    HttpProgressEvent m_onProgress;
    UiPoster& m_poster;
    std::function<void()> m_onEnd;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_success{false};
    std::int64_t m_totalSize = 0;
    std::int64_t m_readed = 0;
    std::int64_t m_lastChunk = 0;
    std::string m_result;
    // Posted progress calls that run after the worker has gone do nothing.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::thread m_thread;
};

// A download component: fetches URL into FileName on a worker thread and
// raises exactly one of OnDoneFile, OnDoneString and OnError on the
// user-interface thread when it ends. One download at a time.
class THTTPGet {
public:
    static constexpr const char* kDefaultAgent = "HTML Doxel HTTP download";

    explicit THTTPGet(UiPoster& poster);
    ~THTTPGet();  // aborts a running download and waits for its thread
    THTTPGet(const THTTPGet&) = delete;
    THTTPGet& operator=(const THTTPGet&) = delete;

    std::string AcceptTypes = "*/*";
    std::string Agent = kDefaultAgent;
    bool BinaryData = false;
    std::string URL;
    bool UseCache = false;
    std::string FileName;
    std::string UserName;
    std::string Password;
    std::string PostQuery;
    std::string Referer;
    bool WaitThread = false;
    // A response longer than this many bytes fails (0: no limit); a server
    // that sends nothing for StallTimeout fails.
    std::int64_t MaxSize = 0;
    std::chrono::milliseconds StallTimeout{20000};

    HttpProgressEvent OnProgress;
    HttpDoneFileEvent OnDoneFile;
    HttpDoneStringEvent OnDoneString;
    HttpErrorEvent OnError;

    // Starts the download of URL into FileName; nothing while one runs.
    // With WaitThread on, returns after the download's event has run.
    void getFile();
    // The same, keeping the response in memory (OnDoneString).
    void getString();
    // Asks a running download to stop; it ends with OnError.
    void stop();

    bool downloading() const { return m_worker != nullptr; }
    // The success flag of the last download.
    bool succeeded() const { return m_success; }

private:
    void start(bool toFile);
    void threadDone();

    UiPoster& m_poster;
    std::unique_ptr<THTTPGetThread> m_worker;
    bool m_success = false;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

}  // namespace doxel
