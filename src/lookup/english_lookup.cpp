#include "lookup/english_lookup.h"

#include <memory>

#include "dictionary/english_index.h"
#include "dictionary/lower_case.h"
#include "platform/perl_pattern.h"

namespace pelux {

namespace {

struct Contraction {
    const char16_t* marker;
    const char16_t* closing;
};

// Tested in this order: "let's" must be seen before "'s".
const Contraction kContractions[] = {
    {u"'t", u" not)"}, {u"'d", u" would)"}, {u"'ll", u" will)"}, {u"let's", u" us)"},
    {u"'s", u" is)"},  {u"'ve", u" have)"}, {u"'m", u" am)"},
};

std::u16string irregularLabel(std::u16string_view word, const std::u16string& form) {
    for (const Contraction& contraction : kContractions) {
        if (word.find(contraction.marker) != std::u16string_view::npos)
            return std::u16string(u"(").append(form).append(contraction.closing);
    }
    return std::u16string(u"[irregular] ").append(form);
}

// The stem left by the first suffix pattern that matches, or an empty text.
std::u16string findStem(std::u16string_view word) {
    // Set up once per thread and reused: their pattern and flag never change. Creating them
    // throws CPatternError when there is no pattern object.
    thread_local const std::unique_ptr<IPerlPattern> patterns[] = {createPerlPattern(kShortSuffixPattern, false),
                                                                   createPerlPattern(kLongSuffixPattern, false)};
    for (const std::unique_ptr<IPerlPattern>& pattern : patterns) {
        const std::vector<PerlMatch>& matches = pattern->execute(word);
        if (!matches.empty() && !matches.front().subMatches.empty()) return std::u16string(matches.front().subMatches[0]);
    }
    return {};
}

}  // namespace

std::u16string normalizeEnglishWord(std::u16string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isUnicodeWhiteSpace(text[begin])) ++begin;
    while (end > begin && isUnicodeWhiteSpace(text[end - 1])) --end;
    std::u16string word(text.substr(begin, end - begin));
    lowerCaseInPlace(word);
    return word;
}

EnglishLookupResult lookupEnglishWord(const CDictionary& store, std::u16string_view captured) {
    DictionaryLock lock(store.mutex());
    EnglishLookupResult result;
    const std::u16string word = normalizeEnglishWord(captured);
    result.label = word;
    result.lines = store.entriesFor(word);
    if (!result.lines.empty()) return result;

    // A word without an irregular form must not reach the empty key, which a Japanese line that
    // starts with white space can own.
    const std::u16string irregular(store.irregularForm(word));
    if (!irregular.empty()) result.lines = store.entriesFor(irregular);
    if (!result.lines.empty()) {
        result.label = irregularLabel(word, irregular);
        return result;
    }

    std::u16string stem;
    try {
        stem = findStem(word);
    } catch (const CPatternError&) {
        // Without a pattern object the word is shown as it stands, with no lines.
    }
    if (stem.empty()) return result;

    const CLineSpan stemLines = store.entriesFor(stem);
    if (!stemLines.empty()) {
        result.lines = stemLines;
        result.label = std::u16string(u"[root]").append(stem);
        return result;
    }
    const std::u16string target(store.stemTarget(stem));
    if (!target.empty()) {
        result.lines = store.entriesFor(target);
        result.label = std::u16string(u"[root]").append(target);
    }
    return result;
}

}  // namespace pelux
