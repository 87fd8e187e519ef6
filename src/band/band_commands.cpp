#include "band/band_commands.h"

#include "band/band_geometry.h"
#include "band/band_menu.h"
#include "band/load_at_start.h"
#include "band/load_commands.h"
#include "band/reference_pages.h"
#include "band/settings_values.h"

namespace pelux {

namespace {

void changeBandHeight(uint32_t command, IBandCommandHost& host) {
    const std::optional<int32_t> height = host.currentBandHeight();
    if (!height) return;
    host.setBandHeight(bandHeightAfterCommand(*height, command));
}

void changeFontHeight(uint32_t command, IBandCommandHost& host, ISettingsKey& settings) {
    const int32_t height = fontHeightAfterCommand(host.currentFontHeight(), command);
    host.setFontHeight(height);
    settings.writeValue(kSettingFontSize, decimalText(height));
}

void chooseColor(IBandCommandHost& host, ISettingsKey& settings, BandSettings& record) {
    const std::optional<ColorDialogAnswer> answer = host.askTextColor(colorToText(record.FontColor));
    if (answer) answerTextColor(*answer, host, settings, record);
}

BandCommandOutcome load(uint32_t command, IBandCommandHost& host, ISettingsKey& settings,
                        const CEngine& engine) {
    const DictionaryLoaders loaders{[&host] { host.loadChineseDictionary(); },
                                    [&host] { host.loadJapaneseDictionary(); }};
    if (runLoadCommand(command, loaders, engine.store().loadState()) == LoadCommandOutcome::IgnoredDuringLoad) {
        return BandCommandOutcome::IgnoredDuringLoad;
    }
    rememberCompletedLoad(settings, engine);
    return BandCommandOutcome::Carried;
}

}  // namespace

int32_t fontHeightAfterCommand(int32_t fontHeight, uint32_t command) {
    // Computed in 64 bits so that a stored height near the limits cannot overflow.
    int64_t height = fontHeight;
    if (command == kCommandFontSmaller) height += kFontHeightStep;
    else if (command == kCommandFontLarger) height -= kFontHeightStep;
    else return fontHeight;
    if (height > kSmallestFontHeight) return kSmallestFontHeight;
    if (height < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(height);
}

int32_t toggleSetting(std::atomic<int32_t>& field, std::u16string_view name, ISettingsKey& settings) {
    const int32_t now = field.fetch_xor(1) ^ 1;
    settings.writeValue(name, decimalText(now));
    return now;
}

void acceptColorText(std::u16string_view text, BandSettings& record, ISettingsKey& settings) {
    text = text.substr(0, kColorTextMaxUnits);
    if (const std::optional<uint32_t> colour = colorFromText(text)) record.FontColor = *colour;
    settings.writeValue(kSettingFontColor, text);
}

void answerTextColor(const ColorDialogAnswer& answer, IBandCommandHost& host, ISettingsKey& settings,
                     BandSettings& record) {
    if (answer.result == kColorDialogOtherColors) {
        host.stopAndNavigate(kColourNamesPage);
    } else if (answer.result == kColorDialogOk) {
        acceptColorText(answer.text, record, settings);
    }
}

BandCommandOutcome onCommand(uint64_t command, IBandCommandHost& host, ISettingsKey& settings, CEngine& engine) {
    BandSettings& record = engine.settings();
    if (command > UINT16_MAX) return BandCommandOutcome::Ignored;
    const auto id = static_cast<uint32_t>(command);
    if (id == kCommandBandBigger || id == kCommandBandSmaller) {
        changeBandHeight(id, host);
    } else if (id == kCommandLoadChinese || id == kCommandLoadJapanese) {
        return load(id, host, settings, engine);
    } else if (id == kCommandFontSmaller || id == kCommandFontLarger) {
        changeFontHeight(id, host, settings);
    } else if (const std::optional<std::u16string_view> page = referencePageAddress(id)) {
        host.stopAndNavigate(*page);
    } else if (id == kCommandUseToolTips) {
        toggleSetting(record.UseToolTips, kSettingUseToolTips, settings);
    } else if (id == kCommandShowSubWords) {
        toggleSetting(record.ShowSubWordTranslations, kSettingShowSubWords, settings);
    } else if (id == kCommandColor) {
        chooseColor(host, settings, record);
    } else {
        return BandCommandOutcome::Ignored;
    }
    return BandCommandOutcome::Carried;
}

}  // namespace pelux
