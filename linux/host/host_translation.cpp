#include "host/host_translation.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "adapters/http_curl.h"
#include "host/native_replies.h"
#include "translate/translator.h"

namespace pelux {

namespace {

// Messages for the user go to the tab that asked; the tab draws them as dialogs. Safe on any
// thread: the channel writes each message whole.
class CTabNotices : public INotices {
public:
    CTabNotices(CNativeChannel& channel, int64_t tab) : m_channel(channel), m_tab(tab) {}
    void showMessage(std::u16string_view text, std::u16string_view caption) override {
        m_channel.send(serializeMessage(noticeReply(m_tab, text, caption)));
    }
    void showTranslation(std::u16string_view text) override {
        m_channel.send(serializeMessage(translationReply(m_tab, text)));
    }

private:
    CNativeChannel& m_channel;
    int64_t m_tab;
};

// The notice that comes before the first request: numbered, so that the tab can say when the
// user has closed it.
class CNumberedNotices : public INotices {
public:
    CNumberedNotices(CNativeChannel& channel, int64_t tab, int64_t number)
        : m_channel(channel), m_tab(tab), m_number(number) {}
    void showMessage(std::u16string_view text, std::u16string_view caption) override {
        m_channel.send(serializeMessage(noticeReply(m_tab, text, caption, m_number)));
        m_shown = true;
    }
    void showTranslation(std::u16string_view text) override {
        m_channel.send(serializeMessage(translationReply(m_tab, text)));
    }
    bool shown() const { return m_shown; }

private:
    CNativeChannel& m_channel;
    int64_t m_tab;
    int64_t m_number;
    bool m_shown = false;
};

void translateOnThisThread(CNativeChannel& channel, int64_t tab, const std::u16string& text,
                           DictionaryLanguage language, const TranslationSettings& settings) {
    CCurlHttpRequest http;
    CTabNotices notices(channel, tab);
    CTranslator translator(http, notices, settings);
    try {
        translator.translate(text, language);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "peluxbar: a translation failed: %s\n", e.what());
        translator.reportFailure();
    }
}

}  // namespace

void CHostTranslations::request(int64_t tab, std::u16string_view text) {
    CCurlHttpRequest unused;
    CNumberedNotices notices(m_channel, tab, m_lastNotice + 1);
    CTranslator translator(unused, notices, readTranslationSettings(m_settings));
    Waiting request{tab, std::u16string(text), translator.settleLanguage()};
    if (!notices.shown()) return start(request);
    m_waiting[++m_lastNotice] = std::move(request);
}

void CHostTranslations::noticeClosed(int64_t tab, int64_t notice) {
    const auto waiting = m_waiting.find(notice);
    if (waiting == m_waiting.end() || waiting->second.tab != tab) return;
    const Waiting request = std::move(waiting->second);
    m_waiting.erase(waiting);
    start(request);
}

void CHostTranslations::tabClosed(int64_t tab) {
    std::erase_if(m_waiting, [tab](const auto& waiting) { return waiting.second.tab == tab; });
}

void CHostTranslations::refuse(int64_t tab) {
    CCurlHttpRequest unused;
    CTabNotices notices(m_channel, tab);
    CTranslator(unused, notices).reportFailure();
}

void CHostTranslations::start(const Waiting& request) {
    joinFinished();
    if (m_running.size() >= kMaxRunning) {
        std::fprintf(stderr, "peluxbar: refused a translation: %zu are running\n", m_running.size());
        return refuse(request.tab);
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    const TranslationSettings settings = readTranslationSettings(m_settings);
    try {
        std::thread thread([&channel = m_channel, request, settings, done] {
            translateOnThisThread(channel, request.tab, request.text, request.language, settings);
            *done = true;
        });
        m_running.push_back(Running{std::move(thread), done});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "peluxbar: cannot start a translation: %s\n", e.what());
        refuse(request.tab);
    }
}

void CHostTranslations::joinFinished() {
    for (auto it = m_running.begin(); it != m_running.end();) {
        if (!*it->done) {
            ++it;
            continue;
        }
        it->thread.join();
        it = m_running.erase(it);
    }
}

void CHostTranslations::finish() {
    m_waiting.clear();
    for (Running& running : m_running) running.thread.join();
    m_running.clear();
}

}  // namespace pelux
