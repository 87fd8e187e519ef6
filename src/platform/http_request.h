// One synchronous HTTP GET, as the online translation needs it.
#pragma once

#include <chrono>
#include <stdexcept>
#include <string>

namespace pelux {

struct HttpReply {
    int status = 0;
    // The reply body decoded to UTF-16 by the shell, as a browser's request object would.
    std::u16string text;
};

// Anything that kept a complete reply from arriving: no connection, a broken transfer, the
// time limit, a reply too large to hold.
class CHttpRequestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IHttpRequest {
public:
    virtual ~IHttpRequest() = default;
    // Sends GET for the absolute URL, with no request headers of the caller's, and blocks until
    // the whole reply is in or `timeout` has passed since the call began.
    // Throws CHttpRequestError on any failure; the reply's status is returned, not judged.
    virtual HttpReply get(const std::string& url, std::chrono::milliseconds timeout) = 0;
};

}  // namespace pelux
