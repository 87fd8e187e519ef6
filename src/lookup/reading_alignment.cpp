#include "lookup/reading_alignment.h"

#include <string>

#include "dictionary/kanji_table.h"
#include "text/kana_chars.h"

namespace pelux {

namespace {

// Far beyond a real headword; keeps a hostile line from making the search long.
constexpr size_t kMaxHeadwordLength = 12;
constexpr size_t kMaxTries = 4096;

bool isKana(char16_t c) { return isHiraganaLetter(c) || isKatakanaLetter(c) || c == u'ー'; }

char16_t toHiragana(char16_t c) { return c >= 0x30A1 && c <= 0x30F6 ? char16_t(c - 0x60) : c; }

// The voiced kana of a kana that takes a dakuten (か → が), or 0.
char16_t voiced(char16_t c) {
    constexpr std::u16string_view kPlain = u"かきくけこさしすせそたちつてとはひふへほ";
    constexpr std::u16string_view kVoiced = u"がぎぐげござじずぜぞだぢづでどばびぶべぼ";
    const size_t at = kPlain.find(c);
    return at == std::u16string_view::npos ? 0 : kVoiced[at];
}

// Every spelling a kanji's reading may take inside a word.
std::vector<std::u16string> spellingsOf(const KanjiFacts& facts) {
    std::vector<std::u16string> spellings;
    const auto add = [&spellings](std::u16string reading) {
        if (reading.empty()) return;
        if (const char16_t v = voiced(reading.front()); v != 0) spellings.push_back(std::u16string(1, v) + reading.substr(1));
        if (reading.size() >= 2 && std::u16string_view(u"つくちきる").find(reading.back()) != std::u16string_view::npos)
            spellings.push_back(reading.substr(0, reading.size() - 1) + u"っ");
        spellings.push_back(std::move(reading));
    };
    for (const std::u16string* readings : {&facts.onReadings, &facts.kunReadings}) {
        size_t start = 0;
        while (start < readings->size()) {
            size_t end = readings->find(u' ', start);
            if (end == std::u16string::npos) end = readings->size();
            std::u16string reading;
            std::u16string whole;
            bool beforeDot = true;
            for (char16_t c : std::u16string_view(*readings).substr(start, end - start)) {
                if (c == u'-') continue;
                if (c == u'.') {
                    beforeDot = false;
                    continue;
                }
                if (beforeDot) reading.push_back(toHiragana(c));
                whole.push_back(toHiragana(c));
            }
            if (whole != reading) add(whole);
            add(reading);
            start = end + 1;
        }
    }
    return spellings;
}

class CAligner {
public:
    CAligner(std::u16string_view headword, std::u16string_view reading) : m_headword(headword), m_reading(reading) {
        for (char16_t c : headword) {
            // 々 repeats the kanji before it: 人々 is ひと|びと.
            if (c == u'々' && !m_spellings.empty()) {
                m_spellings.push_back(m_spellings.back());
                continue;
            }
            const KanjiFacts* facts = theKanjiTable().find(c);
            m_spellings.push_back(facts != nullptr ? spellingsOf(*facts) : std::vector<std::u16string>());
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
            for (const std::u16string& spelling : m_spellings[inHeadword]) {
                if (m_reading.substr(inReading).starts_with(spelling) && align(inHeadword + 1, inReading + spelling.size()))
                    return true;
            }
        }
        if (inHeadword > 0) m_starts.pop_back();
        return false;
    }

    std::vector<size_t> starts() const { return m_starts; }

private:
    std::u16string_view m_headword;
    std::u16string_view m_reading;
    std::vector<std::vector<std::u16string>> m_spellings;
    std::vector<size_t> m_starts;
    size_t m_tries = 0;
};

}  // namespace

std::vector<size_t> readingBoundaries(std::u16string_view headword, std::u16string_view reading) {
    if (headword.size() > kMaxHeadwordLength || theKanjiTable().size() == 0) return {};
    bool anyKanji = false;
    for (char16_t c : headword) anyKanji = anyKanji || !isKana(c);
    if (!anyKanji) return {};
    CAligner aligner(headword, reading);
    if (!aligner.align(0, 0)) return {};
    return aligner.starts();
}

}  // namespace pelux
