#include "host/host_translations.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "host/native_replies.h"
#include "translate/translation_settings.h"
#include "translate/translator.h"

namespace pelux {

namespace {

// Messages for the user go to the tab that asked; the tab draws them as dialogs. The notice that
// comes before the first request is numbered, so that the tab can say when the user has closed it.
class CTabNotices : public INotices {
public:
    CTabNotices(CTranslationReplies& replies, int64_t tab, std::optional<int64_t> number = std::nullopt)
        : m_replies(replies), m_tab(tab), m_number(number) {}
    void showMessage(std::u16string_view text, std::u16string_view caption) override {
        m_replies.send(noticeReply(m_tab, text, caption, m_number));
        m_shown = true;
    }
    void showTranslation(std::u16string_view text) override { m_replies.send(translationReply(m_tab, text)); }
    bool shown() const { return m_shown; }

private:
    CTranslationReplies& m_replies;
    int64_t m_tab;
    std::optional<int64_t> m_number;
    bool m_shown = false;
};

}  // namespace

void CTranslationReplies::send(const nlohmann::json& message) {
    // Held while writing, so that once close has returned nothing more goes out.
    std::lock_guard lock(m_mutex);
    if (!m_closed) m_channel.send(serializeMessage(message));
}

void CTranslationReplies::close() {
    std::lock_guard lock(m_mutex);
    m_closed = true;
}

void CHostTranslations::request(int64_t tab, std::u16string_view text) {
    CCurlHttpRequest unused;
    CTabNotices notices(m_replies, tab, m_lastNotice + 1);
    CTranslator translator(unused, notices, readTranslationSettings(m_settings));
    Waiting request{tab, std::u16string(text), translator.settleLanguage(m_store)};
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
    CTabNotices notices(m_replies, tab);
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
        std::thread thread([&replies = m_replies, &cancellation = m_cancellation, request, settings, done] {
            CCurlHttpRequest http(cancellation);
            CTabNotices notices(replies, request.tab);
            CTranslator translator(http, notices, settings);
            try {
                translator.translate(request.text, request.language);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "peluxbar: a translation failed: %s\n", e.what());
                translator.reportFailure();
            }
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

void CHostTranslations::cancel() {
    m_replies.close();
    m_waiting.clear();
    m_cancellation.cancel();
    for (Running& running : m_running) running.thread.join();
    m_running.clear();
}

}  // namespace pelux
