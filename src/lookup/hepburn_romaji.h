// Modified Hepburn romanization of a kana reading, as learners' dictionaries write it: one word,
// no separating dots (shi, chi, tsu, fu, ja, sha, chū, kitte, matcha, rāmen, tōkyō, kin'en).
#pragma once

#include <string>
#include <string_view>

namespace pelux {

// Kanji and iteration marks are left out; other characters that are not kana pass through
// unchanged. The kana table must be filled (initKanaRomajiTable).
std::u16string hepburnRomaji(std::u16string_view kana);

// The reading of a verb whose last う is its own ending (思う, 通う, 追う, 縫う): that う is never
// read as a long vowel (omou, not omō).
std::u16string hepburnRomajiOfGodanU(std::u16string_view kana);

}  // namespace pelux
