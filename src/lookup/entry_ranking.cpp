#include "lookup/entry_ranking.h"

#include <algorithm>
#include <unordered_set>

namespace pelux {

namespace {

constexpr std::u16string_view kCommonMarker = u"/(P)/";
constexpr std::u16string_view kSurname = u"surname ";
constexpr std::u16string_view kVariantOf = u"variant of ";
constexpr std::u16string_view kFormOf = u"form of ";
constexpr size_t kMaxQualifierWords = 3;

bool isQualifierCharacter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'(' || c == u')' || c == u'-' || c == u' ';
}

// "old", "(old)", "Japanese", "less common": a few words that say which kind of variant or surname.
bool isQualifier(std::u16string_view prefix) {
    if (!std::all_of(prefix.begin(), prefix.end(), isQualifierCharacter)) return false;
    // "a variant of chess" describes a thing of its own.
    for (std::u16string_view article : {u"a ", u"an ", u"the "}) {
        if (prefix.starts_with(article)) return false;
    }
    return static_cast<size_t>(std::count(prefix.begin(), prefix.end(), u' ')) <= kMaxQualifierWords;
}

bool isOldFormQualifier(std::u16string_view prefix) {
    for (std::u16string_view old : {u"old ", u"(old) ", u"archaic ", u"ancient "}) {
        if (prefix == old) return true;
    }
    return false;
}

// A definition that only points elsewhere: a surname, a variant of another word, an old form.
bool isMinorDefinition(std::u16string_view definition) {
    for (std::u16string_view kind : {kSurname, kVariantOf}) {
        const size_t at = definition.find(kind);
        if (at != std::u16string_view::npos && isQualifier(definition.substr(0, at))) return true;
    }
    const size_t form = definition.find(kFormOf);
    return form != std::u16string_view::npos && isOldFormQualifier(definition.substr(0, form));
}

}  // namespace

EntryRank rankEntryLine(std::u16string_view line) {
    if (line.find(kCommonMarker) != std::u16string_view::npos) return EntryRank::Common;
    size_t start = line.find(u'/');
    bool sawDefinition = false;
    while (start != std::u16string_view::npos && start + 1 < line.size()) {
        const size_t end = line.find(u'/', start + 1);
        const std::u16string_view definition =
            line.substr(start + 1, (end == std::u16string_view::npos ? line.size() : end) - start - 1);
        const bool blank = definition.find_first_not_of(u" \r\n") == std::u16string_view::npos;
        if (!blank) {
            if (!isMinorDefinition(definition)) return EntryRank::Ordinary;
            sawDefinition = true;
        }
        start = end;
    }
    return sawDefinition ? EntryRank::Minor : EntryRank::Ordinary;
}

LineList rankEntryLines(const LineList& lines, size_t limit,
                        const std::function<std::u16string_view(LineNumber)>& textOf) {
    struct Ranked {
        EntryRank rank;
        LineNumber line;
    };
    std::vector<Ranked> ranked;
    std::unordered_set<LineNumber> seen;
    ranked.reserve(lines.size());
    for (LineNumber line : lines) {
        if (seen.insert(line).second) ranked.push_back({rankEntryLine(textOf(line)), line});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) { return a.rank < b.rank; });
    LineList result;
    for (size_t i = 0; i < ranked.size() && i < limit; ++i) result.push_back(ranked[i].line);
    return result;
}

}  // namespace pelux
