// The order in which every line of a matched key is shown: common EDICT lines (marked "(P)")
// first, CC-CEDICT lines that only name a surname, a variant or an old form last, the file's
// order otherwise.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "dictionary/dictionary.h"

namespace pelux {

inline constexpr size_t kMaxEntriesPerWord = 8;
inline constexpr size_t kMaxEnglishEntries = 10;

enum class EntryRank { Common = 0, Ordinary = 1, Minor = 2 };

// The rank of one stored line from its definitions.
EntryRank rankEntryLine(std::u16string_view line);

// At most `limit` of `lines`, each once, ordered by rank and then by their order in `lines`.
// `textOf` gives a line's stored text.
LineList rankEntryLines(const LineList& lines, size_t limit,
                        const std::function<std::u16string_view(LineNumber)>& textOf);

}  // namespace pelux
