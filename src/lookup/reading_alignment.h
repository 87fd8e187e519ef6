// Where a headword's reading splits between its kanji: 子牛 [こうし] is こ|うし, 東京 [とうきょう]
// is とう|きょう. Each kanji must take one of its KANJIDIC readings (on or kun, voiced as in 手紙
// てがみ, or ending in っ as in 学校 がっこう); kana in the headword stand for themselves.
#pragma once

#include <string_view>
#include <vector>

#include "dictionary/kanji_table.h"

namespace pelux {

// The places in `reading` where a new part of the headword starts, past the first; empty when
// no split fits, the headword has no kanji, or `kanji` knows none of them.
std::vector<size_t> readingBoundaries(const CKanjiTable& kanji, std::u16string_view headword,
                                      std::u16string_view reading);

}  // namespace pelux
