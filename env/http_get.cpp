#include "env/http_get.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <cstdio>
#include <curl/curl.h>
#include <mutex>
#include <utility>

namespace doxel {
namespace {

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

using SteadyClock = std::chrono::steady_clock;

// What the transfer-information callback watches: the stop request, so
// that a stalled connect ends at once when asked, and the time since the
// server last sent something.
struct Watch {
    const std::atomic<bool>* stop;
    SteadyClock::duration stallTimeout;
    curl_off_t lastBytes = 0;
    SteadyClock::time_point lastActivity = SteadyClock::now();
};

int onTransferInfo(void* data, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t)
{
    auto* watch = static_cast<Watch*>(data);
    if (watch->stop->load())
        return 1;
    const SteadyClock::time_point now = SteadyClock::now();
    if (downloaded != watch->lastBytes) {
        watch->lastBytes = downloaded;
        watch->lastActivity = now;
    }
    return now - watch->lastActivity > watch->stallTimeout ? 1 : 0;
}

}  // namespace

std::string requestAddress(const std::string& url)
{
    std::string scheme = "http://";
    std::string rest = url;
    const std::string lower = lowerAscii(url);
    if (lower.starts_with("http://")) {
        rest = url.substr(7);
    } else if (lower.starts_with("https://")) {
        scheme = "https://";
        rest = url.substr(8);
    }
    const std::size_t slash = rest.find('/');
    if (slash == std::string::npos || slash == 0)
        return {};
    // Nothing but a host name or address and an optional port before the
    // path: no user information, nothing that would change the request.
    std::string host = rest.substr(0, slash);
    const std::size_t bracket = host.rfind(']');
    const std::size_t colon = host.rfind(':');
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        const std::string port = host.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
            return {};
        host.resize(colon);
    }
    if (host.empty())
        return {};
    for (unsigned char c : host) {
        if (!std::isalnum(c) && c != '.' && c != '-' && c != '_' && c != '[' && c != ']' && c != ':')
            return {};
    }
    for (unsigned char c : rest.substr(slash)) {
        if (c < ' ' || c == 0x7F)
            return {};
    }
    return scheme + rest;
}

struct THTTPGetThread::Transfer {
    CURL* curl = nullptr;
    std::FILE* file = nullptr;
    bool started = false;
    bool lengthKnown = false;
    bool failed = false;
};

THTTPGetThread::THTTPGetThread(HttpRequestSettings settings, HttpProgressEvent onProgress, UiPoster& poster,
                               std::function<void()> onEnd)
    : m_settings(std::move(settings)), m_onProgress(std::move(onProgress)), m_poster(poster), m_onEnd(std::move(onEnd))
{
    m_thread = std::thread(&THTTPGetThread::run, this);
}

THTTPGetThread::~THTTPGetThread()
{
    requestStop();
    join();
}

void THTTPGetThread::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void THTTPGetThread::requestStop()
{
    m_stop = true;
}

void THTTPGetThread::reportProgress()
{
    if (!m_onProgress)
        return;
    struct Handshake {
        std::mutex mutex;
        std::condition_variable ran;
        bool done = false;
    };
    auto handshake = std::make_shared<Handshake>();
    const std::weak_ptr<int> alive = m_alive;
    const std::int64_t total = m_totalSize;
    const std::int64_t readed = m_readed;
    m_poster.post([this, alive, handshake, total, readed] {
        if (!alive.expired())
            m_onProgress(*this, total, readed);
        const std::lock_guard lock(handshake->mutex);
        handshake->done = true;
        handshake->ran.notify_one();
    });
    // Waits for the call, but not past a stop request: the user-interface
    // thread may be the one waiting for this worker to end.
    std::unique_lock lock(handshake->mutex);
    while (!handshake->done && !m_stop)
        handshake->ran.wait_for(lock, std::chrono::milliseconds(20));
}

bool THTTPGetThread::takeChunk(Transfer& transfer, const char* data, std::size_t size)
{
    if (!transfer.started) {
        long status = 0;
        curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
        if (status >= 400)
            return false;  // an error page is not the file asked for
        curl_off_t length = -1;
        curl_easy_getinfo(transfer.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        transfer.lengthKnown = length >= 0;
        if (!transfer.lengthKnown && m_settings.binaryData)
            return false;
        if (m_settings.maxSize > 0 && length > m_settings.maxSize)
            return false;
        m_totalSize = transfer.lengthKnown ? length : 0;
        m_readed = 0;
        if (m_settings.toFile) {
            transfer.file = std::fopen(m_settings.fileName.c_str(), "wb");
            if (transfer.file == nullptr)
                return false;
        } else {
            m_result.clear();
        }
        transfer.started = true;
    }
    while (size > 0) {
        if (m_stop)
            return false;
        const std::size_t piece = std::min(size, kHttpChunkSize);
        if (m_settings.maxSize > 0 && m_readed + std::int64_t(piece) > m_settings.maxSize)
            return false;
        if (m_settings.toFile) {
            if (std::fwrite(data, 1, piece, transfer.file) != piece)
                return false;
        } else {
            m_result.append(data, piece);
        }
        m_readed += std::int64_t(piece);
        m_lastChunk = std::int64_t(piece);
        reportProgress();
        data += piece;
        size -= piece;
    }
    return true;
}

void THTTPGetThread::run()
{
    Transfer transfer;
    const std::string address = requestAddress(m_settings.url);
    CURLcode code = CURLE_URL_MALFORMAT;
    long status = 0;
    curl_slist* headers = nullptr;
    if (!address.empty() && !m_stop)
        transfer.curl = curl_easy_init();
    Watch watch{&m_stop, std::chrono::duration_cast<SteadyClock::duration>(m_settings.stallTimeout)};
    if (transfer.curl != nullptr) {
        CURL* curl = transfer.curl;
        curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        if (!m_settings.agent.empty())
            curl_easy_setopt(curl, CURLOPT_USERAGENT, m_settings.agent.c_str());
        if (!m_settings.userName.empty())
            curl_easy_setopt(curl, CURLOPT_USERNAME, m_settings.userName.c_str());
        if (!m_settings.password.empty())
            curl_easy_setopt(curl, CURLOPT_PASSWORD, m_settings.password.c_str());
        if (!m_settings.referer.empty())
            curl_easy_setopt(curl, CURLOPT_REFERER, m_settings.referer.c_str());
        if (!m_settings.acceptTypes.empty())
            headers = curl_slist_append(headers, ("Accept: " + m_settings.acceptTypes).c_str());
        if (!m_settings.useCache) {
            headers = curl_slist_append(headers, "Cache-Control: no-cache");
            headers = curl_slist_append(headers, "Pragma: no-cache");
        }
        if (!m_settings.postQuery.empty()) {
            headers = curl_slist_append(headers, "Content-Type: application/x-www-form-urlencoded");
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(m_settings.postQuery.size()));
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, m_settings.postQuery.c_str());
        }
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, long(kHttpChunkSize));
        // A server that sends nothing for the stall time, from the connect
        // on, ends the download; nothing waits forever.
        const long stallMs = std::max<long>(100, static_cast<long>(m_settings.stallTimeout.count()));
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, stallMs);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onTransferInfo);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &watch);
        using WriteFunction = std::size_t (*)(char*, std::size_t, std::size_t, void*);
        const WriteFunction write = [](char* data, std::size_t size, std::size_t count, void* context) -> std::size_t {
            auto* self = static_cast<std::pair<THTTPGetThread*, Transfer*>*>(context);
            if (!self->first->takeChunk(*self->second, data, size * count)) {
                self->second->failed = true;
                return 0;
            }
            return size * count;
        };
        std::pair<THTTPGetThread*, Transfer*> context{this, &transfer};
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, write);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &context);

        code = curl_easy_perform(curl);
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        // An empty body never reached the write function.
        if (code == CURLE_OK && !transfer.started && !m_stop && status < 400 && !takeChunk(transfer, nullptr, 0))
            transfer.failed = true;
    }

    bool success = code == CURLE_OK && transfer.started && !transfer.failed && !m_stop && status < 400;
    if (success && transfer.lengthKnown)
        success = m_readed == m_totalSize;
    if (success && !m_settings.toFile)
        success = m_readed > 0;
    if (transfer.file != nullptr && std::fclose(transfer.file) != 0)
        success = false;
    if (!m_settings.toFile)
        m_result.resize(static_cast<std::size_t>(m_readed));
    m_success = success && !m_stop;
    curl_slist_free_all(headers);
    if (transfer.curl != nullptr)
        curl_easy_cleanup(transfer.curl);
    m_poster.post(m_onEnd);
}

THTTPGet::THTTPGet(UiPoster& poster) : m_poster(poster)
{
    initCurlOnce();
}

THTTPGet::~THTTPGet()
{
    stop();
    m_alive.reset();
    m_worker.reset();
}

void THTTPGet::getFile()
{
    start(true);
}

void THTTPGet::getString()
{
    start(false);
}

void THTTPGet::start(bool toFile)
{
    if (m_worker)
        return;
    HttpRequestSettings settings{AcceptTypes, Agent,     BinaryData, URL,     UseCache,     FileName, UserName,
                                 Password,    PostQuery, Referer,    MaxSize, StallTimeout, toFile};
    const std::weak_ptr<int> alive = m_alive;
    m_worker = std::make_unique<THTTPGetThread>(std::move(settings), OnProgress, m_poster, [this, alive] {
        if (!alive.expired())
            threadDone();
    });
    if (WaitThread)
        m_poster.processUntil([this, alive] { return alive.expired() || !m_worker; });
}

void THTTPGet::stop()
{
    if (m_worker) {
        m_worker->requestStop();
        m_worker->clearSuccess();
    }
}

void THTTPGet::threadDone()
{
    if (!m_worker)
        return;
    // The worker posted its end as its last step: the join is quick and
    // makes every result it wrote visible here.
    m_worker->join();
    m_success = m_worker->success();
    const std::string fileName = m_worker->fileName();
    const std::int64_t size = m_worker->totalSize();
    const std::string result = m_worker->result();
    const bool toFile = m_worker->toFile();
    if (m_success && toFile) {
        if (OnDoneFile)
            OnDoneFile(*this, fileName, size);
    } else if (m_success) {
        if (OnDoneString)
            OnDoneString(*this, result);
    } else if (OnError) {
        OnError(*this);
    }
    m_worker.reset();
}

}  // namespace doxel
