// Recording stand-ins for the notices and HTTP ports.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/http_request.h"
#include "platform/notices.h"

namespace pelux::testing {

class CRecordingNotices final : public INotices {
public:
    struct Message {
        std::u16string text;
        std::u16string caption;
    };
    std::vector<Message> messages;
    std::vector<std::u16string> translations;
    // Runs while a message is up, as other code of the process may while a message box waits.
    std::function<void()> whileMessageShown;

    void showMessage(std::u16string_view text, std::u16string_view caption) override {
        messages.push_back({std::u16string(text), std::u16string(caption)});
        if (whileMessageShown) whileMessageShown();
    }
    void showTranslation(std::u16string_view text) override { translations.emplace_back(text); }
};

class CScriptedHttp final : public IHttpRequest {
public:
    std::vector<std::string> urls;
    std::vector<std::chrono::milliseconds> timeouts;
    std::function<HttpReply()> answer = [] { return HttpReply{200, u"<textarea>ok</textarea>"}; };

    HttpReply get(const std::string& url, std::chrono::milliseconds timeout) override {
        urls.push_back(url);
        timeouts.push_back(timeout);
        return answer();
    }
};

}  // namespace pelux::testing
