// UTF-8 <-> UTF-16 at the edge of the program (arguments, JSON, files and replies).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelux {

// Strict decoding: malformed or overlong sequences and encoded surrogates give nullopt.
std::optional<std::u16string> utf8ToUtf16(std::string_view text);
// Lenient decoding for text from outside: each byte that starts no well-formed sequence becomes
// U+FFFD, and decoding goes on with the next byte.
std::u16string utf8ToUtf16Lenient(std::string_view text);
std::u32string utf8ToCodePointsLenient(std::string_view text);
// A lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace pelux
