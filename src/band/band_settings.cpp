#include "band/band_settings.h"

#include "band/reader_switches.h"
#include "band/settings_values.h"

namespace pelux {

void readBandSettings(ISettingsKey& key, BandSettings& settings) {
    // A present value that does not parse leaves the field as it was.
    auto readSwitch = [&key](std::u16string_view name, std::atomic<int32_t>& field) {
        const std::optional<std::u16string> text = readSettingText(key, name);
        if (!text) {
            field = 0;
            return;
        }
        if (const std::optional<int32_t> value = parseDecimalSetting(*text)) field = *value;
    };
    readSwitch(kSettingUseToolTips, settings.UseToolTips);
    readSwitch(kSettingShowSubWords, settings.ShowSubWordTranslations);
    for (const ReaderSwitch& s : readerSwitches()) readSwitch(s.name, settings.*s.field);
    const std::optional<std::u16string> colour = readSettingText(key, kSettingFontColor);
    if (!colour) {
        settings.FontColor = kDefaultFontColor;
    } else if (const std::optional<uint32_t> value = colorFromText(*colour)) {
        settings.FontColor = *value;
    }
}

ReaderOptions readerOptions(const BandSettings& settings) {
    ReaderOptions reader;
#define PELUX_READER_OPTION(name, field, text) reader.field = settings.name != 0;
    PELUX_LOOKUP_SWITCHES(PELUX_READER_OPTION)
#undef PELUX_READER_OPTION
    return reader;
}

PointerSwitches pointerSwitches(const BandSettings& settings) {
    PointerSwitches switches;
    switches.useToolTips = settings.UseToolTips != 0;
    switches.showSubWords = settings.ShowSubWordTranslations != 0;
    switches.reader = readerOptions(settings);
    return switches;
}

}  // namespace pelux
