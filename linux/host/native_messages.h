// The messages between the extension's service worker and the host. Every message is a JSON
// object whose "type" names it; every inbound one is checked field by field before use. The
// outbound ones are built in native_replies.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include <nlohmann/json.hpp>

#include "contract/extension_contract.h"
#include "host/native_replies.h"

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
    // Word and sentence are cut to this many code units; the lookup reads far fewer.
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
    // The height of the tab's viewport, which bounds the band's; absent: no bound.
    std::optional<int32_t> viewHeight;
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

// The user closed a notice that the host waits for (or its page went away).
struct NoticeClosedMessage {
    int64_t tab = 0;
    int64_t notice = 0;
};

// A tab asks to keep the word its card shows for the pointer reply `seq`. The page's address is
// the service worker's, never the page's own word.
struct SaveWordMessage {
    int64_t tab = 0;
    int64_t frame = 0;
    int64_t seq = 0;
    std::u16string url;
};

// The options page asks for the word list, to remove one of its words, or for an export.
struct ListWordsMessage {};
struct RemoveWordMessage {
    int64_t index = 0;
    std::u16string forms;  // what the page showed at `index`
};
struct ExportWordsMessage {
    std::string format;  // "anki" or "csv"
};

using InboundMessage = std::variant<PointerMessage, CommandMessage, KeyMessage, ShowMessage,
                                    BandRequestMessage, BandClosedMessage, TabClosedMessage,
                                    ColorAnswerMessage, TranslateMessage, SetSettingMessage,
                                    ReaderSettingsRequest, NoticeClosedMessage, SaveWordMessage,
                                    ListWordsMessage, RemoveWordMessage, ExportWordsMessage>;

// Longest selection sent for translation; the request carries far less than this.
inline constexpr std::size_t kMaxTranslateUnits = 64 * 1024;

// nullopt with `error` set when the frame is not JSON, not an object, of an unknown type, or
// lacks a field or carries one of the wrong kind or range. A captured word or sentence that is
// too long is cut, not refused. What `error` repeats from the frame is escaped for a log line.
std::optional<InboundMessage> parseInboundMessage(const std::string& frame, std::string& error);

// The tab of a frame that parseInboundMessage refused, when it is a translation request whose
// tab can be read, so that the tab hears of the failure.
std::optional<int64_t> tabOfRefusedTranslation(const std::string& frame);

// Bytes from outside as one log line: at most `maxBytes` of them, with everything but printable
// ASCII written as \xNN.
std::string escapeForLog(std::string_view text, std::size_t maxBytes = 80);


}  // namespace pelux
