// A brace pattern compiled once per thread and reused for every search on that thread: the
// renderers run for every pointer event, and the patterns they use are constants.
#pragma once

#include "patterns/brace_regexp.h"

namespace pelux {

struct CompiledPattern {
    explicit CompiledPattern(const char16_t* pattern) { regexp.compile(pattern, true); }
    bool search(const char16_t* text, const char16_t** end = nullptr) { return regexp.search(text, &match, end); }
    std::u16string_view group(int i, const char16_t* text) const { return match.group(i).in(text); }

    CBraceRegExp regexp;
    CBraceMatch match{256};
};

}  // namespace pelux
