// The HTTP request port over libcurl.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/http_request.h"

namespace pelux {

class CCurlHttpRequest final : public IHttpRequest {
public:
    // Replies larger than this are refused rather than held in memory.
    static constexpr size_t kMaxReplyBytes = 16 * 1024 * 1024;

    HttpReply get(const std::string& url, std::chrono::milliseconds timeout) override;
};

// The reply body as text: UTF-8 unless the content type names Latin-1; a byte that does not
// begin a valid sequence becomes U+FFFD and a leading byte-order mark is dropped.
std::u16string decodeReplyText(std::string_view body, std::string_view contentType);

}  // namespace pelux
