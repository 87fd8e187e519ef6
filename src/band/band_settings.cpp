#include "band/band_settings.h"

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
    readSwitch(kSettingAllEntries, settings.AllEntries);
    readSwitch(kSettingStandardPinyin, settings.StandardPinyin);
    readSwitch(kSettingHepburnRomaji, settings.HepburnRomaji);
    readSwitch(kSettingDeinflect, settings.Deinflect);
    readSwitch(kSettingReaderPopup, settings.ReaderPopup);
    readSwitch(kSettingLoadAtStart, settings.LoadAtStart);
    const std::optional<std::u16string> colour = readSettingText(key, kSettingFontColor);
    if (!colour) {
        settings.FontColor = kDefaultFontColor;
    } else if (const std::optional<uint32_t> value = colorFromText(*colour)) {
        settings.FontColor = *value;
    }
}

ReaderOptions readerOptions(const BandSettings& settings) {
    ReaderOptions reader;
    reader.allEntries = settings.AllEntries != 0;
    reader.standardPinyin = settings.StandardPinyin != 0;
    reader.hepburnRomaji = settings.HepburnRomaji != 0;
    reader.deinflect = settings.Deinflect != 0;
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
