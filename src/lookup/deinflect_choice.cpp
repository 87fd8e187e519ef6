#include "lookup/deinflect_choice.h"

#include <algorithm>

#include "lookup/cjk_lookup.h"
#include "lookup/deinflect.h"

namespace pelux {

namespace {

// 食べさせられませんでした has 12 characters; nothing real comes near this.
constexpr size_t kMaxInflectedLength = 16;

bool isHiragana(char16_t c) { return c >= 0x3041 && c <= 0x309F; }

std::optional<LineNumber> firstLineOfClass(std::u16string_view key, WordClassMask classes) {
    CDictionary& store = theDictionary();
    for (LineNumber line : store.entriesFor(key)) {
        if ((wordClassesOfLine(store.lineText(line)) & classes) != 0) return line;
    }
    return std::nullopt;
}

// The candidate's line: under its own key, or, for a する verb that EDICT keeps under its noun
// (勉強する under 勉強), under the noun when that is marked as taking する.
std::optional<LineNumber> fittingLine(const DeinflectCandidate& candidate) {
    std::optional<LineNumber> line = firstLineOfClass(candidate.word, candidate.classes);
    constexpr std::u16string_view kSuru = u"する";
    const std::u16string_view word = candidate.word;
    if (!line && (candidate.classes & word_class::kSuru) != 0 && word.size() > kSuru.size() &&
        word.substr(word.size() - kSuru.size()) == kSuru) {
        line = firstLineOfClass(word.substr(0, word.size() - kSuru.size()), word_class::kSuruNoun);
    }
    return line;
}

}  // namespace

std::optional<DeinflectedWord> findDeinflectedWord(std::u16string_view captured, size_t plainLength) {
    const size_t longest = std::min(captured.size(), kMaxInflectedLength);
    for (size_t length = longest; length > plainLength; --length) {
        // Every conjugated ending is hiragana: other prefixes cannot be conjugated words.
        if (!isHiragana(captured[length - 1])) continue;
        for (const DeinflectCandidate& candidate : deinflect(captured.substr(0, length))) {
            if (candidate.word.size() > static_cast<size_t>(kMaxWordLength)) continue;
            const std::optional<LineNumber> line = fittingLine(candidate);
            if (!line) continue;
            return DeinflectedWord{std::u16string(captured.substr(0, length)), candidate.word, formName(candidate), *line};
        }
    }
    return std::nullopt;
}

std::u16string formLine(const DeinflectedWord& word) {
    std::u16string line = word.surface;
    line += u" ← ";
    line += word.dictionaryForm;
    line += u" (";
    line += word.formName;
    line += u")";
    return line;
}

}  // namespace pelux
