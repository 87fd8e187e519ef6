// The HTTP request port over libcurl.
#pragma once

#include <cstddef>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/http_request.h"

namespace pelux {

// Ends the requests of every CCurlHttpRequest made with it, from any thread, at once and for
// good: a request under way fails straight away, and one begun later fails before it connects.
class CHttpCancellation {
public:
    void cancel();
    bool cancelled() const;

private:
    friend class CCurlHttpRequest;
    // A transfer's curl multi handle, woken by cancel while it waits; false once cancelled.
    bool enter(void* multi);
    void leave(void* multi);

    mutable std::mutex m_mutex;
    std::vector<void*> m_running;
    bool m_cancelled = false;
};

class CCurlHttpRequest final : public IHttpRequest {
public:
    // Replies larger than this are refused rather than held in memory.
    static constexpr size_t kMaxReplyBytes = 16 * 1024 * 1024;

    CCurlHttpRequest() = default;
    explicit CCurlHttpRequest(CHttpCancellation& cancellation) : m_cancellation(&cancellation) {}

    HttpReply get(const std::string& url, std::chrono::milliseconds timeout) override;

private:
    // The transfer of a curl easy handle set up by get; its CURLcode.
    int perform(void* easy);

    CHttpCancellation* m_cancellation = nullptr;
};

// The reply body as text: UTF-8 unless the content type names Latin-1; a byte that does not
// begin a valid sequence becomes U+FFFD and a leading byte-order mark is dropped.
std::u16string decodeReplyText(std::string_view body, std::string_view contentType);

}  // namespace pelux
