#include "host/host_band_state.h"

#include <algorithm>

#include "host/native_replies.h"

namespace pelux {

int32_t shownBandHeight(int32_t height, std::optional<int32_t> viewHeight) {
    const int32_t highest = viewHeight ? std::max(kBandMinimumHeight, *viewHeight / 2) : INT32_MAX;
    return std::clamp(height, kBandMinimumHeight, highest);
}

const TabBand* CTabBands::find(int64_t tab) const {
    const auto found = m_tabs.find(tab);
    return found == m_tabs.end() ? nullptr : &found->second;
}

void CTabBands::setSize(int64_t tab, int32_t height, int32_t fontHeight) {
    TabBand& band = m_tabs[tab];
    band.height = height;
    band.fontHeight = fontHeight;
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

}  // namespace pelux
