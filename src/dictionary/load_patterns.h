// The constant patterns a load runs on every line, matched by hand. Each function gives what the
// platform pattern object gives for its pattern (the pattern text is beside it), as a
// differential test and a fuzz target check against the pattern object. A general pattern
// engine cost a load more than everything else it did with a line.
//
// "." takes every unit but a line feed, and "\s" is one of tab, line feed, vertical tab, form
// feed, carriage return and space, as in the pattern object.
#pragma once

#include <string_view>

namespace pelux {

inline constexpr std::u16string_view kDefinitionRunPattern = u"([^/])+";
inline constexpr std::u16string_view kEntryPattern = u"(.*?)\\s+(\\[(.*?)\\])?";
inline constexpr std::u16string_view kDefinitionPattern = u"/(.+?)(?=/)";

// "([^/])+" with global matching: calls visit(run) for each maximal run of units other than "/".
template <typename Visit>
void forEachDefinitionRun(std::u16string_view text, Visit visit) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t slash = text.find(u'/', at);
        const std::size_t end = slash == std::u16string_view::npos ? text.size() : slash;
        if (end > at) visit(text.substr(at, end - at));
        at = end + 1;
    }
}

// "/(.+?)(?=/)" with global matching: calls visit(group 1) for each match.
template <typename Visit>
void forEachSlashedDefinition(std::u16string_view text, Visit visit) {
    std::size_t slash = text.find(u'/');
    while (slash != std::u16string_view::npos) {
        // At least one unit, then the first "/" after it, with no line feed on the way.
        if (slash + 1 < text.size() && text[slash + 1] != u'\n') {
            std::size_t end = slash + 2;
            while (end < text.size() && text[end] != u'/' && text[end] != u'\n') ++end;
            if (end < text.size() && text[end] == u'/') {
                visit(text.substr(slash + 1, end - slash - 1));
                slash = end;
                continue;
            }
        }
        slash = text.find(u'/', slash + 1);
    }
}

// "(.*?)\s+(\[(.*?)\])?", first match: false when the line has no white space at all.
struct EntryHead {
    std::u16string_view headword;  // group 1
    std::u16string_view reading;   // group 3, empty when the group did not take part
};
bool matchEntryHead(std::u16string_view line, EntryHead& head);

// The stem of kShortSuffixPattern, else of kLongSuffixPattern: group 1 of the first match of the
// first pattern that matches `word`; false when neither does.
bool matchSuffixStem(std::u16string_view word, std::u16string_view& stem);

}  // namespace pelux
