// The band's commands in a tab: the core's command handler over the tab's band, its dialogs and
// its page; and the online translation asked for from the browser's context menu.
#include <algorithm>
#include <cstdio>

#include "band/band_geometry.h"
#include "band/band_menu.h"
#include "band/load_at_start.h"
#include "band/settings_values.h"
#include "dictionary/loaders.h"
#include "host/host.h"

namespace pelux {

// One command's view of the band in the tab that sent it.
class CTabBandCommands : public IBandCommandHost {
public:
    CTabBandCommands(ITabCommandHost& host, const CommandMessage& message) : m_host(host), m_message(message) {}

    std::optional<int32_t> currentBandHeight() override { return m_message.bandHeight; }
    void setBandHeight(int32_t height) override { m_host.send(bandHeightReply(m_message.tab, height)); }
    int32_t currentFontHeight() override {
        if (m_message.fontHeight) return *m_message.fontHeight;
        return m_host.storedFontHeight();
    }
    void setFontHeight(int32_t height) override {
        m_host.keepTabFont(m_message.tab, height);
        m_host.send(bandFontReply(m_message.tab, height, fontPixelHeight(height)));
    }
    ColorDialogAnswer askTextColor(std::u16string_view initialText) override {
        return m_host.runColorDialog(m_message.tab, initialText);
    }
    void stopAndNavigate(std::u16string_view address) override {
        m_host.send(navigateReply(m_message.tab, address));
    }
    void loadChineseDictionary() override { pelux::loadChineseDictionary(m_host.loadEnvironment(m_message.tab)); }
    void loadJapaneseDictionary() override { pelux::loadJapaneseDictionary(m_host.loadEnvironment(m_message.tab)); }

private:
    ITabCommandHost& m_host;
    const CommandMessage& m_message;
};

namespace {

// Every open Text Color dialog is a nested wait on this thread's stack. As a modal dialog
// disables the window that opened it, a tab has one at a time; and only so many tabs at once.
constexpr std::size_t kMaxOpenColorDialogs = 32;

bool changesSharedSettings(uint32_t command) {
    return command == kCommandUseToolTips || command == kCommandShowSubWords || command == kCommandColor;
}

}  // namespace

void CNativeHost::handle(const CommandMessage& message) {
    CTabBandCommands band(*this, message);
    const BandCommandOutcome outcome = onCommand(message.id, band, m_settings);
    if (outcome == BandCommandOutcome::Ignored) {
        std::fprintf(stderr, "peluxbar: command %u is not a command of the band\n", message.id);
        return;
    }
    if (outcome == BandCommandOutcome::IgnoredDuringLoad) {
        std::fprintf(stderr, "peluxbar: load command %u ignored: a load is running\n", message.id);
        return;
    }
    if (message.id == kCommandLoadChinese || message.id == kCommandLoadJapanese) {
        send(loadEndedReply(message.tab));
    }
    if (changesSharedSettings(message.id)) sendSharedSettings();
}

void CNativeHost::loadRememberedDictionary() {
    CommandMessage everyTab;
    everyTab.tab = kEveryTab;
    CTabBandCommands band(*this, everyTab);
    if (pelux::loadRememberedDictionary(band, m_settings)) send(loadEndedReply(kEveryTab));
}

int32_t CNativeHost::storedFontHeight() { return bandFontHeight(m_settings, kDefaultGuiFontHeight); }

void CNativeHost::keepTabFont(int64_t tab, int32_t height) { m_tabBands.setFont(tab, height); }

LoadEnvironment CNativeHost::loadEnvironment(int64_t tab) {
    LoadEnvironment environment;
    environment.textWindow = textWindowOf(tab);
    environment.pump = this;
    environment.keys = &m_keys;
    environment.directory = m_dictionaryDir;
    return environment;
}

void CNativeHost::sendSharedSettings() {
    send(sharedSettingsMessage(bandMenu(bandSettings()), colorToText(bandSettings().FontColor)));
}

ColorDialogAnswer CNativeHost::runColorDialog(int64_t tab, std::u16string_view initialText) {
    const bool tabHasOne = std::any_of(m_openColorDialogs.begin(), m_openColorDialogs.end(),
                                       [tab](const auto& open) { return open.second == tab; });
    if (tabHasOne || m_openColorDialogs.size() >= kMaxOpenColorDialogs) {
        std::fprintf(stderr, "peluxbar: no Text Color dialog for tab %lld: too many open\n",
                     static_cast<long long>(tab));
        return ColorDialogAnswer{kColorDialogCancel, {}};
    }
    const int64_t dialog = ++m_lastDialog;
    m_openColorDialogs[dialog] = tab;
    send(colorDialogReply(tab, dialog, initialText));
    // Like a modal dialog's own message loop: everything else goes on being answered, and a
    // dialog opened meanwhile in another tab may end before or after this one.
    while (!m_colorAnswers.contains(dialog)) {
        std::optional<std::string> frame = m_channel.readMessage();
        if (!frame) break;
        handleFrame(*frame);
    }
    ColorDialogAnswer answer{kColorDialogCancel, {}};
    if (auto found = m_colorAnswers.find(dialog); found != m_colorAnswers.end()) answer = found->second;
    m_colorAnswers.erase(dialog);
    m_openColorDialogs.erase(dialog);
    return answer;
}

void CNativeHost::handle(const ColorAnswerMessage& message) {
    // Only the tab that owns an open dialog may end it, and only once.
    const auto open = m_openColorDialogs.find(message.dialog);
    if (open == m_openColorDialogs.end() || open->second != message.tab) {
        std::fprintf(stderr, "peluxbar: dropped an answer for a dialog that is not open\n");
        return;
    }
    m_colorAnswers.try_emplace(message.dialog, ColorDialogAnswer{message.result, message.text});
}

void CNativeHost::handle(const TranslateMessage& message) { m_translations.request(message.tab, message.text); }

void CNativeHost::handle(const NoticeClosedMessage& message) {
    m_translations.noticeClosed(message.tab, message.notice);
}

void CNativeHost::refuseTranslation(const std::string& frame) {
    if (const std::optional<int64_t> tab = tabOfRefusedTranslation(frame)) m_translations.refuse(*tab);
}

}  // namespace pelux
