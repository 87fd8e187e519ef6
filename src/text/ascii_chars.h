// The ASCII classes that scanf-style reading and the pattern object's "\s" share, for UTF-16 units.
#pragma once

namespace pelux {

// Space, tab, line feed, vertical tab, form feed and carriage return: C's isspace in the "C"
// locale, and what "\s" takes in the pattern object.
inline bool isAsciiSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// The value of a hexadecimal digit in either case, or -1.
inline int hexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace pelux
