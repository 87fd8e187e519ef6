#include "band/load_at_start.h"

#include "band/band_menu.h"
#include "band/load_commands.h"
#include "band/settings_values.h"
#include "dictionary/dictionary.h"
#include "dictionary/load_environment.h"

namespace pelux {

namespace {

void writeLanguageInMemory(ISettingsKey& settings, const CDictionary& store) {
    DictionaryLanguage language = None;
    {
        DictionaryLock lock(store.mutex());
        if (store.isLoaded()) language = store.language();
    }
    if (language == Chinese || language == Japanese) {
        settings.writeValue(kSettingLastLoadedLanguage, decimalText(language));
    }
}

}  // namespace

void rememberCompletedLoad(ISettingsKey& settings, const CEngine& engine) {
    if (engine.settings().LoadAtStart == 0 || engine.store().loadState().lastCancelled()) return;
    writeLanguageInMemory(settings, engine.store());
}

void rememberDictionaryInMemory(ISettingsKey& settings, const CDictionary& store) {
    if (store.loadState().isRunning()) return;
    writeLanguageInMemory(settings, store);
}

bool loadRememberedDictionary(IBandCommandHost& band, ISettingsKey& settings, CEngine& engine) {
    if (engine.settings().LoadAtStart == 0) return false;
    const std::optional<std::u16string> text = readSettingText(settings, kSettingLastLoadedLanguage);
    const std::optional<int32_t> language = text ? parseDecimalSetting(*text) : std::nullopt;
    if (language != Chinese && language != Japanese) return false;
    const uint32_t command = *language == Chinese ? kCommandLoadChinese : kCommandLoadJapanese;
    return onCommand(command, band, settings, engine) == BandCommandOutcome::Carried;
}

bool loadRememberedDictionaryOnce(IBandCommandHost& band, ISettingsKey& settings, CEngine& engine) {
    if (!engine.claimFirstBand()) return false;
    return loadRememberedDictionary(band, settings, engine);
}

}  // namespace pelux
