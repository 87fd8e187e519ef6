#include "adapters/utf8.h"

#include "text/utf8_codec.h"

namespace pelux {

namespace {

void appendUtf16(std::u16string& out, char32_t code) {
    if (code >= 0x10000) {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(code));
    }
}

template <typename Text, typename Append>
Text decodeLeniently(std::string_view text, Append append) {
    Text out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (const std::optional<char32_t> code = nextUtf8CodePoint(text, i)) {
            append(out, *code);
        } else {
            append(out, kReplacementCharacter);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::optional<std::u16string> utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const std::optional<char32_t> code = nextUtf8CodePoint(text, i);
        if (!code) return std::nullopt;
        appendUtf16(out, *code);
    }
    return out;
}

std::u16string utf8ToUtf16Lenient(std::string_view text) {
    return decodeLeniently<std::u16string>(text, appendUtf16);
}

std::u32string utf8ToCodePointsLenient(std::string_view text) {
    return decodeLeniently<std::u32string>(text, [](std::u32string& out, char32_t code) { out.push_back(code); });
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    size_t i = 0;
    while (i < text.size()) {
        char bytes[4];
        out.append(bytes, encodeUtf8(nextUtf16CodePoint(text, i), bytes));
    }
    return out;
}

}  // namespace pelux
