// What the band's commands need from the band that received them: each shell implements it with
// its own windows, dialogs and browser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelux {

// How the Text Color dialog ended.
inline constexpr int32_t kColorDialogOk = 1;
inline constexpr int32_t kColorDialogCancel = 2;
inline constexpr int32_t kColorDialogOtherColors = 206;

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

}  // namespace pelux
