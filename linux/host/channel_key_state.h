// Escape as the tabs report it, for a load that polls for it on the host's thread.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "platform/key_state.h"

namespace pelux {

// Escape counts as pressed while it is down in some tab, or when it went down since the last poll.
class CChannelKeyState : public IKeyState {
public:
    void onKey(int64_t tab, const std::string& key, bool down);
    void forgetTab(int64_t tab);
    bool pollEscape() override;

private:
    std::set<int64_t> m_tabsHoldingEscape;
    bool m_wentDown = false;
};

}  // namespace pelux
