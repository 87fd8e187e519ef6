#include "lookup/line_rendering.h"

#include "lookup/hepburn_romaji.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "lookup/reading_alignment.h"
#include "lookup/standard_pinyin.h"
#include "lookup/word_class.h"
#include "text/until_nul.h"

namespace pelux {

namespace {

constexpr size_t kNone = std::u16string_view::npos;

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

size_t blanksEnd(std::u16string_view text, size_t from) {
    while (from < text.size() && isBlank(text[from])) ++from;
    return from;
}

// Whether one or more blanks start at `from` and a "/" follows them.
bool slashAfterBlanks(std::u16string_view text, size_t from) {
    if (from >= text.size() || !isBlank(text[from])) return false;
    const size_t end = blanksEnd(text, from);
    return end < text.size() && text[end] == u'/';
}

// Finds the "]" that closes a reading: the first one at or after a given place that blanks and
// a "/" follow. The places asked for only grow, so one forward scan answers every question.
class CReadingCloser {
public:
    explicit CReadingCloser(std::u16string_view text) : m_text(text) {}

    size_t firstFrom(size_t from) {
        if (m_found != kNone && m_found >= from) return m_found;
        for (size_t k = from > m_scanned ? from : m_scanned; k < m_text.size(); ++k) {
            if (m_text[k] == u']' && slashAfterBlanks(m_text, k + 1)) {
                m_scanned = k + 1;
                return m_found = k;
            }
        }
        m_scanned = m_text.size();
        return m_found = kNone;
    }

private:
    std::u16string_view m_text;
    size_t m_scanned = 0;
    size_t m_found = kNone;
};

// Where the reading's word parts start: between the headword's kanji, and before the last う of a
// godan verb, which is its ending and never a long vowel (omou, kayou).
std::vector<size_t> wordPartStarts(const JapaneseLineParts& parts, std::u16string_view kana, const CKanjiTable* kanji) {
    std::vector<size_t> starts;
    if (!parts.reading.empty() && kanji != nullptr) starts = readingBoundaries(*kanji, parts.headword, parts.reading);
    const bool godanU = (wordClassesOfLine(parts.rest) & (word_class::kGodanU | word_class::kGodanTou)) != 0;
    if (godanU && kana.size() >= 2 && kana.back() == u'う') starts.push_back(kana.size() - 1);
    return starts;
}

}  // namespace

// The headword is the shortest start of the line after which either blanks, "[", a reading, "]"
// and blanks before a "/" follow, or just blanks before a "/". Both need the headword to end at a
// blank, and every blank of one run leads to the same character after the run, so each run is
// judged once, by its first blank.
std::optional<JapaneseLineParts> splitJapaneseLine(std::u16string_view line) {
    const std::u16string_view text = untilNul(line);
    CReadingCloser closer(text);
    size_t headEnd = 0;
    while (headEnd < text.size()) {
        if (!isBlank(text[headEnd])) {
            ++headEnd;
            continue;
        }
        const size_t afterBlanks = blanksEnd(text, headEnd);
        if (afterBlanks < text.size() && text[afterBlanks] == u'/') {
            return JapaneseLineParts{text.substr(0, headEnd), {}, text.substr(headEnd)};
        }
        if (afterBlanks < text.size() && text[afterBlanks] == u'[') {
            const size_t close = closer.firstFrom(afterBlanks + 1);
            if (close != kNone) {
                return JapaneseLineParts{text.substr(0, headEnd),
                                         text.substr(afterBlanks + 1, close - afterBlanks - 1),
                                         text.substr(close + 1)};
            }
        }
        headEnd = afterBlanks;
    }
    return std::nullopt;
}

void appendJapaneseLine(std::u16string& result, std::u16string_view line, bool hepburn, const CKanjiTable* kanji) {
    const std::optional<JapaneseLineParts> parts = splitJapaneseLine(line);
    if (!parts) {
        result.append(line);
        return;
    }
    // The romanization takes at most five units per kana with its dot.
    const size_t romanized = 5 * (parts->reading.empty() ? parts->headword.size() : parts->reading.size());
    result.reserve(result.size() + line.size() + parts->reading.size() + romanized + 4);
    result.append(parts->headword);
    result += u" [";
    const std::u16string_view kana = parts->reading.empty() ? parts->headword : parts->reading;
    if (!parts->reading.empty()) {
        result.append(parts->reading);
        result.push_back(u' ');
    }
    if (hepburn) {
        result += hepburnRomaji(kana, wordPartStarts(*parts, kana, kanji));
    } else {
        appendRomanizedKana(result, kana);
    }
    result.push_back(u']');
    result.append(parts->rest);
}

std::u16string renderJapaneseLine(std::u16string_view line, bool hepburn, const CKanjiTable* kanji) {
    std::u16string result;
    appendJapaneseLine(result, line, hepburn, kanji);
    return result;
}

void appendEntry(const CDictionary& store, std::u16string& out, LineNumber line, const ReaderOptions& reader) {
    const std::u16string_view text = store.lineText(line);
    if (text.empty()) return;
    if (store.language() != Chinese) {
        appendJapaneseLine(out, text, reader.hepburnRomaji, &store.kanjiTable());
    } else if (reader.standardPinyin) {
        out += renderStandardPinyinLine(text);
    } else {
        appendPinyinLine(out, text);
    }
}

std::u16string renderEntry(const CDictionary& store, LineNumber line, const ReaderOptions& reader) {
    std::u16string out;
    appendEntry(store, out, line, reader);
    return out;
}

}  // namespace pelux
