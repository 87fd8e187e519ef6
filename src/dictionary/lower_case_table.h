// The generated Unicode tables behind lower_case.h (see scripts/gen_lower_case.py).
#pragma once

#include <cstddef>

namespace pelux {

struct LowerCasePair {
    char16_t code;
    char16_t lower;
};

struct WhiteSpaceRange {
    char16_t first;
    char16_t last;
};

// Sorted by code: every BMP character whose simple lower-case mapping differs from itself.
extern const LowerCasePair kLowerCasePairs[];
extern const std::size_t kLowerCasePairCount;
// Sorted, disjoint ranges of the White_Space property within the BMP.
extern const WhiteSpaceRange kWhiteSpaceRanges[];
extern const std::size_t kWhiteSpaceRangeCount;

}  // namespace pelux
