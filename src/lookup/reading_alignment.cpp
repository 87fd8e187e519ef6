#include "lookup/reading_alignment.h"

#include <algorithm>

#include "dictionary/kanji_table.h"
#include "text/kana_chars.h"

namespace pelux {

namespace {

// Far beyond a real headword; keeps a hostile line from making the search long.
constexpr size_t kMaxHeadwordLength = 12;
constexpr size_t kMaxTries = 4096;

bool isKana(char16_t c) { return isHiraganaLetter(c) || isKatakanaLetter(c) || c == u'ー'; }

class CAligner {
public:
    CAligner(const CKanjiTable& kanji, std::u16string_view headword, std::u16string_view reading)
        : m_headword(headword), m_reading(reading) {
        for (char16_t c : headword) {
            // 々 repeats the kanji before it: 人々 is ひと|びと.
            m_spellings.push_back(c == u'々' && !m_spellings.empty() ? m_spellings.back() : kanji.spellingsOf(c));
        }
    }

    bool align(size_t inHeadword, size_t inReading) {
        if (++m_tries > kMaxTries) return false;
        if (inHeadword == m_headword.size()) return inReading == m_reading.size();
        if (inHeadword > 0) m_starts.push_back(inReading);
        const char16_t c = m_headword[inHeadword];
        if (isKana(c)) {
            if (inReading < m_reading.size() && toHiragana(m_reading[inReading]) == toHiragana(c) &&
                align(inHeadword + 1, inReading + 1))
                return true;
        } else {
            const std::u16string_view spellings = m_spellings[inHeadword];
            for (size_t start = 0; start < spellings.size();) {
                const size_t end = std::min(spellings.find(u' ', start), spellings.size());
                const std::u16string_view spelling = spellings.substr(start, end - start);
                if (m_reading.substr(inReading).starts_with(spelling) && align(inHeadword + 1, inReading + spelling.size()))
                    return true;
                start = end + 1;
            }
        }
        if (inHeadword > 0) m_starts.pop_back();
        return false;
    }

    std::vector<size_t> starts() const { return m_starts; }

private:
    std::u16string_view m_headword;
    std::u16string_view m_reading;
    std::vector<std::u16string_view> m_spellings;  // of each headword character, as the table gives them
    std::vector<size_t> m_starts;
    size_t m_tries = 0;
};

}  // namespace

std::vector<size_t> readingBoundaries(const CKanjiTable& kanji, std::u16string_view headword,
                                      std::u16string_view reading) {
    if (headword.size() > kMaxHeadwordLength || kanji.size() == 0) return {};
    bool anyKanji = false;
    for (char16_t c : headword) anyKanji = anyKanji || !isKana(c);
    if (!anyKanji) return {};
    CAligner aligner(kanji, headword, reading);
    if (!aligner.align(0, 0)) return {};
    return aligner.starts();
}

}  // namespace pelux
