// Tone marks for the numbered pinyin of Chinese dictionary lines.
#pragma once

#include <string>
#include <string_view>

namespace pelux {

// Fills the tone-mark table once per process; safe to call from any thread, any number of times.
void initToneMarkTable();

// The line with the pinyin between its first "[" and the following "]" rewritten with tone marks.
std::u16string renderPinyinLine(const std::u16string& line);

// One run of pinyin letters, digits and colons, marked; empty when it holds no syllable.
std::u16string markSyllable(std::u16string_view run);

}  // namespace pelux
