// The native messaging host: one thread that owns the store and the settings, answers every
// message of the extension's service worker, and runs dictionary loads that keep answering.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "host/host_band_state.h"
#include "host/host_translation.h"
#include "host/native_channel.h"
#include "host/native_messages.h"
#include "band/band_commands.h"
#include "dictionary/load_environment.h"
#include "platform/key_state.h"
#include "platform/message_pump.h"
#include "platform/settings_key.h"
#include "platform/text_window.h"

namespace pelux {

// Escape as every tab reports it: down now in some tab, or went down since the last poll.
class CChannelKeyState : public IKeyState {
public:
    void onKey(int64_t tab, const std::string& key, bool down);
    void forgetTab(int64_t tab);
    bool pollEscape() override;

private:
    std::set<int64_t> m_tabsHoldingEscape;
    bool m_wentDown = false;
};

// A tab's band text area; what is written goes to the tab at once, and stays with its band.
class CTabTextWindow : public ITextWindow {
public:
    CTabTextWindow(CNativeChannel& channel, CTabBands& bands, int64_t tab)
        : m_channel(channel), m_bands(bands), m_tab(tab) {}
    void setText(std::u16string_view text) override;

private:
    CNativeChannel& m_channel;
    CTabBands& m_bands;
    int64_t m_tab;
};

// The shell's "default GUI font": the height a band's font keeps when "FontSize" is unreadable.
inline constexpr int32_t kDefaultGuiFontHeight = -11;

// What a band command needs of the host while it runs for one tab.
class ITabCommandHost {
public:
    virtual ~ITabCommandHost() = default;
    virtual void send(const nlohmann::json& message) = 0;
    // The font height in the settings, for a tab that did not say its own.
    virtual int32_t storedFontHeight() = 0;
    // The tab's band keeps the height for a band drawn anew after a navigation.
    virtual void keepTabFont(int64_t tab, int32_t height) = 0;
    // Opens the tab's Text Color dialog and answers the other messages until it ends.
    virtual ColorDialogAnswer runColorDialog(int64_t tab, std::u16string_view initialText) = 0;
    // Where a load started from the tab writes its progress, and what it polls while it runs.
    virtual LoadEnvironment loadEnvironment(int64_t tab) = 0;
};

class CNativeHost : private IMessagePump, private ITabCommandHost {
public:
    CNativeHost(CNativeChannel& channel, ISettingsKey& settings, std::filesystem::path dictionaryDir);

    // Answers messages until the input ends; returns the exit code.
    int run();
    // One inbound frame: validated, handled, or logged and dropped.
    void handleFrame(const std::string& frame);

private:
    void pumpMessages() override;
    void handle(const PointerMessage& message);
    void handle(const CommandMessage& message);
    void handle(const KeyMessage& message);
    void handle(const ShowMessage& message);
    void handle(const BandRequestMessage& message);
    void handle(const BandClosedMessage& message);
    void handle(const TabClosedMessage& message);
    void handle(const ColorAnswerMessage& message);
    void handle(const TranslateMessage& message);
    void handle(const SetSettingMessage& message);
    void handle(const ReaderSettingsRequest& message);
    // Every tab and the options page learn the reader's switches as they are now.
    void sendReaderSettings();
    // With "LoadAtStart" on: the remembered dictionary, its progress in every tab's band.
    void loadRememberedDictionary();
    void handle(const NoticeClosedMessage& message);
    // The failure notice for a translation request too damaged to read.
    void refuseTranslation(const std::string& frame);
    void send(const nlohmann::json& message) override;
    int32_t storedFontHeight() override;
    void keepTabFont(int64_t tab, int32_t height) override;
    LoadEnvironment loadEnvironment(int64_t tab) override;
    // Every tab redraws its menu's check marks and its text colour from the shared record.
    void sendSharedSettings();
    // A dialog whose tab closes, or whose browser goes away, ends as Cancel.
    ColorDialogAnswer runColorDialog(int64_t tab, std::u16string_view initialText) override;
    std::shared_ptr<CTabTextWindow> textWindowOf(int64_t tab);

    CNativeChannel& m_channel;
    ISettingsKey& m_settings;
    std::filesystem::path m_dictionaryDir;
    CChannelKeyState m_keys;
    std::map<int64_t, std::shared_ptr<CTabTextWindow>> m_textWindows;
    CTabBands m_tabBands;
    CHostTranslations m_translations;
    bool m_bandVisible = true;
    int64_t m_lastDialog = 0;
    std::map<int64_t, int64_t> m_openColorDialogs;  // dialog -> its tab
    std::map<int64_t, ColorDialogAnswer> m_colorAnswers;
};

}  // namespace pelux
