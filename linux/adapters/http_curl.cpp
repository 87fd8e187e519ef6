#include "adapters/http_curl.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <string>

#include "adapters/utf8.h"

namespace pelux {

namespace {

struct EasyHandleDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyHandleDeleter>;

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct ReplyBuffer {
    std::string bytes;
    bool tooLarge = false;
};

size_t appendReply(char* data, size_t size, size_t count, void* userData) {
    auto* buffer = static_cast<ReplyBuffer*>(userData);
    const size_t length = size * count;
    if (length > CCurlHttpRequest::kMaxReplyBytes - buffer->bytes.size()) {
        buffer->tooLarge = true;
        return 0;  // makes curl end the transfer with a write error
    }
    buffer->bytes.append(data, length);
    return length;
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool namesLatin1(std::string_view contentType) {
    const std::string type = lowerAscii(contentType);
    return type.find("charset=iso-8859-1") != std::string::npos || type.find("charset=latin1") != std::string::npos;
}

void setOption(CURL* handle, CURLoption option, long value) {
    if (curl_easy_setopt(handle, option, value) != CURLE_OK) throw CHttpRequestError("cannot set up the request");
}

void setOption(CURL* handle, CURLoption option, const char* value) {
    if (curl_easy_setopt(handle, option, value) != CURLE_OK) throw CHttpRequestError("cannot set up the request");
}

}  // namespace

void CHttpCancellation::cancel() {
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    for (void* multi : m_running) curl_multi_wakeup(static_cast<CURLM*>(multi));
}

bool CHttpCancellation::cancelled() const {
    std::lock_guard lock(m_mutex);
    return m_cancelled;
}

bool CHttpCancellation::enter(void* multi) {
    std::lock_guard lock(m_mutex);
    if (m_cancelled) return false;
    m_running.push_back(multi);
    return true;
}

void CHttpCancellation::leave(void* multi) {
    std::lock_guard lock(m_mutex);
    std::erase(m_running, multi);
}

std::u16string decodeReplyText(std::string_view body, std::string_view contentType) {
    if (namesLatin1(contentType)) {
        std::u16string text;
        text.reserve(body.size());
        for (const char c : body) text.push_back(static_cast<unsigned char>(c));
        return text;
    }
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    return utf8ToUtf16Lenient(body);
}

// The easy handle is driven by a multi handle of its own, so that another thread can wake the
// wait (curl_multi_wakeup) and end it. The cancellation forgets the multi handle before it is
// freed, and curl's own time limits still end the transfer.
int CCurlHttpRequest::perform(void* easy) {
    struct Transfer {
        CURL* easy;
        CHttpCancellation* cancellation;
        CURLM* multi = curl_multi_init();
        bool added = false, entered = false;
        ~Transfer() {
            if (entered) cancellation->leave(multi);
            if (added) curl_multi_remove_handle(multi, easy);
            if (multi) curl_multi_cleanup(multi);
        }
    } transfer{static_cast<CURL*>(easy), m_cancellation};
    if (!transfer.multi || curl_multi_add_handle(transfer.multi, transfer.easy) != CURLM_OK)
        throw CHttpRequestError("cannot set up the request");
    transfer.added = true;
    if (m_cancellation) {
        transfer.entered = m_cancellation->enter(transfer.multi);
        if (!transfer.entered) throw CHttpRequestError("the request was cancelled");
    }
    for (;;) {
        int running = 0;
        if (curl_multi_perform(transfer.multi, &running) != CURLM_OK) throw CHttpRequestError("the transfer failed");
        if (running == 0) break;
        if (curl_multi_poll(transfer.multi, nullptr, 0, 1000, nullptr) != CURLM_OK)
            throw CHttpRequestError("the transfer failed");
        if (m_cancellation && m_cancellation->cancelled()) throw CHttpRequestError("the request was cancelled");
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(transfer.multi, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == transfer.easy) return message->data.result;
    }
    throw CHttpRequestError("the transfer failed");
}

HttpReply CCurlHttpRequest::get(const std::string& url, std::chrono::milliseconds timeout) {
    initCurlOnce();
    EasyHandle handle(curl_easy_init());
    if (!handle) throw CHttpRequestError("cannot create an HTTP request");
    CURL* curl = handle.get();
    ReplyBuffer reply;
    char errorText[CURL_ERROR_SIZE] = {};
    const long limit = std::max<long>(1, static_cast<long>(timeout.count()));
    setOption(curl, CURLOPT_URL, url.c_str());
    setOption(curl, CURLOPT_HTTPGET, 1L);
    setOption(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    // The service may move the page, as a browser's request object follows; never elsewhere
    // than http(s), never endlessly.
    setOption(curl, CURLOPT_FOLLOWLOCATION, 1L);
    setOption(curl, CURLOPT_MAXREDIRS, 5L);
    setOption(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // The limit covers the whole exchange, so a server that accepts and then stays silent
    // ends the call too. Signals are off because the caller may be any thread.
    setOption(curl, CURLOPT_TIMEOUT_MS, limit);
    setOption(curl, CURLOPT_CONNECTTIMEOUT_MS, limit);
    setOption(curl, CURLOPT_NOSIGNAL, 1L);
    if (curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText) != CURLE_OK ||
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendReply) != CURLE_OK ||
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply) != CURLE_OK)
        throw CHttpRequestError("cannot set up the request");

    const auto result = static_cast<CURLcode>(perform(curl));
    if (reply.tooLarge) throw CHttpRequestError("the reply is larger than " + std::to_string(kMaxReplyBytes) + " bytes");
    if (result != CURLE_OK) throw CHttpRequestError(errorText[0] ? errorText : curl_easy_strerror(result));

    long status = 0;
    char* contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    return HttpReply{static_cast<int>(status), decodeReplyText(reply.bytes, contentType ? contentType : "")};
}

}  // namespace pelux
