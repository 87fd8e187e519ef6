// Every message the host sends to the extension, built in one place. Each builder keeps its
// message under Chromium's limit for a message from the host, whatever text it carries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "band/band_geometry.h"
#include "band/band_menu.h"
#include "band/band_settings.h"
#include "dictionary/dictionary.h"
#include "lookup/card_entries.h"
#include "words/word_list.h"

namespace pelux {

// Longest text (UTF-16 code units) put into one reply, so that a reply stays under Chromium's
// limit for a message from the host even with every character escaped.
inline constexpr std::size_t kMaxReplyTextUnits = 128 * 1024;

std::string textForReply(std::u16string_view text);
// The longest start of `text` whose UTF-8 form, escaped as a JSON string, takes at most
// `maxBytes`; a surrogate pair is never split.
std::u16string_view cutToJsonBytes(std::u16string_view text, std::size_t maxBytes);

nlohmann::json textReply(int64_t tab, std::u16string_view text);
// The band text and the tooltip of one pointer event. Together they always fit one message:
// the tooltip is cut first, then the band text.
nlohmann::json pointerReply(int64_t tab, int64_t frame, int64_t seq,
                            const std::optional<std::u16string>& bandText,
                            const std::optional<std::u16string>& title);
nlohmann::json menuJson(const std::vector<MenuItem>& items);

// The fields of a pointer reply that the band ignores: "lang" ("zh" or "ja") while a dictionary
// is loaded, and "popup" when the reader's popup is to be shown.
struct ReaderPopup {
    int32_t match = 0;     // characters matched
    std::u16string color;  // "#RRGGBB"
    int32_t fontPixels = 0;
    bool tones = false;  // whether pinyin tones are to be coloured
    // The entries as data for the learner's card, after a Chinese or Japanese lookup.
    std::optional<CardData> card;
};
struct ReaderFields {
    std::optional<DictionaryLanguage> language;
    std::optional<ReaderPopup> popup;
};
void addReaderFields(nlohmann::json& reply, const ReaderFields& fields);
// A pointer reply with the reader's fields, serialized. The band text keeps all the room it has
// without a card; the card takes what is left before the tooltip, losing its trailing characters,
// then its trailing entries, to fit.
std::string pointerReplyText(int64_t tab, int64_t frame, int64_t seq, const std::optional<std::u16string>& bandText,
                             const std::optional<std::u16string>& title, const ReaderFields& fields);
// The same reply as a document, for its readers in tests.
nlohmann::json pointerReply(int64_t tab, int64_t frame, int64_t seq, const std::optional<std::u16string>& bandText,
                            const std::optional<std::u16string>& title, const ReaderFields& fields);
// The card as the reply carries it, in at most `maxBytes` of serialized JSON.
nlohmann::json cardJson(const CardData& card, std::size_t maxBytes);
// The reader's switches as they are now, each 1 or 0.
nlohmann::json readerSettingsMessage(const BandSettings& record);

struct BandState {
    int64_t tab = 0;
    int32_t width = 0, height = 0;
    BandLayout layout;
    int32_t fontHeight = 0;
    int32_t fontPixels = 0;
    std::u16string fontColor;  // "#RRGGBB"
    bool visible = true;
    std::vector<MenuItem> menu;
    // The tab's last band text, given back to a band drawn anew after a navigation.
    std::optional<std::u16string> text;
};
nlohmann::json bandStateReply(const BandState& state);

// What every tab shows of the shared settings: the menu's check marks and the text colour.
nlohmann::json sharedSettingsMessage(const std::vector<MenuItem>& menu, std::u16string_view fontColor);

nlohmann::json bandHeightReply(int64_t tab, int32_t height);
nlohmann::json bandFontReply(int64_t tab, int32_t fontHeight, int32_t fontPixels);
nlohmann::json navigateReply(int64_t tab, std::u16string_view url);
nlohmann::json loadEndedReply(int64_t tab);
nlohmann::json colorDialogReply(int64_t tab, int64_t dialog, std::u16string_view initialText);
// A message box in the tab. With a number, the host waits for the tab to say it was closed.
nlohmann::json noticeReply(int64_t tab, std::u16string_view text, std::u16string_view caption,
                           std::optional<int64_t> notice = std::nullopt);
nlohmann::json translationReply(int64_t tab, std::u16string_view text);

// Whether a frame's word was kept, and the sentence its card shows about it.
nlohmann::json wordSavedReply(int64_t tab, int64_t frame, bool saved, std::u16string_view text);
// The word list for the options page. Words that would take the message past Chromium's limit
// are left out, and `problem` then says so; a list that could not be read has none and its
// problem.
nlohmann::json wordListReply(const std::vector<WordEntry>& entries, std::optional<std::string> problem);
// An export's text, or "" and the problem when it cannot be made or is too large for a message.
nlohmann::json wordExportReply(std::string_view format, std::string_view text, std::optional<std::string> problem);

std::string serializeMessage(const nlohmann::json& message);

}  // namespace pelux
