// What a dictionary load needs from the shell it runs in, and the progress and file access that
// the loaders share.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "dictionary/dictionary.h"
#include "platform/key_state.h"
#include "platform/message_pump.h"
#include "platform/module_directory.h"
#include "platform/text_window.h"

namespace pelux {

struct LoadEnvironment {
    // The band's text area. Held weakly: the window may be destroyed while the load pumps
    // messages, and from then on the load must leave it alone.
    std::weak_ptr<ITextWindow> textWindow;
    IMessagePump* pump = nullptr;  // null: nothing to pump
    IKeyState* keys = nullptr;     // null: Escape is never pressed
    std::filesystem::path directory;
    // False for a folder that is only read (one the package manager owns): a text load there
    // keeps no prepared image.
    bool keepImage = true;
};

inline constexpr const char16_t* kLoadingText = u"Loading . . .";
inline constexpr const char16_t* kChineseProgressFormat = u"%d/34000 lines read.\t\tPress Escape to Cancel";
inline constexpr const char16_t* kJapaneseProgressFormat = u"%d/116000 lines read.\t\tPress Escape to Cancel";

std::filesystem::path dictionaryFilePath(const std::filesystem::path& directory, std::string_view fileName);
std::filesystem::path dictionaryFilePath(const IModuleDirectory& module, std::string_view fileName);

// Sets the text of the text area while the window still exists.
void showLoadText(const LoadEnvironment& environment, std::u16string_view text);
// Handles waiting messages through the pump port.
void pumpMessages(const LoadEnvironment& environment);
bool pollEscape(const LoadEnvironment& environment);

// "%d" in `format` replaced by `number` in decimal.
std::u16string formatProgress(std::u16string_view format, LineNumber number);

// At every thousandth line: shows the progress, handles waiting messages and polls Escape.
// True when the load is to stop.
bool loadProgressStep(const LoadEnvironment& environment, LineNumber line, std::u16string_view format);

}  // namespace pelux
