#include "lookup/pinyin.h"

#include <array>
#include <mutex>

#include "lookup/compiled_pattern.h"

namespace pelux {

namespace {

constexpr int kToneCount = 5;
constexpr char16_t kUmlautU = u'\u00FC';

struct ToneRow {
    char16_t vowel;
    std::array<char16_t, kToneCount> forms;
};

// Tone 3 of a, e, i, o and u is written with a breve; tone 3 of ü with a caron. Tone 5 is plain.
const ToneRow kToneRows[] = {
    {u'a', {u'\u0101', u'\u00E1', u'\u0103', u'\u00E0', u'a'}},
    {u'e', {u'\u0113', u'\u00E9', u'\u0115', u'\u00E8', u'e'}},
    {u'i', {u'\u012B', u'\u00ED', u'\u012D', u'\u00EC', u'i'}},
    {u'o', {u'\u014D', u'\u00F3', u'\u014F', u'\u00F2', u'o'}},
    {u'u', {u'\u016B', u'\u00FA', u'\u016D', u'\u00F9', u'u'}},
    {kUmlautU, {u'\u01D6', u'\u01D8', u'\u01DA', u'\u01DC', kUmlautU}},
};

// Indexed by vowel; zero where a character is not one of the six vowels.
std::array<std::array<char16_t, kToneCount>, kUmlautU + 1> g_toneMarks{};
std::once_flag g_toneMarksOnce;

const char16_t kLinePattern[] = u"{[^\\[]*\\[}{[^\\[]*}{\\].*}";
const char16_t kRunPattern[] = u"{(\\a|:)+}";
const char16_t kSyllablePattern[] = u"{[^aeiou\u00FC]*?[aeiou\u00FC]?}{[aeiou\u00FC]}{[aeiou\u00FC]?[^aeiou\u00FC]*?[0-9]}";

char16_t toneForm(char16_t vowel, char16_t digit) {
    if (vowel > kUmlautU || digit < u'1' || digit > u'5') return 0;
    return g_toneMarks[vowel][static_cast<size_t>(digit - u'1')];
}

}  // namespace

void initToneMarkTable() {
    std::call_once(g_toneMarksOnce, [] {
        for (const ToneRow& row : kToneRows) g_toneMarks[row.vowel] = row.forms;
    });
}

std::u16string markSyllable(std::u16string_view run) {
    const std::u16string text(run);
    thread_local CompiledPattern syllable(kSyllablePattern);
    if (!syllable.search(text.c_str())) return {};

    const std::u16string_view leadIn = syllable.group(0, text.c_str());
    const std::u16string_view vowel = syllable.group(1, text.c_str());
    const std::u16string_view rest = syllable.group(2, text.c_str());
    if (vowel.empty() || rest.empty()) return {};

    std::u16string result(leadIn);
    // A digit outside 1 to 5 has no tone form: the vowel stays unmarked and the digit still goes.
    const char16_t marked = toneForm(vowel.front(), rest.back());
    result.push_back(marked ? marked : vowel.front());
    result.append(rest.substr(0, rest.size() - 1));
    return result;
}

std::u16string renderPinyinLine(const std::u16string& line) {
    thread_local CompiledPattern linePattern(kLinePattern);
    if (!linePattern.search(line.c_str())) return line;

    std::u16string output(linePattern.group(0, line.c_str()));
    // Runs are searched inside the pinyin only, so that a syllable quoted in the definitions
    // after the closing bracket never lands between the brackets.
    const std::u16string pinyin(linePattern.group(1, line.c_str()));
    const std::u16string_view tail = linePattern.group(2, line.c_str());
    thread_local CompiledPattern runPattern(kRunPattern);
    size_t position = 0;
    while (position < pinyin.size()) {
        const char16_t* runEnd = nullptr;
        if (!runPattern.search(pinyin.c_str() + position, &runEnd)) break;
        output += markSyllable(runPattern.group(0, pinyin.c_str() + position));
        position = static_cast<size_t>(runEnd - pinyin.c_str());
        if (position < pinyin.size()) output.push_back(u' ');
    }
    output.append(tail);
    return output;
}

}  // namespace pelux
