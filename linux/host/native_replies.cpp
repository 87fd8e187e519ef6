#include "host/native_replies.h"

#include "adapters/utf8.h"
#include "band/reader_switches.h"
#include "host/card_reply.h"
#include "host/native_channel.h"
#include "text/utf16_cut.h"

namespace pelux {

namespace {

using nlohmann::json;

// Room for the type, the numbers and the keys of a pointer reply beside its two texts.
constexpr std::size_t kPointerReplyFrame = 512;
// Room for the type and the problem of a word list reply beside its words.
constexpr std::size_t kWordReplyFrame = 1024;

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Bytes of one code unit (or of a whole pair, counted on its first unit) in serialized JSON. A
// lone surrogate becomes U+FFFD, three bytes.
std::size_t jsonBytesAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    const char16_t unit = text[i];
    units = 1;
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
        units = 2;
        return 4;
    }
    if (unit == u'"' || unit == u'\\' || unit == u'\b' || unit == u'\f' || unit == u'\n' || unit == u'\r' ||
        unit == u'\t')
        return 2;
    if (unit < 0x20) return 6;
    if (unit < 0x80) return 1;
    if (unit < 0x800) return 2;
    return 3;
}

std::u16string_view cappedText(std::u16string_view text) { return cutBeforeUnits(text, kMaxReplyTextUnits); }

std::size_t jsonBytes(std::u16string_view text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0, units = 0; i < text.size(); i += units) bytes += jsonBytesAt(text, i, units);
    return bytes;
}

}  // namespace

json cardJson(const CardData& card, std::size_t maxBytes) {
    const std::string text = cardJsonText(card, maxBytes);
    return text.empty() ? json(nullptr) : json::parse(text);
}

std::u16string_view cutToJsonBytes(std::u16string_view text, std::size_t maxBytes) {
    std::size_t bytes = 0;
    std::size_t i = 0;
    for (std::size_t units = 0; i < text.size(); i += units) {
        const std::size_t size = jsonBytesAt(text, i, units);
        if (size > maxBytes - bytes) break;
        bytes += size;
    }
    return text.substr(0, i);
}

std::string textForReply(std::u16string_view text) { return utf16ToUtf8(cappedText(text)); }

json textReply(int64_t tab, std::u16string_view text) {
    return {{"type", "text"}, {"tab", tab}, {"text", textForReply(text)}};
}

namespace {

// The band text keeps the room it has without a card; the card takes what it needs of what is
// left (into `cardText`), and the tooltip the rest.
json pointerReplyWith(int64_t tab, int64_t frame, int64_t seq, const std::optional<std::u16string>& bandText,
                      const std::optional<std::u16string>& title, const CardData* card, std::string& cardText) {
    json reply = {{"type", "pointerResult"}, {"tab", tab}, {"frame", frame}, {"seq", seq}};
    std::size_t room = kMaxOutboundMessageBytes - kPointerReplyFrame;
    reply["text"] = json(nullptr);
    if (bandText) {
        const std::u16string_view band = cutToJsonBytes(cappedText(*bandText), room);
        room -= jsonBytes(band);
        reply["text"] = utf16ToUtf8(band);
    }
    if (card != nullptr) {
        cardText = cardJsonText(*card, room);
        room -= cardText.size();
    }
    reply["title"] = title ? json(utf16ToUtf8(cutToJsonBytes(cappedText(*title), room))) : json(nullptr);
    return reply;
}

}  // namespace

json pointerReply(int64_t tab, int64_t frame, int64_t seq, const std::optional<std::u16string>& bandText,
                  const std::optional<std::u16string>& title) {
    std::string noCard;
    return pointerReplyWith(tab, frame, seq, bandText, title, nullptr, noCard);
}

std::string pointerReplyText(int64_t tab, int64_t frame, int64_t seq, const std::optional<std::u16string>& bandText,
                             const std::optional<std::u16string>& title, const ReaderFields& fields) {
    const CardData* card = fields.popup && fields.popup->card ? &*fields.popup->card : nullptr;
    std::string cardText;
    json reply = pointerReplyWith(tab, frame, seq, bandText, title, card, cardText);
    addReaderFields(reply, fields);
    std::string text = serializeMessage(reply);
    if (cardText.empty()) return text;
    // The card goes in as the text written for it, first in the popup's object. Outside a string
    // no quote stands unescaped, so the first "popup":{ is the reply's field.
    constexpr std::string_view kPopup = "\"popup\":{";
    const std::size_t at = text.find(kPopup);
    if (at == std::string::npos) return text;
    const std::size_t inside = at + kPopup.size();
    std::string withCard;
    withCard.reserve(text.size() + cardText.size() + 8);
    withCard.append(text, 0, inside);
    withCard += "\"card\":";
    withCard += cardText;
    withCard += ',';
    withCard.append(text, inside);
    return withCard;
}

json pointerReply(int64_t tab, int64_t frame, int64_t seq, const std::optional<std::u16string>& bandText,
                  const std::optional<std::u16string>& title, const ReaderFields& fields) {
    return json::parse(pointerReplyText(tab, frame, seq, bandText, title, fields));
}

json menuJson(const std::vector<MenuItem>& items) {
    json list = json::array();
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::Kind::Separator: list.push_back({{"separator", true}}); break;
            case MenuItem::Kind::Popup:
                list.push_back({{"caption", utf16ToUtf8(item.caption)}, {"items", menuJson(item.items)}});
                break;
            case MenuItem::Kind::Command:
                list.push_back(
                    {{"id", item.id}, {"caption", utf16ToUtf8(item.caption)}, {"checked", item.checked}});
                break;
        }
    }
    return list;
}

void addReaderFields(json& reply, const ReaderFields& fields) {
    const std::optional<DictionaryLanguage> language = fields.language;
    if (language == Chinese || language == Japanese) reply["lang"] = language == Chinese ? "zh" : "ja";
    if (!fields.popup) return;
    const ReaderPopup& popup = *fields.popup;
    reply["popup"] = {{"match", popup.match},
                      {"color", utf16ToUtf8(popup.color)},
                      {"fontPixels", popup.fontPixels},
                      {"tones", popup.tones}};
}

json readerSettingsMessage(const BandSettings& record) {
    json values = json::object();
    // Any nonzero stored number is on, as the switch's readers take it.
    for (const ReaderSwitch& s : readerSwitches()) values[utf16ToUtf8(s.name)] = (record.*s.field).load() != 0 ? 1 : 0;
    return {{"type", "readerSettings"}, {"values", values}};
}

json bandStateReply(const BandState& state) {
    auto place = [](const ControlPlacement& p) { return json::array({p.x, p.y, p.width, p.height}); };
    return {{"type", "bandState"},
            {"tab", state.tab},
            {"width", state.width},
            {"height", state.height},
            {"visible", state.visible},
            {"layout",
             {{"menu", place(state.layout.menuButton)},
              {"text", place(state.layout.text)},
              {"smaller", place(state.layout.smallerButton)},
              {"bigger", place(state.layout.biggerButton)}}},
            {"fontHeight", state.fontHeight},
            {"fontPixels", state.fontPixels},
            {"fontColor", utf16ToUtf8(state.fontColor)},
            {"menu", menuJson(state.menu)},
            {"text", state.text ? json(textForReply(*state.text)) : json(nullptr)}};
}

json sharedSettingsMessage(const std::vector<MenuItem>& menu, std::u16string_view fontColor) {
    return {{"type", "settings"}, {"menu", menuJson(menu)}, {"fontColor", utf16ToUtf8(fontColor)}};
}

json bandHeightReply(int64_t tab, int32_t height) { return {{"type", "bandHeight"}, {"tab", tab}, {"height", height}}; }

json bandFontReply(int64_t tab, int32_t fontHeight, int32_t fontPixels) {
    return {{"type", "bandFont"}, {"tab", tab}, {"fontHeight", fontHeight}, {"fontPixels", fontPixels}};
}

json navigateReply(int64_t tab, std::u16string_view url) {
    return {{"type", "navigate"}, {"tab", tab}, {"url", textForReply(url)}};
}

json loadEndedReply(int64_t tab) { return {{"type", "loadEnded"}, {"tab", tab}}; }

json colorDialogReply(int64_t tab, int64_t dialog, std::u16string_view initialText) {
    return {{"type", "colorDialog"}, {"tab", tab}, {"dialog", dialog}, {"text", textForReply(initialText)}};
}

json noticeReply(int64_t tab, std::u16string_view text, std::u16string_view caption, std::optional<int64_t> notice) {
    json reply = {{"type", "notice"}, {"tab", tab}, {"text", textForReply(text)}, {"caption", textForReply(caption)}};
    if (notice) reply["notice"] = *notice;
    return reply;
}

json translationReply(int64_t tab, std::u16string_view text) {
    return {{"type", "translation"}, {"tab", tab}, {"text", textForReply(text)}};
}

json wordSavedReply(int64_t tab, int64_t frame, bool saved, std::u16string_view text) {
    return {{"type", "wordSaved"}, {"tab", tab}, {"frame", frame}, {"saved", saved}, {"text", textForReply(text)}};
}

json wordListReply(const std::vector<WordEntry>& entries, std::optional<std::string> problem) {
    json words = json::array();
    std::size_t room = kMaxOutboundMessageBytes - kWordReplyFrame;
    for (const WordEntry& entry : entries) {
        json word = {{"forms", entry.forms}, {"reading", entry.reading}, {"senses", entry.senses},
                     {"sentence", entry.sentence}, {"url", entry.url}, {"time", entry.time}};
        const std::size_t bytes = serializeMessage(word).size() + 1;
        if (bytes > room) {
            problem = "Only the first " + std::to_string(words.size()) + " of the " + std::to_string(entries.size()) +
                      " words fit on this page; \"peluxbar words list\" shows them all.";
            break;
        }
        room -= bytes;
        words.push_back(std::move(word));
    }
    return {{"type", "wordList"}, {"words", words}, {"problem", problem ? json(*problem) : json(nullptr)}};
}

json wordExportReply(std::string_view format, std::string_view text, std::optional<std::string> problem) {
    json reply = {{"type", "wordExport"}, {"format", format}, {"text", ""}, {"problem", nullptr}};
    if (problem) {
        reply["problem"] = *problem;
        return reply;
    }
    reply["text"] = text;
    if (serializeMessage(reply).size() > kMaxOutboundMessageBytes - kWordReplyFrame) {
        reply["text"] = "";
        reply["problem"] = "The word list is too large to export from this page; \"peluxbar words export\" writes it to a file.";
    }
    return reply;
}

std::string serializeMessage(const json& message) {
    return message.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace pelux
