// The online translations asked for from the browser's context menu. The request of each runs on
// a thread of its own, so that a slow or silent service holds up only the tab that asked: the
// host's loop goes on answering every tab, and the tab gets its window when the reply comes.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "adapters/http_curl.h"
#include "dictionary/dictionary.h"
#include "host/native_channel.h"
#include "platform/settings_key.h"

namespace pelux {

// Where every translation's messages go, from any thread, until the host stops answering.
class CTranslationReplies {
public:
    explicit CTranslationReplies(CNativeChannel& channel) : m_channel(channel) {}
    void send(const nlohmann::json& message);
    // Once this has returned, nothing more is sent.
    void close();

private:
    CNativeChannel& m_channel;
    std::mutex m_mutex;
    bool m_closed = false;
};

class CHostTranslations {
public:
    // More requests than this at once are refused with the usual failure notice.
    static constexpr std::size_t kMaxRunning = 8;

    CHostTranslations(CNativeChannel& channel, ISettingsKey& settings, CDictionary& store)
        : m_replies(channel), m_settings(settings), m_store(store) {}
    CHostTranslations(const CHostTranslations&) = delete;
    CHostTranslations& operator=(const CHostTranslations&) = delete;
    ~CHostTranslations() { cancel(); }

    // On the host's thread. With no dictionary chosen yet the tab is first told that Chinese is
    // the default, and the request waits until that notice is closed.
    void request(int64_t tab, std::u16string_view text);
    void noticeClosed(int64_t tab, int64_t notice);
    // Requests whose notice is still open in the tab are dropped; running ones end on their own.
    void tabClosed(int64_t tab);
    // Tells the tab that its request could not be made.
    void refuse(int64_t tab);
    // The browser went away: nothing more is sent, waiting requests are dropped, running ones
    // are stopped where they are, and their threads have ended when this returns.
    void cancel();

private:
    struct Waiting {
        int64_t tab = 0;
        std::u16string text;
        DictionaryLanguage language = Chinese;
    };
    struct Running {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void start(const Waiting& request);
    void joinFinished();

    CTranslationReplies m_replies;
    ISettingsKey& m_settings;
    CDictionary& m_store;
    CHttpCancellation m_cancellation;
    int64_t m_lastNotice = 0;
    std::map<int64_t, Waiting> m_waiting;  // by the number of the notice they wait for
    std::list<Running> m_running;
};

}  // namespace pelux
