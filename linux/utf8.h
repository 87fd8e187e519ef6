// UTF-8 <-> UTF-16 at the edge of the program (arguments, JSON, files written for people).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelux {

// Strict decoding: malformed or overlong sequences and encoded surrogates give nullopt.
std::optional<std::u16string> utf8ToUtf16(std::string_view text);
// A lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace pelux
