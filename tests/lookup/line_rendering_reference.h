// The renderers as first written: the three constant patterns run through the brace engine. The
// hand-written renderers must give exactly what these give, on every line.
#pragma once

#include <string>
#include <string_view>

#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "patterns/brace_regexp.h"

namespace pelux::reference {

struct Pattern {
    explicit Pattern(const char16_t* text) { regexp.compile(text, true); }
    bool search(const char16_t* text, const char16_t** end = nullptr) { return regexp.search(text, &match, end); }
    std::u16string_view group(int i, const char16_t* text) const { return match.group(i).in(text); }
    CBraceRegExp regexp;
    CBraceMatch match{256};
};

inline std::u16string markSyllable(std::u16string_view run) {
    const std::u16string text(run);
    static Pattern syllable(u"{[^aeiou\u00FC]*?[aeiou\u00FC]?}{[aeiou\u00FC]}{[aeiou\u00FC]?[^aeiou\u00FC]*?[0-9]}");
    if (!syllable.search(text.c_str())) return {};
    const std::u16string_view leadIn = syllable.group(0, text.c_str());
    const std::u16string_view vowel = syllable.group(1, text.c_str());
    const std::u16string_view rest = syllable.group(2, text.c_str());
    if (vowel.empty() || rest.empty()) return {};
    // The tone form itself comes from the production table: only where it goes is compared.
    std::u16string marked = pelux::markSyllable(std::u16string(1, vowel.front()) + rest.back());
    std::u16string result(leadIn);
    result += marked.empty() ? std::u16string(1, vowel.front()) : marked;
    result.append(rest.substr(0, rest.size() - 1));
    return result;
}

inline std::u16string renderPinyinLine(const std::u16string& line) {
    static Pattern linePattern(u"{[^\\[]*\\[}{[^\\[]*}{\\].*}");
    if (!linePattern.search(line.c_str())) return line;
    std::u16string output(linePattern.group(0, line.c_str()));
    const std::u16string pinyin(linePattern.group(1, line.c_str()));
    const std::u16string_view tail = linePattern.group(2, line.c_str());
    static Pattern runPattern(u"{(\\a|:)+}");
    size_t position = 0;
    while (position < pinyin.size()) {
        const char16_t* runEnd = nullptr;
        if (!runPattern.search(pinyin.c_str() + position, &runEnd)) break;
        output += reference::markSyllable(runPattern.group(0, pinyin.c_str() + position));
        position = static_cast<size_t>(runEnd - pinyin.c_str());
        if (position < pinyin.size()) output.push_back(u' ');
    }
    output.append(tail);
    return output;
}

inline std::u16string renderJapaneseLine(const std::u16string& line) {
    static Pattern pattern(u"{.*?}((\\b)+\\[{.*?}\\])?{(\\b)+/.*}");
    if (!pattern.search(line.c_str())) return line;
    const std::u16string_view headword = pattern.group(0, line.c_str());
    const std::u16string_view reading = pattern.group(1, line.c_str());
    std::u16string result(headword);
    result += u" [";
    result += reading.empty() ? romanizeKana(headword) : std::u16string(reading) + u' ' + romanizeKana(reading);
    result.push_back(u']');
    result.append(pattern.group(2, line.c_str()));
    return result;
}

}  // namespace pelux::reference
