#include "lookup/deinflect_choice.h"

#include <algorithm>

#include "lookup/cjk_lookup.h"
#include "lookup/deinflect.h"
#include "lookup/deinflect_rules.h"
#include "text/kana_chars.h"

namespace pelux {

namespace {

// 食べさせられませんでした has 12 characters; nothing real comes near this.
constexpr size_t kMaxInflectedLength = 16;
constexpr std::u16string_view kCommonMarker = u"/(P)/";
constexpr std::u16string_view kUsuallyKana = u"(uk)";
// The one stem of a single kana met alone in running text: 設定し、 is 設定する. Others of one
// kana are particles far more often (で, て, に are not 出る, てる, 似る).
constexpr std::u16string_view kSuruStem = u"し";
constexpr std::u16string_view kSecondSense = u"(2)";
constexpr std::u16string_view kParticles[] = {u"に", u"が", u"を", u"は", u"で", u"と", u"の",
                                              u"へ", u"も", u"から", u"より"};


bool startsWithParticle(std::u16string_view text) {
    return std::any_of(std::begin(kParticles), std::end(kParticles),
                       [text](std::u16string_view particle) { return text.starts_with(particle); });
}

// Where a sentence or a quotation ends, a stem alone is more often a noun (終わり。).
bool endsSentence(char16_t c) { return std::u16string_view(u"。．！？!?」』）)").find(c) != std::u16string_view::npos; }

// The line names `key` itself as its headword, or its first sense is usually written in kana
// (分かる is; 会う is only in its second, "to have an accident").
bool lineIsAsWritten(std::u16string_view key, std::u16string_view line) {
    if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == u' ') return true;
    const size_t usuallyKana = line.find(kUsuallyKana);
    return usuallyKana != std::u16string_view::npos && usuallyKana < line.find(kSecondSense);
}

bool isPhrase(std::u16string_view line) { return line.find(u"(exp") != std::u16string_view::npos; }

void addLineToRank(ReadingRank& rank, std::u16string_view key, std::u16string_view line) {
    rank.asWritten = rank.asWritten || lineIsAsWritten(key, line);
    rank.common = rank.common || line.find(kCommonMarker) != std::u16string_view::npos;
}

// The line of `key` to show, among those whose part of speech is among `classes`: the first
// common one, else the first (おもう is 思う before 惟う); and the rank of every such line.
std::optional<LineNumber> fittingLines(const CDictionary& store, std::u16string_view key, WordClassMask classes,
                                       ReadingRank& rank) {
    std::optional<LineNumber> shown;
    for (LineNumber line : store.entriesFor(key)) {
        const std::u16string_view text = store.lineText(line);
        if ((wordClassesOfLine(text) & classes) == 0) continue;
        const bool wasCommon = rank.common;
        addLineToRank(rank, key, text);
        if (!shown || (!wasCommon && rank.common)) shown = line;
    }
    return shown;
}

// The candidate's line: under its own key, or, for a する verb that EDICT keeps under its noun
// (勉強する under 勉強), under the noun when that is marked as taking する.
std::optional<LineNumber> fittingLine(const CDictionary& store, const DeinflectCandidate& candidate, ReadingRank& rank) {
    std::optional<LineNumber> line = fittingLines(store, candidate.word, candidate.classes, rank);
    constexpr std::u16string_view kSuru = u"する";
    const std::u16string_view word = candidate.word;
    if (!line && (candidate.classes & word_class::kSuru) != 0 && word.size() > kSuru.size() &&
        word.substr(word.size() - kSuru.size()) == kSuru) {
        line = fittingLines(store, word.substr(0, word.size() - kSuru.size()), word_class::kSuruNoun, rank);
    }
    return line;
}

class CReadingFinder {
public:
    CReadingFinder(const CDictionary& store, std::u16string_view captured, size_t plainLength)
        : m_store(store),
          m_captured(captured),
          // A rare word, or one found only through the kana of a word written with kanji, does not
          // reach over a particle: に of 便利になって is not 荷う, 回より is not an old verb 回る.
          m_atParticle(startsWithParticle(captured)),
          m_particleNear(m_atParticle ||
                         (plainLength > 0 && startsWithParticle(captured.substr(std::min(plainLength, captured.size()))))) {}

    size_t longest() const { return std::min(m_captured.size(), kMaxInflectedLength); }

    // The conjugated readings of the first `length` characters, ranked, best first.
    std::vector<DeinflectedWord> readingsOf(size_t length) const {
        std::vector<DeinflectedWord> found;
        // Every conjugated ending is hiragana: other prefixes cannot be conjugated words.
        if (length == 0 || !isHiraganaBlockChar(m_captured[length - 1])) return found;
        const std::u16string_view surface = m_captured.substr(0, length);
        const bool goesOn = length < m_captured.size() && !endsSentence(m_captured[length]);
        // A stem alone ends where the kana end: before more kana it is the start of some longer
        // form, or not a stem at all (に of にする is not 似る).
        const bool kanaFollows = length < m_captured.size() && isHiraganaBlockChar(m_captured[length]);
        const bool stemAllowed = !kanaFollows && (length > 1 || surface == kSuruStem);
        for (const DeinflectCandidate& candidate : deinflect(surface, stemAllowed)) {
            if (candidate.word.size() > static_cast<size_t>(kMaxWordLength)) continue;
            ReadingRank rank;
            const std::optional<LineNumber> line = fittingLine(m_store, candidate, rank);
            // Over a particle only a common verb or adjective as written reads on (できる, 死にます);
            // the phrases that start with one (による, となる) leave it to the plain match.
            if (!line || (m_particleNear && (!rank.asWritten || !rank.common))) continue;
            if (m_atParticle && isPhrase(m_store.lineText(*line))) continue;
            const bool stemAlone = deinflectRules()[candidate.rules[0]].stemAlone;
            rank.depth = candidate.depth;
            rank.stemGoesOn = goesOn && stemAlone;
            found.push_back({std::u16string(surface), candidate.word, formName(candidate), *line, rank});
        }
        std::stable_sort(found.begin(), found.end(), [](const DeinflectedWord& a, const DeinflectedWord& b) {
            return dictionaryFormIsBetter(a.rank, b.rank);
        });
        return found;
    }

private:
    const CDictionary& m_store;
    std::u16string_view m_captured;
    bool m_atParticle;
    bool m_particleNear;
};

}  // namespace

bool dictionaryFormIsBetter(const ReadingRank& a, const ReadingRank& b) {
    if (a.stemGoesOn != b.stemGoesOn) return a.stemGoesOn;
    if (a.common != b.common) return a.common;
    if (a.depth != b.depth) return a.depth < b.depth;
    return a.asWritten && !b.asWritten;
}

bool readingIsBetter(const ReadingRank& a, const ReadingRank& b) {
    if (a.asWritten != b.asWritten) return a.asWritten;
    if (a.stemGoesOn != b.stemGoesOn) return a.stemGoesOn;
    if (a.common != b.common) return a.common;
    return a.depth < b.depth;
}

ReadingRank plainMatchRank(const CDictionary& store, std::u16string_view captured, size_t plainLength) {
    const std::u16string_view key = captured.substr(0, plainLength);
    ReadingRank rank;
    for (LineNumber line : store.entriesFor(key)) addLineToRank(rank, key, store.lineText(line));
    return rank;
}

ReadingRank plainLineRank(const CDictionary& store, std::u16string_view key, LineNumber line) {
    ReadingRank rank;
    addLineToRank(rank, key, store.lineText(line));
    return rank;
}

std::optional<DeinflectedWord> findDeinflectedWord(const CDictionary& store, std::u16string_view captured,
                                                   size_t plainLength) {
    const CReadingFinder finder(store, captured, plainLength);
    for (size_t length = finder.longest(); length > plainLength; --length) {
        std::vector<DeinflectedWord> readings = finder.readingsOf(length);
        if (!readings.empty()) return std::move(readings.front());
    }
    if (plainLength == 0 || plainLength > finder.longest()) return std::nullopt;
    std::vector<DeinflectedWord> asLong = finder.readingsOf(plainLength);
    if (asLong.empty() || !readingIsBetter(asLong.front().rank, plainMatchRank(store, captured, plainLength))) return std::nullopt;
    return std::move(asLong.front());
}

std::vector<DeinflectedWord> findDeinflectedWords(const CDictionary& store, std::u16string_view captured,
                                                  size_t plainLength, size_t limit) {
    const CReadingFinder finder(store, captured, plainLength);
    std::vector<DeinflectedWord> words;
    for (size_t length = finder.longest(); length >= std::max<size_t>(plainLength, 1) && words.size() < limit; --length) {
        for (DeinflectedWord& word : finder.readingsOf(length)) {
            const bool named = std::any_of(words.begin(), words.end(), [&word](const DeinflectedWord& shown) { return shown.line == word.line; });
            if (!named && words.size() < limit) words.push_back(std::move(word));
        }
    }
    return words;
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
