#include "host/color_dialogs.h"

#include <algorithm>

namespace pelux {

std::optional<int64_t> CColorDialogs::open(int64_t tab) {
    const bool tabHasOne =
        std::any_of(m_open.begin(), m_open.end(), [tab](const auto& open) { return open.second.tab == tab; });
    if (tabHasOne || m_open.size() >= kMaxOpen) return std::nullopt;
    const int64_t dialog = ++m_lastDialog;
    m_open[dialog] = OpenDialog{tab, std::nullopt};
    return dialog;
}

bool CColorDialogs::answer(int64_t tab, int64_t dialog, const ColorDialogAnswer& answer) {
    const auto open = m_open.find(dialog);
    if (open == m_open.end() || open->second.tab != tab) return false;
    if (!open->second.answer) open->second.answer = answer;
    return true;
}

void CColorDialogs::cancelTab(int64_t tab) {
    for (auto& [dialog, open] : m_open) {
        if (open.tab == tab && !open.answer) open.answer = ColorDialogAnswer{kColorDialogCancel, {}};
    }
}

void CColorDialogs::cancelAll() {
    for (auto& [dialog, open] : m_open) {
        if (!open.answer) open.answer = ColorDialogAnswer{kColorDialogCancel, {}};
    }
}

std::vector<EndedColorDialog> CColorDialogs::takeEnded() {
    std::vector<EndedColorDialog> ended;
    while (!m_open.empty() && m_open.rbegin()->second.answer) {
        const auto newest = std::prev(m_open.end());
        ended.push_back(EndedColorDialog{newest->second.tab, *newest->second.answer});
        m_open.erase(newest);
    }
    return ended;
}

}  // namespace pelux
