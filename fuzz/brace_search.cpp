// A brace pattern compiled and searched for in a text: the pattern is the input up to its first
// NUL byte, the text what follows. Built twice, case-sensitive and case-insensitive.
#include <string>

#include "patterns/brace_regexp.h"
#include "support/fuzz_support.h"

using namespace pelux;
using namespace pelux::fuzzing;

namespace {

// Whatever the search reports must lie inside the text, and every group inside the match.
void checkMatch(const CBraceMatch& match, const char16_t* end, const char16_t* text, size_t length) {
    const auto inText = [length](int32_t at) { return at >= 0 && size_t(at) <= length; };
    if (!inText(match.matchStart()) || !inText(match.matchEnd()) || match.matchStart() > match.matchEnd())
        violated("the match lies outside the text");
    if (end != text + match.matchEnd()) violated("the end pointer is not the match's end");
    for (int i = 0; i < match.groupCount(); ++i) {
        const BraceSpan span = match.group(i);
        if (span.start == -1) continue;
        if (!span.isSet() || !inText(span.start) || !inText(span.end)) violated("a group lies outside the text");
    }
}

bool hasAsciiCapital(std::u16string_view text) {
    return text.find_first_of(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::u16string_view::npos;
}

// Without capitals on either side, ignoring case can change nothing.
void checkSameAsCaseSensitive(const std::u16string& pattern, const std::u16string& text, const CBraceMatch& found) {
    CBraceRegExp regexp;
    if (regexp.compile(pattern.c_str(), true) != BraceOk) violated("only the case-insensitive compile succeeded");
    CBraceMatch match(16);
    regexp.search(text.c_str(), &match);
    if (match.matchStart() != found.matchStart() || match.matchEnd() != found.matchEnd())
        violated("ignoring case moved the match of a text without capitals");
    for (int i = 0; i < match.groupCount(); ++i) {
        if (match.group(i).start != found.group(i).start || match.group(i).end != found.group(i).end)
            violated("ignoring case moved a group in a text without capitals");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto [patternBytes, textBytes] = splitAt(bytesOf(data, size), '\0');
    const std::u16string pattern = textOf(patternBytes);
    const std::u16string text = textOf(textBytes);

    CBraceRegExp regexp;
    if (regexp.compile(pattern.c_str(), PELUX_FUZZ_CASE_SENSITIVE) != BraceOk) {
        CBraceMatch match;
        if (regexp.search(text.c_str(), &match)) violated("a pattern that did not compile matched");
        return 0;
    }
    CBraceMatch match(16);
    const char16_t* end = nullptr;
    if (regexp.search(text.c_str(), &match, &end)) {
        // The engine stops at the first NUL, as its callers hand it C strings.
        checkMatch(match, end, text.c_str(), std::char_traits<char16_t>::length(text.c_str()));
    } else if (match.matchStart() != -1 || match.matchEnd() != -1 || end != nullptr) {
        violated("a failed search left match bounds");
    }
    if (!PELUX_FUZZ_CASE_SENSITIVE && !hasAsciiCapital(pattern) && !hasAsciiCapital(text))
        checkSameAsCaseSensitive(pattern, text, match);
    return 0;
}
