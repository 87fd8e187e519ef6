#include "host/card_reply.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

namespace pelux {

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendStrings(std::string& out, const std::vector<std::u16string>& texts) {
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) out += ',';
        appendJsonString(out, texts[i]);
    }
    out += ']';
}

void appendNumber(std::string& out, const std::optional<int32_t>& value) {
    if (!value) {
        out += "null";
        return;
    }
    char digits[16];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, *value);
    out.append(digits, written.ptr);
}

// Keys are written together with the punctuation around them: a card has dozens of fields.
void appendEntry(std::string& out, const CardEntry& entry) {
    out += "{\"forms\":";
    appendStrings(out, entry.forms);
    out += ",\"reading\":";
    appendJsonString(out, entry.reading);
    out += ",\"romaji\":";
    appendJsonString(out, entry.romaji);
    out += entry.common ? ",\"common\":true,\"form\":" : ",\"common\":false,\"form\":";
    if (entry.form) {
        appendJsonString(out, *entry.form);
    } else {
        out += "null";
    }
    out += ",\"senses\":[";
    for (std::size_t i = 0; i < entry.senses.size(); ++i) {
        out += i == 0 ? "{\"text\":" : ",{\"text\":";
        appendJsonString(out, entry.senses[i].text);
        out += ",\"tags\":";
        appendStrings(out, entry.senses[i].tags);
        out += '}';
    }
    out += "]}";
}

std::string_view readingStart(CardReading::Kind kind) {
    switch (kind) {
        case CardReading::Kind::Mandarin: return "{\"kind\":\"M\",\"text\":";
        case CardReading::Kind::Cantonese: return "{\"kind\":\"C\",\"text\":";
        case CardReading::Kind::On: return "{\"kind\":\"on\",\"text\":";
        case CardReading::Kind::Kun: return "{\"kind\":\"kun\",\"text\":";
    }
    return "{\"kind\":\"M\",\"text\":";
}

void appendChar(std::string& out, const CardChar& character) {
    out += "{\"char\":";
    appendJsonString(out, std::u16string_view(&character.character, 1));
    out += ",\"code\":";
    appendNumber(out, int32_t(character.character));
    out += ",\"readings\":[";
    for (std::size_t i = 0; i < character.readings.size(); ++i) {
        if (i > 0) out += ',';
        out += readingStart(character.readings[i].kind);
        appendJsonString(out, character.readings[i].text);
        out += '}';
    }
    out += "],\"meanings\":";
    appendJsonString(out, character.meanings);
    out += ",\"strokes\":";
    appendNumber(out, character.strokes);
    out += ",\"grade\":";
    appendNumber(out, character.grade);
    out += ",\"jlpt\":";
    appendNumber(out, character.jlpt);
    out += ",\"freq\":";
    appendNumber(out, character.frequency);
    out += '}';
}

// Where each object of a list ends in the text written so far, so that trailing ones can be left
// out of a card that does not fit.
template <std::size_t kMax>
struct ListEnds {
    std::array<std::size_t, kMax> ends{};
    std::size_t start = 0, count = 0;

    // Bytes of the first `n` objects, each with the comma that may follow it.
    std::size_t bytes(std::size_t n) const { return n == 0 ? 0 : ends[n - 1] - start + 1; }
    void appendFirst(std::string& out, const std::string& written, std::size_t n) const {
        out += '[';
        if (n > 0) out.append(written, start, ends[n - 1] - start);
        out += ']';
    }
};

template <std::size_t kMax, typename Item, typename Write>
ListEnds<kMax> appendList(std::string& out, const std::vector<Item>& items, Write write) {
    ListEnds<kMax> list;
    out += '[';
    list.start = out.size();
    for (const Item& item : items) {
        if (list.count == kMax) break;
        if (list.count > 0) out += ',';
        write(out, item);
        list.ends[list.count++] = out.size();
    }
    out += ']';
    return list;
}

}  // namespace

void appendJsonString(std::string& out, std::u16string_view text) {
    static const char kHex[] = "0123456789abcdef";
    // Written through a pointer into a buffer on the stack, appended whenever it nears full: a card
    // is dozens of short strings written on every pointer event.
    constexpr std::size_t kLongestUnit = 6;  // a control character, \u00XX
    char buffer[512];
    char* at = buffer;
    auto put = [&at](char c) { *at++ = c; };
    auto putUtf8 = [&put](char32_t code) {
        if (code < 0x80) {
            put(char(code));
        } else if (code < 0x800) {
            put(char(0xC0 | (code >> 6)));
            put(char(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            put(char(0xE0 | (code >> 12)));
            put(char(0x80 | ((code >> 6) & 0x3F)));
            put(char(0x80 | (code & 0x3F)));
        } else {
            put(char(0xF0 | (code >> 18)));
            put(char(0x80 | ((code >> 12) & 0x3F)));
            put(char(0x80 | ((code >> 6) & 0x3F)));
            put(char(0x80 | (code & 0x3F)));
        }
    };
    put('"');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (at + kLongestUnit + 1 > buffer + sizeof buffer) {
            out.append(buffer, at);
            at = buffer;
        }
        const char16_t unit = text[i];
        // Most of a card is plain ASCII: senses, tags, romaji.
        if (unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\') {
            put(char(unit));
            continue;
        }
        const char escaped = unit == u'"' ? '"' : unit == u'\\' ? '\\' : unit == u'\b' ? 'b' : unit == u'\f' ? 'f'
                           : unit == u'\n' ? 'n' : unit == u'\r' ? 'r' : unit == u'\t' ? 't' : '\0';
        if (escaped != '\0') {
            put('\\');
            put(escaped);
        } else if (unit < 0x20) {
            for (char c : {'\\', 'u', '0', '0', kHex[unit >> 4], kHex[unit & 0xF]}) put(c);
        } else if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            putUtf8(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            putUtf8(0xFFFD);
        } else {
            putUtf8(unit);
        }
    }
    put('"');
    out.append(buffer, at);
}

std::string cardJsonText(const CardData& card, std::size_t maxBytes) {
    // {"lang":"zh","entries":[],"chars":[],"savable":false}
    constexpr std::size_t kFrameBytes = 56;
    if (kFrameBytes > maxBytes) return std::string();
    std::string out;
    out.reserve(1024);
    out += card.japanese ? "{\"lang\":\"ja\",\"entries\":" : "{\"lang\":\"zh\",\"entries\":";
    const ListEnds<kMaxCardEntries> entries = appendList<kMaxCardEntries>(out, card.entries, appendEntry);
    out += ",\"chars\":";
    const ListEnds<kMaxCardChars> chars = appendList<kMaxCardChars>(out, card.chars, appendChar);
    out += entries.count == 0 ? ",\"savable\":false}" : ",\"savable\":true}";
    if (out.size() <= maxBytes) return out;
    // Too big: the trailing characters go first, then the trailing entries.
    std::size_t entryCount = entries.count, charCount = chars.count;
    while (charCount > 0 && kFrameBytes + entries.bytes(entryCount) + chars.bytes(charCount) > maxBytes) --charCount;
    while (entryCount > 0 && kFrameBytes + entries.bytes(entryCount) + chars.bytes(charCount) > maxBytes) --entryCount;
    std::string cut;
    cut.reserve(kFrameBytes + entries.bytes(entryCount) + chars.bytes(charCount));
    cut += card.japanese ? "{\"lang\":\"ja\",\"entries\":" : "{\"lang\":\"zh\",\"entries\":";
    entries.appendFirst(cut, out, entryCount);
    cut += ",\"chars\":";
    chars.appendFirst(cut, out, charCount);
    cut += entryCount == 0 ? ",\"savable\":false}" : ",\"savable\":true}";
    return cut;
}

}  // namespace pelux
