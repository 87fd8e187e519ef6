// The band window's command handler: every menu item and the two height buttons, over a small
// port that each shell implements with its own windows, dialogs and browser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "band/band_settings.h"
#include "band/engine.h"
#include "platform/settings_key.h"

namespace pelux {

// How the Text Color dialog ended.
inline constexpr int32_t kColorDialogOk = 1;
inline constexpr int32_t kColorDialogCancel = 2;
inline constexpr int32_t kColorDialogOtherColors = 206;
// The dialog's edit keeps at most this many characters.
inline constexpr std::size_t kColorTextMaxUnits = 7;

// Characters are never smaller than 8 pixels: a font height field above this is held here.
inline constexpr int32_t kSmallestFontHeight = -8;
inline constexpr int32_t kFontHeightStep = 4;

struct ColorDialogAnswer {
    int32_t result = kColorDialogCancel;  // 1, 2 or 206; anything else counts as Cancel
    std::u16string text;                  // the edit's text, when the result is OK
};

// What the commands need from the band that received them.
class IBandCommandHost {
public:
    virtual ~IBandCommandHost() = default;
    // The height of the band's child area in the browser's toolbar, or nullopt when the band
    // cannot be found there (then the height buttons change nothing).
    virtual std::optional<int32_t> currentBandHeight() = 0;
    virtual void setBandHeight(int32_t height) = 0;
    // The height field (lfHeight) of the text area's font, and its replacement.
    virtual int32_t currentFontHeight() = 0;
    virtual void setFontHeight(int32_t height) = 0;
    // Opens the Text Color dialog with the initial text. A shell whose dialog is modal returns
    // how it ended; one whose dialog ends later returns nullopt, and brings the answer to
    // answerTextColor when it comes.
    virtual std::optional<ColorDialogAnswer> askTextColor(std::u16string_view initialText) = 0;
    // Stops the page of the browser window that hosts the band and opens the address there.
    virtual void stopAndNavigate(std::u16string_view address) = 0;
    // Each returns when its load has ended, completed or cancelled.
    virtual void loadChineseDictionary() = 0;
    virtual void loadJapaneseDictionary() = 0;
};

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
