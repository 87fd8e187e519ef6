#include "host/host.h"

#include <cstdio>

#include "band/band_geometry.h"
#include "band/band_menu.h"
#include "band/band_settings.h"
#include "band/settings_values.h"
#include "browser/pointer_capture.h"
#include "host/host_pointer.h"
#include "host/host_reader.h"

namespace pelux {

namespace {

class CPointerBandView : public IBandView {
public:
    explicit CPointerBandView(bool visible) : m_visible(visible) {}
    bool isVisible() override { return m_visible; }
    ITextWindow& textArea() override { return m_text; }
    void noteMatchedLength(int32_t length) override { m_matchedLength = length; }
    const std::optional<std::u16string>& text() const { return m_text.text(); }
    std::optional<int32_t> matchedLength() const { return m_matchedLength; }

private:
    bool m_visible;
    CCollectingTextWindow m_text;
    std::optional<int32_t> m_matchedLength;
};

}  // namespace

void CChannelKeyState::onKey(int64_t tab, const std::string& key, bool down) {
    if (key != "Escape") return;
    if (down) {
        m_tabsHoldingEscape.insert(tab);
        m_wentDown = true;
    } else {
        m_tabsHoldingEscape.erase(tab);
    }
}

void CChannelKeyState::forgetTab(int64_t tab) { m_tabsHoldingEscape.erase(tab); }

bool CChannelKeyState::pollEscape() {
    const bool pressed = m_wentDown || !m_tabsHoldingEscape.empty();
    m_wentDown = false;
    return pressed;
}

void CTabTextWindow::setText(std::u16string_view text) {
    m_bands.setText(m_tab, text);
    m_channel.send(serializeMessage(textReply(m_tab, text)));
}

CNativeHost::CNativeHost(CNativeChannel& channel, ISettingsKey& settings,
                         std::filesystem::path dictionaryDir)
    : m_channel(channel),
      m_settings(settings),
      m_dictionaryDir(std::move(dictionaryDir)),
      m_translations(channel, settings) {}

int CNativeHost::run() {
    // The end of the input in the middle of a load is seen by the pump; the load runs on to
    // its end, and then this loop finds the input ended.
    loadRememberedDictionary();
    while (std::optional<std::string> frame = m_channel.readMessage()) handleFrame(*frame);
    m_translations.finish();
    return 0;
}

void CNativeHost::handleFrame(const std::string& frame) {
    std::string error;
    const std::optional<InboundMessage> message = parseInboundMessage(frame, error);
    if (!message) {
        std::fprintf(stderr, "peluxbar: dropped a message (%s)\n", error.c_str());
        refuseTranslation(frame);
        return;
    }
    try {
        std::visit([this](const auto& m) { handle(m); }, *message);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "peluxbar: a message failed: %s\n", e.what());
    }
}

void CNativeHost::pumpMessages() {
    while (std::optional<std::string> frame = m_channel.takeWaitingMessage()) handleFrame(*frame);
}

void CNativeHost::handle(const PointerMessage& message) {
    CCapturedEvent event(message);
    CPointerBandView band(m_bandVisible);
    handleMouseMove(event, band, pointerSwitches(bandSettings()));
    if (band.text()) m_tabBands.setText(message.tab, *band.text());
    nlohmann::json reply = pointerReply(message.tab, message.frame, message.seq, band.text(), event.element().title());
    addReaderFields(reply, readerFields(message.frame, band.matchedLength(), m_settings));
    send(reply);
}

void CNativeHost::handle(const KeyMessage& message) { m_keys.onKey(message.tab, message.key, message.down); }

void CNativeHost::handle(const ShowMessage& message) { m_bandVisible = message.visible; }

void CNativeHost::handle(const BandRequestMessage& message) {
    BandState state;
    state.tab = message.tab;
    state.width = message.width;
    int32_t height = message.height;
    std::optional<int32_t> fontHeight = message.fontHeight;
    // A band drawn anew in a tab that had one (a navigation) is that tab's band still.
    if (const TabBand* kept = m_tabBands.find(message.tab); kept != nullptr && !fontHeight) {
        if (height <= 0) height = kept->height;
        fontHeight = kept->fontHeight;
        state.text = kept->text;
    }
    if (height <= 0) height = savedBandSize(m_settings).height;
    state.height = shownBandHeight(height, message.viewHeight);
    state.layout = layoutBand({0, 0, state.width, state.height});
    state.fontHeight = fontHeight.value_or(bandFontHeight(m_settings, kDefaultGuiFontHeight));
    state.fontPixels = fontPixelHeight(state.fontHeight);
    m_tabBands.setSize(message.tab, state.height, state.fontHeight);
    state.fontColor = colorToText(bandSettings().FontColor);
    state.visible = m_bandVisible;
    state.menu = bandMenu(bandSettings());
    send(bandStateReply(state));
}

void CNativeHost::handle(const BandClosedMessage& message) {
    saveBandSize(m_settings, {0, 0, message.width, message.height});
}

void CNativeHost::handle(const TabClosedMessage& message) {
    // A load writing to this tab's text area finds the window gone and leaves it alone.
    m_textWindows.erase(message.tab);
    m_tabBands.forget(message.tab);
    m_translations.tabClosed(message.tab);
    m_keys.forgetTab(message.tab);
    for (const auto& [dialog, tab] : m_openColorDialogs) {
        if (tab == message.tab) m_colorAnswers.try_emplace(dialog, ColorDialogAnswer{kColorDialogCancel, {}});
    }
}

void CNativeHost::send(const nlohmann::json& message) { m_channel.send(serializeMessage(message)); }

std::shared_ptr<CTabTextWindow> CNativeHost::textWindowOf(int64_t tab) {
    std::shared_ptr<CTabTextWindow>& window = m_textWindows[tab];
    if (!window) window = std::make_shared<CTabTextWindow>(m_channel, m_tabBands, tab);
    return window;
}

}  // namespace pelux
