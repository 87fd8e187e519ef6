// The band window's command handler: every menu item and the two height buttons, over the
// band-command port that each shell implements with its own windows, dialogs and browser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "band/band_settings.h"
#include "band/engine.h"
#include "platform/band_command_host.h"
#include "platform/settings_key.h"

namespace pelux {

// The dialog's edit keeps at most this many characters.
inline constexpr std::size_t kColorTextMaxUnits = 7;

// Characters are never smaller than 8 pixels: a font height field above this is held here.
inline constexpr int32_t kSmallestFontHeight = -8;
inline constexpr int32_t kFontHeightStep = 4;

enum class BandCommandOutcome {
    Ignored,            // not a command of the band (or one with a notification code)
    Carried,            // done; for a load command, the load has returned
    IgnoredDuringLoad,  // a load command while a load was running
};

// The height field after font "Smaller" (+4) or "Larger" (-4), held at -8; other commands
// leave it as it is.
int32_t fontHeightAfterCommand(int32_t fontHeight, uint32_t command);

// Flips a switch of the record by exclusive-or with 1 and writes it as "%d"; returns the new value.
int32_t toggleSetting(std::atomic<int32_t>& field, std::u16string_view name, ISettingsKey& settings);

// OK of the Text Color dialog: at most seven characters of the text count. When they parse
// as "#%x" the colour changes; the text is written to "FontColor" unchanged either way.
void acceptColorText(std::u16string_view text, BandSettings& record, ISettingsKey& settings);

// How the Text Color dialog's end acts on the band that opened it: OK takes the text (as
// acceptColorText), Other Colors opens the colour names page, anything else changes nothing.
void answerTextColor(const ColorDialogAnswer& answer, IBandCommandHost& host, ISettingsKey& settings,
                     BandSettings& record);

// The WM_COMMAND handler of the band window. It dispatches on the whole value, so one with a
// notification code in its upper half matches nothing.
BandCommandOutcome onCommand(uint64_t command, IBandCommandHost& host, ISettingsKey& settings, CEngine& engine);

}  // namespace pelux
