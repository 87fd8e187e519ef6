// Modified Hepburn romanization of a kana reading, as learners' dictionaries write it: one word,
// no separating dots (shi, chi, tsu, fu, ja, sha, chū, kitte, matcha, rāmen, tōkyō, kin'en).
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace pelux {

// Kanji and iteration marks are left out; other characters that are not kana pass through
// unchanged. A long vowel is one word part's own: at `boundaries` (places in `kana` where a new
// part starts, such as 子牛 こ|うし or the ending う of 思う) no vowel lengthens the one before.
// The kana table must be filled (initKanaRomajiTable).
std::u16string hepburnRomaji(std::u16string_view kana, std::span<const size_t> boundaries = {});

}  // namespace pelux
