// "LoadAtStart": the dictionary of the last load that ran to its end loads by itself when the
// shell starts, through the band's own load command, with its progress and Escape.
#pragma once

#include <string_view>

#include "band/band_commands.h"
#include "band/band_settings.h"
#include "band/engine.h"
#include "platform/settings_key.h"

namespace pelux {

// "%d" of the language of the last completed load: 0 Chinese, 1 Japanese.
inline constexpr std::u16string_view kSettingLastLoadedLanguage = u"LastLoadedLanguage";

// After a load command has returned: with "LoadAtStart" on, a load that read its main file and
// was not stopped by Escape is remembered. Nothing is written with the switch off.
void rememberCompletedLoad(ISettingsKey& settings, const CEngine& engine);

// When the switch is turned on, the dictionary already in memory (if any, and no load running)
// counts as the last load, so that the next start has something to load.
void rememberDictionaryInMemory(ISettingsKey& settings, const CDictionary& store);

// With "LoadAtStart" on and a remembered language, runs that language's load command on the
// band; returns when the load has ended. False when nothing was loaded.
bool loadRememberedDictionary(IBandCommandHost& band, ISettingsKey& settings, CEngine& engine);

// The same for the first caller for `engine` only: a shell calls it when its first band can
// show text, and every later band finds the dictionary already there.
bool loadRememberedDictionaryOnce(IBandCommandHost& band, ISettingsKey& settings, CEngine& engine);

}  // namespace pelux
