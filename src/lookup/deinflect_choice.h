// Where deinflection meets the Japanese road: the conjugated word at the pointer, when it covers
// more of the text than the plain longest match, and the line that names its form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lookup/deinflected_word.h"

namespace pelux {

// The conjugated word that starts the captured text and covers more than `plainLength`
// characters: the longest such word, and of several the one with the shortest chain. Its
// dictionary form must be a key of the process-wide store with a line whose part of speech fits.
// The caller holds the store's lock.
std::optional<DeinflectedWord> findDeinflectedWord(std::u16string_view captured, size_t plainLength);

// "食べました ← 食べる (polite past)".
std::u16string formLine(const DeinflectedWord& word);

}  // namespace pelux
