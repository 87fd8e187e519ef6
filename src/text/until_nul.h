// Stored lines are read only up to their first NUL unit, as the C strings they once were. Every
// hover scans each shown line for one, so the scan takes four units a step.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace pelux {

inline std::u16string_view untilNul(std::u16string_view text) {
    const char16_t* units = text.data();
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        uint64_t word;
        std::memcpy(&word, units + i, sizeof word);
        // Non-zero exactly when one of the four units is zero.
        if ((word - 0x0001000100010001ull) & ~word & 0x8000800080008000ull) break;
    }
    for (; i < text.size(); ++i)
        if (units[i] == u'\0') return text.substr(0, i);
    return text;
}

}  // namespace pelux
