// Reverse lookup of an English word: as it stands, through its irregular form or contraction,
// then through its stem.
#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary.h"

namespace pelux {

struct EnglishLookupResult {
    std::u16string label;
    LineList lines;
};

// Trims white space at both ends and lower-cases each code unit.
std::u16string normalizeEnglishWord(std::u16string_view text);

// The caller holds the store's lock or runs on the only thread.
EnglishLookupResult lookupEnglishWord(const CDictionary& store, std::u16string_view captured);

}  // namespace pelux
