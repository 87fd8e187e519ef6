// Test helpers: readable UTF-8 traces of UTF-16 test rows.
#pragma once

#include <string>
#include <string_view>

#include "adapters/utf8.h"

namespace pelux {

inline std::string traceOf(std::u16string_view text) { return utf16ToUtf8(text); }

}  // namespace pelux
