#include "host/card_reply.h"

#include <optional>
#include <vector>

namespace pelux {

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendKey(std::string& out, const char* key) {
    out += '"';
    out += key;
    out += "\":";
}

void appendStrings(std::string& out, const std::vector<std::u16string>& texts) {
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) out += ',';
        appendJsonString(out, texts[i]);
    }
    out += ']';
}

void appendNumber(std::string& out, const std::optional<int32_t>& value) {
    out += value ? std::to_string(*value) : std::string("null");
}

std::string entryText(const CardEntry& entry) {
    std::size_t units = entry.reading.size() + entry.romaji.size() + (entry.form ? entry.form->size() : 0);
    for (const std::u16string& form : entry.forms) units += form.size();
    for (const CardSense& sense : entry.senses) units += sense.text.size() + 8 * sense.tags.size() + 24;
    std::string out;
    out.reserve(3 * units + 96);
    out += '{';
    appendKey(out, "forms");
    appendStrings(out, entry.forms);
    out += ',';
    appendKey(out, "reading");
    appendJsonString(out, entry.reading);
    out += ',';
    appendKey(out, "romaji");
    appendJsonString(out, entry.romaji);
    out += ',';
    appendKey(out, "common");
    out += entry.common ? "true" : "false";
    out += ',';
    appendKey(out, "form");
    if (entry.form) {
        appendJsonString(out, *entry.form);
    } else {
        out += "null";
    }
    out += ',';
    appendKey(out, "senses");
    out += '[';
    for (std::size_t i = 0; i < entry.senses.size(); ++i) {
        if (i > 0) out += ',';
        out += '{';
        appendKey(out, "text");
        appendJsonString(out, entry.senses[i].text);
        out += ',';
        appendKey(out, "tags");
        appendStrings(out, entry.senses[i].tags);
        out += '}';
    }
    out += "]}";
    return out;
}

const char* readingKind(CardReading::Kind kind) {
    switch (kind) {
        case CardReading::Kind::Mandarin: return "\"M\"";
        case CardReading::Kind::Cantonese: return "\"C\"";
        case CardReading::Kind::On: return "\"on\"";
        case CardReading::Kind::Kun: return "\"kun\"";
    }
    return "\"M\"";
}

std::string charText(const CardChar& character) {
    std::string out = "{";
    appendKey(out, "char");
    appendJsonString(out, std::u16string_view(&character.character, 1));
    out += ',';
    appendKey(out, "code");
    out += std::to_string(int32_t(character.character));
    out += ',';
    appendKey(out, "readings");
    out += '[';
    for (std::size_t i = 0; i < character.readings.size(); ++i) {
        if (i > 0) out += ',';
        out += '{';
        appendKey(out, "kind");
        out += readingKind(character.readings[i].kind);
        out += ',';
        appendKey(out, "text");
        appendJsonString(out, character.readings[i].text);
        out += '}';
    }
    out += "],";
    appendKey(out, "meanings");
    appendJsonString(out, character.meanings);
    const std::pair<const char*, const std::optional<int32_t>*> facts[] = {
        {"strokes", &character.strokes}, {"grade", &character.grade}, {"jlpt", &character.jlpt}, {"freq", &character.frequency}};
    for (const auto& [key, value] : facts) {
        out += ',';
        appendKey(out, key);
        appendNumber(out, *value);
    }
    out += '}';
    return out;
}

std::size_t listBytes(const std::vector<std::string>& texts) {
    std::size_t bytes = 0;
    for (const std::string& text : texts) bytes += text.size() + 1;  // with its comma
    return bytes;
}

void appendList(std::string& out, const std::vector<std::string>& texts) {
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) out += ',';
        out += texts[i];
    }
    out += ']';
}

}  // namespace

void appendJsonString(std::string& out, std::u16string_view text) {
    static const char kHex[] = "0123456789abcdef";
    // Written through a pointer into room for the longest form (six bytes a control character),
    // then cut to what was written: a card is written on every pointer event.
    const std::size_t start = out.size();
    out.resize(start + 6 * text.size() + 2);
    char* at = out.data() + start;
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
        const char16_t unit = text[i];
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
    out.resize(std::size_t(at - out.data()));
}

std::string cardJsonText(const CardData& card, std::size_t maxBytes) {
    std::vector<std::string> entries, chars;
    for (const CardEntry& entry : card.entries) entries.push_back(entryText(entry));
    for (const CardChar& character : card.chars) chars.push_back(charText(character));
    // {"lang":"zh","entries":[],"chars":[],"savable":false}
    constexpr std::size_t kFrameBytes = 56;
    while (!chars.empty() && kFrameBytes + listBytes(entries) + listBytes(chars) > maxBytes) chars.pop_back();
    while (!entries.empty() && kFrameBytes + listBytes(entries) + listBytes(chars) > maxBytes) entries.pop_back();
    if (kFrameBytes > maxBytes) return std::string();
    std::string out;
    out.reserve(kFrameBytes + listBytes(entries) + listBytes(chars));
    out += card.japanese ? "{\"lang\":\"ja\",\"entries\":" : "{\"lang\":\"zh\",\"entries\":";
    appendList(out, entries);
    out += ",\"chars\":";
    appendList(out, chars);
    out += entries.empty() ? ",\"savable\":false}" : ",\"savable\":true}";
    return out;
}

}  // namespace pelux
