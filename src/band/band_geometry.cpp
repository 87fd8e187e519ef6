#include "band/band_geometry.h"

#include <cstdint>
#include <cstdlib>

#include "band/settings_values.h"

namespace pelux {

BandLayout layoutBand(const BandRect& client) {
    BandLayout layout;
    const int32_t height = client.bottom - client.top;
    layout.menuButton = {client.left, client.top, kMenuButtonWidth, height};
    layout.text = {client.left + kMenuButtonWidth, client.top,
                   (client.right - 25) - (client.left + kMenuButtonWidth), height};
    const int32_t mid = (client.bottom - client.top) / 2;
    layout.smallerButton = {client.right - kHeightButtonWidth, client.top, kHeightButtonWidth,
                            mid - client.top};
    layout.biggerButton = {client.right - kHeightButtonWidth, mid + 1, kHeightButtonWidth,
                           client.bottom - (mid + 1)};
    return layout;
}

BandSize savedBandSize(ISettingsKey& key) {
    BandSize size;
    if (const auto text = readSettingText(key, kSettingHeight)) {
        if (const auto value = parseDecimalSetting(*text)) size.height = *value;
    }
    // A width that is stored but does not parse keeps the value it had, which is the default.
    if (const auto text = readSettingText(key, kSettingWidth)) {
        if (const auto value = parseDecimalSetting(*text)) size.width = *value;
    }
    return size;
}

void saveBandSize(ISettingsKey& key, const BandRect& client) {
    int32_t height = client.bottom - client.top;
    if (height < kMinimumSavedHeight) height = kMinimumSavedHeight;
    key.writeValue(kSettingHeight, decimalText(height));
    key.writeValue(kSettingWidth, decimalText(client.right - client.left));
}

int32_t bandHeightAfterCommand(int32_t childHeight, uint32_t command) {
    int32_t height = childHeight;
    if (command == kCommandBandBigger) {
        if (height > INT32_MAX - kBandHeightStep) return childHeight;
        height += kBandHeightStep;
    } else if (command == kCommandBandSmaller) {
        height -= kBandHeightStep;
    } else {
        return childHeight;
    }
    return height < kMinimumSavedHeight ? kMinimumSavedHeight : height;
}

int32_t bandFontHeight(ISettingsKey& key, int32_t defaultGuiFontHeight) {
    const std::optional<std::u16string> text = readSettingText(key, kSettingFontSize);
    if (!text) return kDefaultFontHeight;
    return parseDecimalSetting(*text).value_or(defaultGuiFontHeight);
}

int32_t fontPixelHeight(int32_t fontHeight) {
    return fontHeight == INT32_MIN ? INT32_MAX : std::abs(fontHeight);
}

}  // namespace pelux
