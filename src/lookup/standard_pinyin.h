// Pinyin as readers learned it: the tone mark on a or e when present, on the o of ou, else on
// the last vowel; ü for u: and v; a caron for tone 3; no mark for the neutral tone.
#pragma once

#include <string>
#include <string_view>

namespace pelux {

// One numbered syllable ("hao3", "lu:4", "nv3", "Bei3", "ma5", "r5") in marked form ("hǎo",
// "lǜ", "nǚ", "Běi", "ma", "r"). Empty when `syllable` is not letters followed by a tone 1 to 5.
std::u16string standardPinyinSyllable(std::u16string_view syllable);

// The space-separated tokens of `text`, each numbered syllable marked, every other token kept.
std::u16string standardPinyinText(std::u16string_view text);

// A Chinese dictionary line with the pinyin between its first "[" and "]" marked, and every
// bracketed reading within its definitions ("variant of 國|国[guo2]") marked as well.
std::u16string renderStandardPinyinLine(std::u16string_view line);

// Definitions ("/variant of 國|国[guo2]/") with each bracket that holds only numbered syllables marked.
std::u16string standardPinyinDefinitions(std::u16string_view definitions);

// A character's information " [M: guo2 C: gwok3] country" with the Mandarin reading marked.
std::u16string standardPinyinCharacterInfo(std::u16string_view info);

}  // namespace pelux
