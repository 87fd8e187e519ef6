// What each tab's band keeps while the tab lives, and how a band is drawn whatever the settings
// say. A band window lives until its tab closes, across the tab's navigations; in Chromium each
// page draws the band anew and gets back the tab's height, font and text from here.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "band/band_settings.h"
#include "host/native_channel.h"
#include "host/native_messages.h"
#include "platform/settings_key.h"
#include "platform/text_window.h"

namespace pelux {

// The least height the browser's rebar gives the band (its minimum size is 100 by 30).
inline constexpr int32_t kBandMinimumHeight = 30;

// The shell's "default GUI font": the height a band's font keeps when "FontSize" is unreadable.
inline constexpr int32_t kDefaultGuiFontHeight = -11;

// The height a band is drawn with: never under the rebar's minimum, and, when the viewport's
// height is known, never over half of it, so that a hand-edited "Height" cannot hide the page.
int32_t shownBandHeight(int32_t height, std::optional<int32_t> viewHeight);

struct TabBand {
    int32_t height = 0;
    int32_t fontHeight = 0;
    std::optional<std::u16string> text;
};

class CTabBands {
public:
    CTabBands(CNativeChannel& channel, ISettingsKey& settings, const BandSettings& record)
        : m_channel(channel), m_settings(settings), m_record(record) {}

    // How the tab's band is to be drawn now; the tab keeps the height and font it is given.
    BandState draw(const BandRequestMessage& request);
    // The band's size is remembered for the next band drawn from the settings.
    void closed(const BandClosedMessage& message);
    void setFont(int64_t tab, int32_t fontHeight);
    // Only the band of a tab already drawn keeps a text.
    void setText(int64_t tab, std::u16string_view text);
    // The tab's text area: what is written goes to the tab at once, and stays with its band.
    std::shared_ptr<ITextWindow> textWindow(int64_t tab);
    // A load writing to the tab's text area finds the window gone and leaves it alone.
    void forget(int64_t tab);

    // The band is shown or hidden in every tab at once.
    bool visible() const { return m_visible; }
    void show(bool visible) { m_visible = visible; }

private:
    CNativeChannel& m_channel;
    ISettingsKey& m_settings;
    const BandSettings& m_record;
    std::map<int64_t, TabBand> m_tabs;
    std::map<int64_t, std::shared_ptr<ITextWindow>> m_textWindows;
    bool m_visible = true;
};

}  // namespace pelux
