// FNV-1a 64 of a program listing, in 16 hex digits: a compact fingerprint of compiled code.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace pelux {

inline std::string programHash(const std::string& listing, uint64_t hash = 1469598103934665603ull) {
    for (unsigned char c : listing) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

}  // namespace pelux
