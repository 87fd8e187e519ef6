#include "dictbuild/dict_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "adapters/utf8.h"

namespace pelux {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Base letters of Latin Extended-A (U+0100..U+017F), in code order.
constexpr std::string_view kLatinExtendedABase =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiJjJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTt"
    "UuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kLatinExtendedABase.size() == 0x80);

struct ToneLetter {
    char32_t marked;
    const char* base;
    int tone;
};

// Tone-marked letters that Mandarin readings use; the breve forms appear in some sources for tone 3.
constexpr ToneLetter kToneLetters[] = {
    {U'ā', "a", 1}, {U'á', "a", 2}, {U'ǎ', "a", 3}, {U'ă', "a", 3}, {U'à', "a", 4},
    {U'ē', "e", 1}, {U'é', "e", 2}, {U'ě', "e", 3}, {U'ĕ', "e", 3}, {U'è', "e", 4},
    {U'ī', "i", 1}, {U'í', "i", 2}, {U'ǐ', "i", 3}, {U'ĭ', "i", 3}, {U'ì', "i", 4},
    {U'ō', "o", 1}, {U'ó', "o", 2}, {U'ǒ', "o", 3}, {U'ŏ', "o", 3}, {U'ò', "o", 4},
    {U'ū', "u", 1}, {U'ú', "u", 2}, {U'ǔ', "u", 3}, {U'ŭ', "u", 3}, {U'ù', "u", 4},
    {U'ǖ', "u:", 1}, {U'ǘ', "u:", 2}, {U'ǚ', "u:", 3}, {U'ǜ', "u:", 4}, {U'ü', "u:", 0},
    {U'ḿ', "m", 2}, {U'ń', "n", 2}, {U'ň', "n", 3}, {U'ǹ', "n", 4},
    {U'ê', "e", 0}, {U'ế', "e", 2}, {U'ề', "e", 4},
    // Combining marks, for text written in decomposed form.
    {0x0304, "", 1}, {0x0301, "", 2}, {0x030C, "", 3}, {0x0306, "", 3}, {0x0300, "", 4},
};

std::string numberedSyllable(std::u32string_view syllable) {
    std::string out;
    int tone = 0;
    bool hasDigit = false;
    for (char32_t c : syllable) {
        if (c == 0x0308) {  // combining diaeresis: the u before it is ü
            if (!out.empty() && out.back() == 'u') out += ':';
            continue;
        }
        if (c < 0x80) {
            hasDigit = hasDigit || (c >= '0' && c <= '9');
            out += static_cast<char>(c);
            continue;
        }
        for (const ToneLetter& letter : kToneLetters) {
            if (letter.marked != c) continue;
            out += letter.base;
            if (letter.tone != 0) tone = letter.tone;
            break;
        }
    }
    if (!out.empty() && !hasDigit) out += static_cast<char>('0' + (tone == 0 ? 5 : tone));
    return out;
}

void appendSingleByte(std::string& out, char32_t c) {
    if (c == '\t' || c == '\r' || c == '\n' || c == 0x3000) {
        out += ' ';
    } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        out += ' ';
    } else if (c < 0x100) {
        out += static_cast<char>(c);
    } else if (c < 0x180) {
        out += kLatinExtendedABase[c - 0x100];
    } else if (c >= 0x1CD && c <= 0x1D4) {
        out += std::string_view("AaIiOoUu")[c - 0x1CD];
    } else if (c >= 0x1D5 && c <= 0x1DC) {
        out += static_cast<char>(c % 2 == 1 ? 0xDC : 0xFC);  // Ü / ü with a tone mark
    } else if (c >= 0x300 && c <= 0x36F) {
        // Combining marks are dropped: the letter before them stays.
    } else if (c == 0x1F8 || c == 0x1F9) {
        out += c == 0x1F8 ? 'N' : 'n';
    } else if (c == 0x1E3E || c == 0x1E3F) {
        out += c == 0x1E3E ? 'M' : 'm';
    } else if (c == 0x1EBF || c == 0x1EC1) {
        out += static_cast<char>(0xEA);
    } else if (c == 0x2018 || c == 0x2019 || c == 0x201A || c == 0x2032) {
        out += '\'';
    } else if (c == 0x201C || c == 0x201D || c == 0x201E || c == 0x2033) {
        out += '"';
    } else if (c >= 0x2010 && c <= 0x2015) {
        out += '-';
    } else if (c == 0x2026) {
        out += "...";
    } else {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
        out += buffer;
    }
}

}  // namespace

std::string numberedPinyin(std::string_view toneMarked) {
    const std::u32string text = utf8ToCodePointsLenient(toneMarked);
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != U' ' && text[end] != U',') ++end;
        const std::string syllable = numberedSyllable(std::u32string_view(text).substr(start, end - start));
        if (!syllable.empty()) {
            if (!out.empty()) out += ' ';
            out += syllable;
        }
        start = end + 1;
    }
    return out;
}

std::string toSingleByte(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char32_t c : utf8ToCodePointsLenient(utf8)) appendSingleByte(out, c);
    return out;
}

void appendUtf16Le(std::string& out, std::u16string_view text) {
    for (char16_t unit : text) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
}

CEucJpDecoder::CEucJpDecoder() : m_handle(iconv_open("UTF-16LE", "EUC-JP")) {
    if (m_handle == reinterpret_cast<void*>(iconv_t(-1)))
        throw std::runtime_error("this system's iconv cannot convert EUC-JP");
}

CEucJpDecoder::~CEucJpDecoder() { iconv_close(static_cast<iconv_t>(m_handle)); }

std::u16string CEucJpDecoder::decode(std::string_view bytes) {
    const auto handle = static_cast<iconv_t>(m_handle);
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    std::u16string out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char16_t buffer[512];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, (sizeof buffer - outLeft) / sizeof(char16_t));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // Not EUC-JP here (or cut off at the end): mark it and go on with the next byte.
        out += char16_t(kReplacement);
        ++m_invalid;
        ++in;
        --inLeft;
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace pelux
