// What KANJIDIC says of each kanji beyond the character line's text: its on and kun readings,
// stroke count, school grade, frequency rank and JLPT level. The Japanese load fills it from the
// same kanjidic.uni lines as the per-character texts, which stay as they are; the prepared image
// carries it as one flat run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelux {

struct KanjiFacts {
    char32_t code = 0;
    uint16_t strokes = 0;    // S; 0 when the line gives none
    uint16_t grade = 0;      // G
    uint16_t frequency = 0;  // F, the rank among the 2,500 commonest
    uint16_t jlpt = 0;       // J
    // The readings as KANJIDIC writes them, separated by spaces: on in katakana (コウ オウ), kun
    // in hiragana with "." before the okurigana and "-" for a prefix or suffix (き こ-).
    std::u16string onReadings;
    std::u16string kunReadings;
};

class CKanjiTable {
public:
    void clear();
    // Reads one kanjidic.uni line of the character `code`.
    void addLine(char32_t code, std::u16string_view line);
    // Orders what addLine gathered; of several lines of one code the first counts.
    void finish();
    // The facts of `code`, or none.
    const KanjiFacts* find(char32_t code) const;
    std::size_t size() const { return m_facts.size(); }
    // Every spelling the readings of `code` may take inside a word, in hiragana and separated by
    // spaces: each reading with and without its okurigana, voiced as in 手紙 てがみ, and ending in
    // っ as in 学校 がっこう. Empty for a code the table does not know. Worked out once, when the
    // table is filled, as every Hepburn line reads them.
    std::u16string_view spellingsOf(char32_t code) const;

    // The whole table as one run of code units, and back; adopt leaves the table empty and says
    // false when the run is malformed.
    std::u16string flatten() const;
    bool adopt(std::u16string_view flat);
    static bool isWellFormed(std::u16string_view flat);

private:
    void spellAll();

    std::vector<KanjiFacts> m_facts;
    // The spellings of m_facts[i] are m_spellingText[m_spellingEnds[i - 1], m_spellingEnds[i]).
    std::u16string m_spellingText;
    std::vector<uint32_t> m_spellingEnds;
};

}  // namespace pelux
