#include "host/channel_key_state.h"

namespace pelux {

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

}  // namespace pelux
