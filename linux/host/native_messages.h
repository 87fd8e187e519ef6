// The messages between the extension's service worker and the host. Every message is a JSON
// object whose "type" names it; every inbound one is checked field by field before use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include <nlohmann/json.hpp>

#include "band/band_geometry.h"
#include "band/band_menu.h"

namespace pelux {

// What the content script captured at the pointer for one mouse move in one frame.
struct PointerMessage {
    int64_t tab = 0;
    int64_t frame = 0;
    int64_t seq = 0;
    int32_t x = 0, y = 0;
    // The text of the character range at the point; absent when the point holds no text.
    std::optional<std::u16string> character;
    std::u16string word;
    // From the pointer's character to the end of its sentence.
    std::u16string sentence;
    // False for a document without a body element (a frameset).
    bool hasBody = true;
};

struct CommandMessage {
    int64_t tab = 0;
    uint32_t id = 0;
    int32_t bandHeight = 0;  // the tab's band height now, for the height buttons
    // The height field of the band's font as the host last gave it; absent before the band
    // was first drawn.
    std::optional<int32_t> fontHeight;
};

// How a tab's Text Color dialog ended.
struct ColorAnswerMessage {
    int64_t tab = 0;
    int64_t dialog = 0;
    int32_t result = 0;
    std::u16string text;
};

// The browser's context menu asks for the online translation of the selected text.
struct TranslateMessage {
    int64_t tab = 0;
    std::u16string text;
};

struct KeyMessage {
    int64_t tab = 0;
    std::string key;
    bool down = false;
};

struct ShowMessage {
    bool visible = true;
};

// A tab's band asks how to draw itself at its present size.
struct BandRequestMessage {
    int64_t tab = 0;
    int32_t width = 0;
    int32_t height = 0;  // 0: the saved height
    // The band's font so far; absent for a band not yet drawn, which takes "FontSize".
    std::optional<int32_t> fontHeight;
};

// A tab's band is closed or goes away with its page: its size is remembered.
struct BandClosedMessage {
    int64_t tab = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct TabClosedMessage {
    int64_t tab = 0;
};

// The options page sets one of the reader's switches.
struct SetSettingMessage {
    std::u16string name;
    int32_t value = 0;  // 0 or 1
};

// The options page asks for the reader's switches as they are.
struct ReaderSettingsRequest {};

// The tab of a message that goes to every tab (a load that no tab's menu started).
inline constexpr int64_t kEveryTab = -1;

using InboundMessage = std::variant<PointerMessage, CommandMessage, KeyMessage, ShowMessage,
                                    BandRequestMessage, BandClosedMessage, TabClosedMessage,
                                    ColorAnswerMessage, TranslateMessage, SetSettingMessage,
                                    ReaderSettingsRequest>;

// Longest selection sent for translation; the request carries far less than this.
inline constexpr std::size_t kMaxTranslateUnits = 64 * 1024;

// nullopt with `error` set when the frame is not JSON, not an object, of an unknown type, or
// lacks a field or carries one of the wrong kind or range.
std::optional<InboundMessage> parseInboundMessage(const std::string& frame, std::string& error);

// Longest text (UTF-16 code units) put into one reply, so that a reply stays under Chromium's
// limit for a message from the host even with every character escaped.
inline constexpr std::size_t kMaxReplyTextUnits = 128 * 1024;

std::string textForReply(std::u16string_view text);

nlohmann::json textReply(int64_t tab, std::u16string_view text);
nlohmann::json pointerReply(int64_t tab, int64_t frame, int64_t seq,
                            const std::optional<std::u16string>& bandText,
                            const std::optional<std::u16string>& title);
nlohmann::json menuJson(const std::vector<MenuItem>& items);

struct BandState {
    int64_t tab = 0;
    int32_t width = 0, height = 0;
    BandLayout layout;
    int32_t fontHeight = 0;
    int32_t fontPixels = 0;
    std::u16string fontColor;  // "#RRGGBB"
    bool visible = true;
    std::vector<MenuItem> menu;
};
nlohmann::json bandStateReply(const BandState& state);

// What every tab shows of the process-wide settings: the menu's check marks and the text colour.
nlohmann::json sharedSettingsMessage(const std::vector<MenuItem>& menu, std::u16string_view fontColor);

std::string serializeMessage(const nlohmann::json& message);

}  // namespace pelux
