#include "host/tab_commands.h"

#include <cstdio>

#include "adapters/module_directory_linux.h"
#include "band/band_geometry.h"
#include "band/band_menu.h"
#include "band/band_settings.h"
#include "band/load_at_start.h"
#include "band/settings_values.h"
#include "dictionary/loaders.h"
#include "host/native_replies.h"

namespace pelux {

// One command's view of the band in the tab that sent it.
class CTabCommands::CTabBand : public IBandCommandHost {
public:
    CTabBand(CTabCommands& commands, const CommandMessage& message) : m_commands(commands), m_message(message) {}

    std::optional<int32_t> currentBandHeight() override { return m_message.bandHeight; }
    void setBandHeight(int32_t height) override { m_commands.send(bandHeightReply(m_message.tab, height)); }
    int32_t currentFontHeight() override {
        if (m_message.fontHeight) return *m_message.fontHeight;
        return bandFontHeight(m_commands.m_settings, kDefaultGuiFontHeight);
    }
    void setFontHeight(int32_t height) override {
        m_commands.m_bands.setFont(m_message.tab, height);
        m_commands.send(bandFontReply(m_message.tab, height, fontPixelHeight(height)));
    }
    std::optional<ColorDialogAnswer> askTextColor(std::u16string_view initialText) override {
        const std::optional<int64_t> dialog = m_commands.m_colorDialogs.open(m_message.tab);
        if (!dialog) {
            std::fprintf(stderr, "peluxbar: no Text Color dialog for tab %lld: too many open\n",
                         static_cast<long long>(m_message.tab));
            return ColorDialogAnswer{kColorDialogCancel, {}};
        }
        m_commands.send(colorDialogReply(m_message.tab, *dialog, initialText));
        m_openedDialog = true;
        return std::nullopt;
    }
    void stopAndNavigate(std::u16string_view address) override {
        m_commands.send(navigateReply(m_message.tab, address));
    }
    void loadChineseDictionary() override { pelux::loadChineseDictionary(m_commands.m_engine.store(), loadEnvironment()); }
    void loadJapaneseDictionary() override { pelux::loadJapaneseDictionary(m_commands.m_engine.store(), loadEnvironment()); }

    bool openedDialog() const { return m_openedDialog; }

private:
    LoadEnvironment loadEnvironment() {
        LoadEnvironment environment;
        environment.textWindow = m_commands.m_bands.textWindow(m_message.tab);
        environment.pump = m_commands.m_loads.pump;
        environment.keys = m_commands.m_loads.keys;
        environment.directory = m_commands.m_loads.directory;
        environment.keepImage = !isSystemDirectory(environment.directory);
        return environment;
    }

    CTabCommands& m_commands;
    const CommandMessage& m_message;
    bool m_openedDialog = false;
};

namespace {

bool changesSharedSettings(uint32_t command) {
    return command == kCommandUseToolTips || command == kCommandShowSubWords || command == kCommandColor;
}

}  // namespace

void CTabCommands::handle(const CommandMessage& message) {
    CTabBand band(*this, message);
    const BandCommandOutcome outcome = onCommand(message.id, band, m_settings, m_engine);
    if (outcome == BandCommandOutcome::Ignored) {
        std::fprintf(stderr, "peluxbar: command %u is not a command of the band\n", message.id);
        return;
    }
    if (outcome == BandCommandOutcome::IgnoredDuringLoad) {
        std::fprintf(stderr, "peluxbar: load command %u ignored: a load is running\n", message.id);
        return;
    }
    if (message.id == kCommandLoadChinese || message.id == kCommandLoadJapanese) send(loadEndedReply(message.tab));
    // An open dialog's tab learns the settings when the dialog ends.
    if (changesSharedSettings(message.id) && !band.openedDialog()) sendSharedSettings();
}

void CTabCommands::loadRememberedDictionary() {
    CommandMessage everyTab;
    everyTab.tab = kEveryTab;
    CTabBand band(*this, everyTab);
    if (pelux::loadRememberedDictionary(band, m_settings, m_engine)) send(loadEndedReply(kEveryTab));
}

void CTabCommands::colorAnswered(const ColorAnswerMessage& message) {
    if (!m_colorDialogs.answer(message.tab, message.dialog, ColorDialogAnswer{message.result, message.text})) {
        std::fprintf(stderr, "peluxbar: dropped an answer for a dialog that is not open\n");
        return;
    }
    applyEndedDialogs();
}

void CTabCommands::tabClosed(int64_t tab) {
    m_colorDialogs.cancelTab(tab);
    applyEndedDialogs();
}

void CTabCommands::inputEnded() {
    m_colorDialogs.cancelAll();
    applyEndedDialogs();
}

void CTabCommands::applyEndedDialogs() {
    for (const EndedColorDialog& ended : m_colorDialogs.takeEnded()) {
        CommandMessage fromTab;
        fromTab.tab = ended.tab;
        CTabBand band(*this, fromTab);
        answerTextColor(ended.answer, band, m_settings, m_engine.settings());
        sendSharedSettings();
    }
}

void CTabCommands::send(const nlohmann::json& message) { m_channel.send(serializeMessage(message)); }

void CTabCommands::sendSharedSettings() {
    send(sharedSettingsMessage(bandMenu(m_engine.settings()), colorToText(m_engine.settings().FontColor)));
}

}  // namespace pelux
