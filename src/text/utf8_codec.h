// UTF-8 and UTF-16 code points, one at a time: the one place that knows both encodings. The core
// needs UTF-8 bytes for the translation request; the Linux edge converts every text it reads
// or writes with the same functions.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace pelux {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Writes the UTF-8 form of one code point (at most U+10FFFF) into `out`; returns its length.
size_t encodeUtf8(char32_t code, char out[4]);

// The code point at `i`, advancing `i` past it; a lone surrogate reads as U+FFFD.
char32_t nextUtf16CodePoint(std::u16string_view text, size_t& i);

// The well-formed UTF-8 sequence at `i`, advancing `i` past it. A malformed, overlong or
// truncated sequence, or an encoded surrogate, gives nullopt and leaves `i` where it was.
std::optional<char32_t> nextUtf8CodePoint(std::string_view text, size_t& i);

}  // namespace pelux
