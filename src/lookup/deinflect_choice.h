// Where deinflection meets the Japanese road: the conjugated word at the pointer, when it reads
// the text better than the plain longest match, and the line that names its form.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary.h"
#include "lookup/deinflected_word.h"

namespace pelux {

// The conjugated word that starts the captured text and reads it better than the plain longest
// match of `plainLength` characters: the longest such word, and of several the best by
// readingIsBetter. One as long as the plain match must read better than the plain match. Its
// dictionary form must be a key of `store` with a line whose part of speech fits.
// The caller holds the store's lock.
std::optional<DeinflectedWord> findDeinflectedWord(const CDictionary& store, std::u16string_view captured,
                                                   size_t plainLength);

// Every conjugated word at least as long as the plain match, longest first and ranked within one
// length; a dictionary line is named once, by its longest reading. The caller holds the lock.
std::vector<DeinflectedWord> findDeinflectedWords(const CDictionary& store, std::u16string_view captured,
                                                  size_t plainLength, size_t limit);

// How the plain match of `plainLength` characters ranks against conjugated readings as long.
ReadingRank plainMatchRank(const CDictionary& store, std::u16string_view captured, size_t plainLength);

// How one of the plain match's lines ranks against conjugated readings as long.
ReadingRank plainLineRank(const CDictionary& store, std::u16string_view key, LineNumber line);

// "食べました ← 食べる (polite past)".
std::u16string formLine(const DeinflectedWord& word);

}  // namespace pelux
