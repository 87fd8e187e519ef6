#include "band/settings_values.h"

#include <cstdio>
#include <limits>

#include "text/ascii_chars.h"

namespace pelux {

namespace {

// Reads an optionally signed run of digits in the base, as the scanf family does, from `pos`.
// The magnitude is kept in 64 bits and given up once it can no longer be a 32-bit value.
std::optional<int64_t> scanNumber(std::u16string_view text, std::size_t pos, int base) {
    while (pos < text.size() && isAsciiSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';
    if (base == 16 && pos + 1 < text.size() && text[pos] == u'0' &&
        (text[pos + 1] == u'x' || text[pos + 1] == u'X') && pos + 2 < text.size() &&
        hexDigitValue(text[pos + 2]) >= 0) {
        pos += 2;
    }
    int64_t magnitude = 0;
    std::size_t digits = 0;
    for (; pos < text.size(); ++pos, ++digits) {
        const int digit = hexDigitValue(text[pos]);
        if (digit < 0 || digit >= base) break;
        magnitude = magnitude * base + digit;
        if (magnitude > int64_t{std::numeric_limits<uint32_t>::max()}) return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    return negative ? -magnitude : magnitude;
}

}  // namespace

std::optional<std::u16string> readSettingText(ISettingsKey& key, std::u16string_view name) {
    std::optional<std::u16string> text = key.readValue(name);
    if (!text) return std::nullopt;
    if ((text->size() + 1) * sizeof(char16_t) > kSettingReadBufferBytes) return std::nullopt;
    // The registry hands back what lies before the first NUL of a text value.
    if (const std::size_t nul = text->find(u'\0'); nul != std::u16string::npos) text->resize(nul);
    return text;
}

std::optional<int32_t> parseDecimalSetting(std::u16string_view text) {
    const std::optional<int64_t> value = scanNumber(text, 0, 10);
    if (!value || *value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*value);
}

std::optional<uint32_t> parseHashHexSetting(std::u16string_view text) {
    if (text.empty() || text[0] != u'#') return std::nullopt;
    const std::optional<int64_t> value = scanNumber(text, 1, 16);
    if (!value) return std::nullopt;
    // "%x" stores a negated number modulo 2^32, as unsigned arithmetic does.
    return static_cast<uint32_t>(static_cast<uint64_t>(*value));
}

uint32_t swapRedBlue(uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | (colour >> 16);
}

std::u16string colorToText(uint32_t displayColour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%06X", static_cast<unsigned>(swapRedBlue(displayColour)));
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

std::optional<uint32_t> colorFromText(std::u16string_view text) {
    const std::optional<uint32_t> number = parseHashHexSetting(text);
    if (!number) return std::nullopt;
    return swapRedBlue(*number);
}

std::u16string decimalText(int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

}  // namespace pelux
