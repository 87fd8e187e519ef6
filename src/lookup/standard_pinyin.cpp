#include "lookup/standard_pinyin.h"

#include <algorithm>
#include <array>

namespace pelux {

namespace {

constexpr char16_t kUmlautLower = u'ü';
constexpr char16_t kUmlautUpper = u'Ü';

struct MarkedVowel {
    char16_t plain;
    std::array<char16_t, 4> tones;  // tones 1 to 4
};

const MarkedVowel kMarkedVowels[] = {
    {u'a', {u'ā', u'á', u'ǎ', u'à'}}, {u'e', {u'ē', u'é', u'ě', u'è'}}, {u'i', {u'ī', u'í', u'ǐ', u'ì'}},
    {u'o', {u'ō', u'ó', u'ǒ', u'ò'}}, {u'u', {u'ū', u'ú', u'ǔ', u'ù'}}, {u'ü', {u'ǖ', u'ǘ', u'ǚ', u'ǜ'}},
    {u'A', {u'Ā', u'Á', u'Ǎ', u'À'}}, {u'E', {u'Ē', u'É', u'Ě', u'È'}}, {u'I', {u'Ī', u'Í', u'Ǐ', u'Ì'}},
    {u'O', {u'Ō', u'Ó', u'Ǒ', u'Ò'}}, {u'U', {u'Ū', u'Ú', u'Ǔ', u'Ù'}}, {u'Ü', {u'Ǖ', u'Ǘ', u'Ǚ', u'Ǜ'}},
};

// Syllabic m and n (hm, ng) have no precomposed forms for every tone: a combining mark follows.
constexpr std::array<char16_t, 4> kCombiningTones = {u'\u0304', u'\u0301', u'\u030C', u'\u0300'};

// The syllabic nasals Unicode has as one letter (ḿ, ń, ň, ǹ); 0 where only a combining mark will do.
char16_t precomposedNasal(char16_t nasal, int tone) {
    struct Nasal {
        char16_t letter;
        std::array<char16_t, 4> marked;
    };
    static constexpr Nasal kNasals[] = {
        {u'm', {0, u'\u1E3F', 0, 0}},
        {u'M', {0, u'\u1E3E', 0, 0}},
        {u'n', {0, u'\u0144', u'\u0148', u'\u01F9'}},
        {u'N', {0, u'\u0143', u'\u0147', u'\u01F8'}},
    };
    for (const Nasal& known : kNasals) {
        if (known.letter == nasal) return known.marked[static_cast<size_t>(tone - 1)];
    }
    return 0;
}

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

char16_t lower(char16_t c) {
    if (c == kUmlautUpper) return kUmlautLower;
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool isVowel(char16_t c) {
    const char16_t l = lower(c);
    return l == u'a' || l == u'e' || l == u'i' || l == u'o' || l == u'u' || l == kUmlautLower;
}

// The letters with u: and v written as ü; empty when anything but letters (and a colon after u)
// comes before the tone digit.
std::u16string letters(std::u16string_view body) {
    std::u16string out;
    for (size_t i = 0; i < body.size(); ++i) {
        const char16_t c = body[i];
        if (c == u':') {
            if (out.empty() || lower(out.back()) != u'u') return {};
            out.back() = out.back() == u'u' ? kUmlautLower : kUmlautUpper;
        } else if (c == u'v' || c == u'V') {
            out.push_back(c == u'v' ? kUmlautLower : kUmlautUpper);
        } else if (isAsciiLetter(c)) {
            out.push_back(c);
        } else {
            return {};
        }
    }
    return out;
}

// Where the mark goes: a or e, else the o of ou, else the last vowel; npos without a vowel.
size_t markPosition(const std::u16string& syllable) {
    size_t lastVowel = std::u16string::npos;
    size_t ouAt = std::u16string::npos;
    for (size_t i = 0; i < syllable.size(); ++i) {
        const char16_t l = lower(syllable[i]);
        if (l == u'a' || l == u'e') return i;
        if (l == u'o' && i + 1 < syllable.size() && lower(syllable[i + 1]) == u'u' && ouAt == std::u16string::npos)
            ouAt = i;
        if (isVowel(syllable[i])) lastVowel = i;
    }
    return ouAt != std::u16string::npos ? ouAt : lastVowel;
}

char16_t markedForm(char16_t vowel, int tone) {
    for (const MarkedVowel& row : kMarkedVowels) {
        if (row.plain == vowel) return row.tones[static_cast<size_t>(tone - 1)];
    }
    return vowel;
}

// The space-separated tokens of `text` passed through `convert`, which returns an empty text
// for a token it leaves alone.
template <typename Convert>
std::u16string mapTokens(std::u16string_view text, Convert convert) {
    std::u16string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u' ', start);
        if (end == std::u16string_view::npos) end = text.size();
        const std::u16string_view token = text.substr(start, end - start);
        const std::u16string converted = convert(token);
        out.append(converted.empty() ? std::u16string(token) : converted);
        if (end == text.size()) break;
        out.push_back(u' ');
        start = end + 1;
    }
    return out;
}

bool allTokensAreSyllables(std::u16string_view text) {
    if (text.empty()) return false;
    bool all = true;
    mapTokens(text, [&all](std::u16string_view token) {
        all = all && !standardPinyinSyllable(token).empty();
        return std::u16string();
    });
    return all;
}

}  // namespace

std::u16string standardPinyinDefinitions(std::u16string_view definitions) {
    std::u16string out;
    size_t position = 0;
    while (position < definitions.size()) {
        const size_t open = definitions.find(u'[', position);
        const size_t close = open == std::u16string_view::npos ? open : definitions.find(u']', open);
        if (close == std::u16string_view::npos) break;
        const std::u16string_view inside = definitions.substr(open + 1, close - open - 1);
        out.append(definitions.substr(position, open + 1 - position));
        out.append(allTokensAreSyllables(inside) ? standardPinyinText(inside) : std::u16string(inside));
        out.push_back(u']');
        position = close + 1;
    }
    out.append(definitions.substr(std::min(position, definitions.size())));
    return out;
}

std::u16string standardPinyinSyllable(std::u16string_view syllable) {
    if (syllable.size() < 2) return {};
    const char16_t digit = syllable.back();
    if (digit < u'1' || digit > u'5') return {};
    std::u16string out = letters(syllable.substr(0, syllable.size() - 1));
    if (out.empty()) return {};
    const int tone = digit - u'0';
    if (tone == 5) return out;
    const size_t at = markPosition(out);
    if (at != std::u16string::npos) {
        out[at] = markedForm(out[at], tone);
        return out;
    }
    const size_t nasal = out.find_first_of(u"mnMN");
    if (nasal == std::u16string::npos) return out;
    if (const char16_t precomposed = precomposedNasal(out[nasal], tone); precomposed != 0) {
        out[nasal] = precomposed;
    } else {
        out.insert(nasal + 1, 1, kCombiningTones[static_cast<size_t>(tone - 1)]);
    }
    return out;
}

std::u16string standardPinyinText(std::u16string_view text) { return mapTokens(text, standardPinyinSyllable); }

std::u16string renderStandardPinyinLine(std::u16string_view line) {
    const size_t open = line.find(u'[');
    const size_t close = open == std::u16string_view::npos ? open : line.find(u']', open);
    if (close == std::u16string_view::npos) return std::u16string(line);
    std::u16string out(line.substr(0, open + 1));
    out += standardPinyinText(line.substr(open + 1, close - open - 1));
    out.push_back(u']');
    out += standardPinyinDefinitions(line.substr(close + 1));
    return out;
}

std::u16string standardPinyinCharacterInfo(std::u16string_view info) {
    constexpr std::u16string_view kMandarin = u"[M: ";
    constexpr std::u16string_view kCantonese = u" C: ";
    const size_t start = info.find(kMandarin);
    if (start == std::u16string_view::npos) return std::u16string(info);
    const size_t readingAt = start + kMandarin.size();
    const size_t end = info.find(kCantonese, readingAt);
    if (end == std::u16string_view::npos) return std::u16string(info);
    std::u16string out(info.substr(0, readingAt));
    out += standardPinyinText(info.substr(readingAt, end - readingAt));
    out.append(info.substr(end));
    return out;
}

}  // namespace pelux
