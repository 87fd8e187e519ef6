#include "dictionary/lower_case.h"

#include <algorithm>

#include "dictionary/lower_case_table.h"

namespace pelux {

char16_t lowerCaseChar(char16_t c) {
    // Nearly every English character is ASCII; spare those the table search.
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 0x20) : c;
    const LowerCasePair* end = kLowerCasePairs + kLowerCasePairCount;
    const LowerCasePair* it =
        std::lower_bound(kLowerCasePairs, end, c, [](const LowerCasePair& pair, char16_t code) { return pair.code < code; });
    return (it != end && it->code == c) ? it->lower : c;
}

void lowerCaseInPlace(std::u16string& text) {
    for (char16_t& c : text) c = lowerCaseChar(c);
}

bool isUnicodeWhiteSpace(char16_t c) {
    const WhiteSpaceRange* end = kWhiteSpaceRanges + kWhiteSpaceRangeCount;
    const WhiteSpaceRange* it =
        std::lower_bound(kWhiteSpaceRanges, end, c, [](const WhiteSpaceRange& range, char16_t code) { return range.last < code; });
    return it != end && it->first <= c;
}

}  // namespace pelux
