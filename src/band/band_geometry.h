// Where the band's controls go, how big the band is, and the text font's height.
#pragma once

#include <cstdint>

#include "contract/extension_contract.h"
#include "platform/settings_key.h"

namespace pelux {

struct BandRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct ControlPlacement {
    int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ControlPlacement&) const = default;
};

// The four controls of a band window laid out in its client rectangle.
struct BandLayout {
    ControlPlacement menuButton, text, smallerButton, biggerButton;
};

inline constexpr int32_t kMenuButtonWidth = 35;
inline constexpr int32_t kHeightButtonWidth = 24;
inline constexpr int32_t kMinimumSavedHeight = 35;
inline constexpr int32_t kBandHeightStep = 35;
inline constexpr int32_t kDefaultBandWidth = 1000;
inline constexpr int32_t kDefaultBandHeight = 40;

// The layout made on every resize: menu button in a 35-pixel column at the left, the text area
// up to 25 pixels from the right, the two height buttons stacked in the last 24 pixels.
BandLayout layoutBand(const BandRect& client);

struct BandSize {
    int32_t width = kDefaultBandWidth;
    int32_t height = kDefaultBandHeight;
};

// The band's size as the browser is told it: "Width" and "Height" saved by the last close,
// 1000 by 40 when they are absent or do not parse.
BandSize savedBandSize(ISettingsKey& key);
// Writes "Height" (never below 35) and "Width" from the client rectangle.
void saveBandSize(ISettingsKey& key, const BandRect& client);

// The child height after a height button's command: 35 more or less, never under 35.
// Any other command leaves the height as it is.
int32_t bandHeightAfterCommand(int32_t childHeight, uint32_t command);

// The text font's height field from "FontSize": -19 when absent; a present value that does not
// parse keeps the default GUI font's height.
int32_t bandFontHeight(ISettingsKey& key, int32_t defaultGuiFontHeight);
// Negative heights give the character height in pixels; positive ones the cell height, which
// the shells draw the same way.
int32_t fontPixelHeight(int32_t fontHeight);

}  // namespace pelux
