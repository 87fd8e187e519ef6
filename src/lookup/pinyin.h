// Tone marks for the numbered pinyin of Chinese dictionary lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelux {

// Fills the tone-mark table once per process; safe to call from any thread, any number of times.
void initToneMarkTable();

// The line with the pinyin between its first "[" and the following "]" rewritten with tone marks.
std::u16string renderPinyinLine(std::u16string_view line);
// The same, added to `out`.
void appendPinyinLine(std::u16string& out, std::u16string_view line);

// One run of pinyin letters, digits and colons, marked; empty when it holds no syllable.
std::u16string markSyllable(std::u16string_view run);
// The same, added to `out`.
void appendMarkedSyllable(std::u16string& out, std::u16string_view run);

// A syllable as the marking rule reads it: the lead-in before the vowel that takes the mark, that
// vowel, and the rest up to and including the tone digit. Views into the run.
struct SyllableParts {
    std::u16string_view leadIn;
    char16_t vowel;
    std::u16string_view rest;
};

// The syllable that markSyllable marks, or nothing when the run holds none.
std::optional<SyllableParts> findSyllable(std::u16string_view run);

// A Chinese line cut around its pinyin: the text up to and including the opening "[", the
// pinyin, and the rest from the closing "]" on. Views into the line.
struct PinyinLineParts {
    std::u16string_view head;
    std::u16string_view pinyin;
    std::u16string_view tail;
};

// The parts of a line, or nothing when it has no bracketed pinyin.
std::optional<PinyinLineParts> splitPinyinLine(std::u16string_view line);

}  // namespace pelux
