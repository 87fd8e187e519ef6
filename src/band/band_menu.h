// The band's drop-down menu: every item in order, with the check marks of the two switches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "band/band_settings.h"

namespace pelux {

inline constexpr uint32_t kCommandLoadChinese = 32772;
inline constexpr uint32_t kCommandLoadJapanese = 32773;
inline constexpr uint32_t kCommandFontSmaller = 32786;
inline constexpr uint32_t kCommandFontLarger = 32787;
inline constexpr uint32_t kCommandChineseNews = 32788;
inline constexpr uint32_t kCommandJapaneseNews = 32789;
inline constexpr uint32_t kCommandBabelfish = 32790;
inline constexpr uint32_t kCommandGoogleTranslation = 32791;
inline constexpr uint32_t kCommandCharacterLookup = 32793;
inline constexpr uint32_t kCommandZhongWen = 32794;
inline constexpr uint32_t kCommandUseToolTips = 32795;
inline constexpr uint32_t kCommandComments = 32798;
inline constexpr uint32_t kCommandShowSubWords = 32799;
inline constexpr uint32_t kCommandColor = 32802;
inline constexpr uint32_t kCommandWwwjdic = 32803;
inline constexpr uint32_t kCommandMandarinTools = 32804;

struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    uint32_t id = 0;  // commands only
    std::u16string caption;
    bool checked = false;
    std::vector<MenuItem> items;  // pop-ups only
};

// The items of the menu's "root" pop-up, checked from the settings record as they are now.
std::vector<MenuItem> bandMenu(const BandSettings& settings);

}  // namespace pelux
