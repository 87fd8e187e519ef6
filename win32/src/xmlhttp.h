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

// The time limit of a translation request: `standard`, unless the environment variable
// PELUXBAR_TRANSLATION_TIMEOUT_MS holds a positive number of milliseconds. The variable exists
// for the tests, which cannot wait the full limit for a silent service.
std::chrono::milliseconds translationTimeLimit(std::chrono::milliseconds standard);

}  // namespace pelux::win32
