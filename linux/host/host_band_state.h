// What a tab's band keeps while the tab lives, and how a band is shown whatever the settings say.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pelux {

// The least height the browser's rebar gives the band (its minimum size is 100 by 30).
inline constexpr int32_t kBandMinimumHeight = 30;

// The height a band is drawn with: never under the rebar's minimum, and, when the viewport's
// height is known, never over half of it, so that a hand-edited "Height" cannot hide the page.
int32_t shownBandHeight(int32_t height, std::optional<int32_t> viewHeight);

// A band window lives until its tab closes, across the tab's navigations; in Chromium each page
// draws the band anew, and gets back the tab's height, font and text from here.
struct TabBand {
    int32_t height = 0;
    int32_t fontHeight = 0;
    std::optional<std::u16string> text;
};

class CTabBands {
public:
    const TabBand* find(int64_t tab) const;
    void setSize(int64_t tab, int32_t height, int32_t fontHeight);
    void setFont(int64_t tab, int32_t fontHeight);
    // Only the band of a tab already drawn keeps a text.
    void setText(int64_t tab, std::u16string_view text);
    void forget(int64_t tab) { m_tabs.erase(tab); }

private:
    std::map<int64_t, TabBand> m_tabs;
};

}  // namespace pelux
