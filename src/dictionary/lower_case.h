// Lower-casing and white-space tests for English words, one UTF-16 code unit at a time with the
// simple (one-to-one) Unicode mappings, so that a word keeps its length when lower-cased.
#pragma once

#include <string>

namespace pelux {

char16_t lowerCaseChar(char16_t c);
void lowerCaseInPlace(std::u16string& text);
// The Unicode White_Space property.
bool isUnicodeWhiteSpace(char16_t c);

}  // namespace pelux
