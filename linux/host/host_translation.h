// The online translations asked for from the browser's context menu. The request of each runs on
// a thread of its own, so that a slow or silent service holds up only the tab that asked: the
// host's loop goes on answering every tab, and the tab gets its window when the reply comes.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "dictionary/dictionary.h"
#include "host/native_channel.h"
#include "platform/settings_key.h"
#include "translate/translation_settings.h"

namespace pelux {

class CHostTranslations {
public:
    // More requests than this at once are refused with the usual failure notice.
    static constexpr std::size_t kMaxRunning = 8;

    CHostTranslations(CNativeChannel& channel, ISettingsKey& settings) : m_channel(channel), m_settings(settings) {}
    CHostTranslations(const CHostTranslations&) = delete;
    CHostTranslations& operator=(const CHostTranslations&) = delete;
    ~CHostTranslations() { finish(); }

    // On the host's thread. With no dictionary chosen yet the tab is first told that Chinese is
    // the default, and the request waits until that notice is closed.
    void request(int64_t tab, std::u16string_view text);
    void noticeClosed(int64_t tab, int64_t notice);
    // Requests whose notice is still open in the tab are dropped; running ones end on their own.
    void tabClosed(int64_t tab);
    // Tells the tab that its request could not be made.
    void refuse(int64_t tab);
    // Drops the waiting requests and waits for the running ones.
    void finish();

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

    CNativeChannel& m_channel;
    ISettingsKey& m_settings;
    int64_t m_lastNotice = 0;
    std::map<int64_t, Waiting> m_waiting;  // by the number of the notice they wait for
    std::list<Running> m_running;
};

}  // namespace pelux
