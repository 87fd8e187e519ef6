// The start of a UTF-16 text cut at a number of code units without splitting a surrogate pair.
#pragma once

#include <cstddef>
#include <string_view>

namespace pelux {

// The first `maxUnits` units of `text` (all of it when shorter), one fewer when the last of them
// would be the first half of a pair.
inline std::u16string_view cutBeforeUnits(std::u16string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) return text;
    const bool splitsPair = maxUnits > 0 && text[maxUnits - 1] >= 0xD800 && text[maxUnits - 1] <= 0xDBFF;
    return text.substr(0, splitsPair ? maxUnits - 1 : maxUnits);
}

}  // namespace pelux
