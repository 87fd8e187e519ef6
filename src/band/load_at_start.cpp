#include "band/load_at_start.h"

#include <atomic>

#include "band/band_menu.h"
#include "band/load_commands.h"
#include "band/settings_values.h"
#include "dictionary/dictionary.h"
#include "dictionary/load_environment.h"

namespace pelux {

namespace {

void writeLanguageInMemory(ISettingsKey& settings) {
    DictionaryLanguage language = None;
    {
        DictionaryLock lock(theDictionary().mutex());
        if (theDictionary().isLoaded()) language = theDictionary().language();
    }
    if (language == Chinese || language == Japanese) {
        settings.writeValue(kSettingLastLoadedLanguage, decimalText(language));
    }
}

}  // namespace

void rememberCompletedLoad(ISettingsKey& settings, const BandSettings& record) {
    if (record.LoadAtStart == 0 || lastLoadCancelled()) return;
    writeLanguageInMemory(settings);
}

void rememberDictionaryInMemory(ISettingsKey& settings) {
    if (isDictionaryLoadRunning()) return;
    writeLanguageInMemory(settings);
}

bool loadRememberedDictionary(IBandCommandHost& band, ISettingsKey& settings, BandSettings& record) {
    if (record.LoadAtStart == 0) return false;
    const std::optional<std::u16string> text = readSettingText(settings, kSettingLastLoadedLanguage);
    const std::optional<int32_t> language = text ? parseDecimalSetting(*text) : std::nullopt;
    if (language != Chinese && language != Japanese) return false;
    const uint32_t command = *language == Chinese ? kCommandLoadChinese : kCommandLoadJapanese;
    return onCommand(command, band, settings, record) == BandCommandOutcome::Carried;
}

bool loadRememberedDictionaryOnce(IBandCommandHost& band, ISettingsKey& settings) {
    static std::atomic<bool> done{false};
    if (done.exchange(true)) return false;
    return loadRememberedDictionary(band, settings);
}

}  // namespace pelux
