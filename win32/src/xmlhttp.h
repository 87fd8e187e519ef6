// The core's HTTP port over the platform's "Msxml2.XMLHTTP" object, and its notices port over
// message boxes and the translation dialog.
#pragma once

#include "platform/http_request.h"
#include "platform/notices.h"

namespace pelux::win32 {

class XmlHttpRequest final : public IHttpRequest {
public:
    // The object blocks until the reply is in; it has no time limit of its own to offer.
    HttpReply get(const std::string& url, std::chrono::milliseconds timeout) override;
};

class Win32Notices final : public INotices {
public:
    void showMessage(std::u16string_view text, std::u16string_view caption) override;
    void showTranslation(std::u16string_view text) override;
};

}  // namespace pelux::win32
