// Modified Hepburn romanization of a kana reading, as learners' dictionaries write it: one word,
// no separating dots (shi, chi, tsu, fu, ja, sha, chū, kitte, matcha, rāmen, tōkyō, kin'en).
#pragma once

#include <string>
#include <string_view>

namespace pelux {

// Characters that are not kana pass through unchanged. The kana table must be filled
// (initKanaRomajiTable).
std::u16string hepburnRomaji(std::u16string_view kana);

}  // namespace pelux
