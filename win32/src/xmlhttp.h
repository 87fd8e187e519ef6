// The core's HTTP port over the platform's "Msxml2.XMLHTTP" object.
#pragma once

#include <chrono>

#include "platform/http_request.h"

namespace pelux::win32 {

class CXmlHttpRequest final : public IHttpRequest {
public:
    // Sends the request asynchronously and waits for the reply while handling the thread's
    // window messages, so the browser stays alive; gives up (CHttpRequestError) after `timeout`.
    HttpReply get(const std::string& url, std::chrono::milliseconds timeout) override;
};

}  // namespace pelux::win32
