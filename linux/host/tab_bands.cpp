#include "host/tab_bands.h"

#include <algorithm>

#include "band/band_geometry.h"
#include "band/band_menu.h"
#include "band/band_settings.h"
#include "band/settings_values.h"
#include "host/native_replies.h"

namespace pelux {

namespace {

class CTabTextWindow : public ITextWindow {
public:
    CTabTextWindow(CNativeChannel& channel, CTabBands& bands, int64_t tab)
        : m_channel(channel), m_bands(bands), m_tab(tab) {}
    void setText(std::u16string_view text) override {
        m_bands.setText(m_tab, text);
        m_channel.send(serializeMessage(textReply(m_tab, text)));
    }

private:
    CNativeChannel& m_channel;
    CTabBands& m_bands;
    int64_t m_tab;
};

}  // namespace

int32_t shownBandHeight(int32_t height, std::optional<int32_t> viewHeight) {
    const int32_t highest = viewHeight ? std::max(kBandMinimumHeight, *viewHeight / 2) : INT32_MAX;
    return std::clamp(height, kBandMinimumHeight, highest);
}

BandState CTabBands::draw(const BandRequestMessage& request) {
    BandState state;
    state.tab = request.tab;
    state.width = request.width;
    int32_t height = request.height;
    std::optional<int32_t> fontHeight = request.fontHeight;
    // A band drawn anew in a tab that had one (a navigation) is that tab's band still.
    if (const auto kept = m_tabs.find(request.tab); kept != m_tabs.end() && !fontHeight) {
        if (height <= 0) height = kept->second.height;
        fontHeight = kept->second.fontHeight;
        state.text = kept->second.text;
    }
    if (height <= 0) height = savedBandSize(m_settings).height;
    state.height = shownBandHeight(height, request.viewHeight);
    state.layout = layoutBand({0, 0, state.width, state.height});
    state.fontHeight = fontHeight.value_or(bandFontHeight(m_settings, kDefaultGuiFontHeight));
    state.fontPixels = fontPixelHeight(state.fontHeight);
    TabBand& band = m_tabs[request.tab];
    band.height = state.height;
    band.fontHeight = state.fontHeight;
    state.fontColor = colorToText(m_record.FontColor);
    state.visible = m_visible;
    state.menu = bandMenu(m_record);
    return state;
}

void CTabBands::closed(const BandClosedMessage& message) {
    saveBandSize(m_settings, {0, 0, message.width, message.height});
}

void CTabBands::setFont(int64_t tab, int32_t fontHeight) {
    if (const auto found = m_tabs.find(tab); found != m_tabs.end()) found->second.fontHeight = fontHeight;
}

void CTabBands::setText(int64_t tab, std::u16string_view text) {
    const auto found = m_tabs.find(tab);
    if (found == m_tabs.end()) return;
    // No more is kept than a reply can carry.
    found->second.text = std::u16string(text.substr(0, kMaxReplyTextUnits));
}

std::shared_ptr<ITextWindow> CTabBands::textWindow(int64_t tab) {
    std::shared_ptr<ITextWindow>& window = m_textWindows[tab];
    if (!window) window = std::make_shared<CTabTextWindow>(m_channel, *this, tab);
    return window;
}

void CTabBands::forget(int64_t tab) {
    m_textWindows.erase(tab);
    m_tabs.erase(tab);
}

}  // namespace pelux
