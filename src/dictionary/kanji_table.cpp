#include "dictionary/kanji_table.h"

#include <algorithm>

#include "text/kana_chars.h"

namespace pelux {

namespace {

// Code units of one flattened entry before its two readings: code (two units), strokes, grade,
// frequency, JLPT level.
constexpr std::size_t kFixedUnits = 6;


// "S11" gives 11 for the letter S; a field of another letter, or not all digits, gives nothing.
std::optional<uint16_t> numberField(std::u16string_view field, char16_t letter) {
    if (field.size() < 2 || field.size() > 6 || field[0] != letter) return std::nullopt;
    uint32_t value = 0;
    for (char16_t c : field.substr(1)) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + uint32_t(c - u'0');
    }
    return value > 0xFFFF ? std::nullopt : std::optional<uint16_t>(uint16_t(value));
}

void appendReading(std::u16string& readings, std::u16string_view reading) {
    if (!readings.empty()) readings.push_back(u' ');
    readings.append(reading);
}

void setOnce(uint16_t& field, std::optional<uint16_t> value) {
    if (value && field == 0) field = *value;
}

// The voiced kana of a kana that takes a dakuten (か → が), or 0.
char16_t voiced(char16_t c) {
    constexpr std::u16string_view kPlain = u"かきくけこさしすせそたちつてとはひふへほ";
    constexpr std::u16string_view kVoiced = u"がぎぐげござじずぜぞだぢづでどばびぶべぼ";
    const std::size_t at = kPlain.find(c);
    return at == std::u16string_view::npos ? 0 : kVoiced[at];
}

void appendSpelling(std::u16string& spellings, std::u16string_view spelling) {
    if (!spellings.empty()) spellings.push_back(u' ');
    spellings.append(spelling);
}

// One reading's spellings: voiced first, then ending in っ, then as written.
void appendSpellingsOfReading(std::u16string& spellings, const std::u16string& reading) {
    if (reading.empty()) return;
    if (const char16_t v = voiced(reading.front()); v != 0) {
        appendSpelling(spellings, std::u16string_view(&v, 1));
        spellings.append(std::u16string_view(reading).substr(1));
    }
    if (reading.size() >= 2 && std::u16string_view(u"つくちきる").find(reading.back()) != std::u16string_view::npos) {
        appendSpelling(spellings, std::u16string_view(reading).substr(0, reading.size() - 1));
        spellings.push_back(u'っ');
    }
    appendSpelling(spellings, reading);
}

// Appends the spellings of every reading in `readings`, the okurigana's whole form before the
// stem alone.
void appendSpellingsOfReadings(std::u16string& spellings, std::u16string_view readings) {
    std::u16string stem;
    std::u16string whole;
    std::size_t start = 0;
    while (start < readings.size()) {
        std::size_t end = readings.find(u' ', start);
        if (end == std::u16string_view::npos) end = readings.size();
        stem.clear();
        whole.clear();
        bool beforeDot = true;
        for (char16_t c : readings.substr(start, end - start)) {
            if (c == u'-') continue;
            if (c == u'.') {
                beforeDot = false;
                continue;
            }
            if (beforeDot) stem.push_back(toHiragana(c));
            whole.push_back(toHiragana(c));
        }
        if (whole != stem) appendSpellingsOfReading(spellings, whole);
        appendSpellingsOfReading(spellings, stem);
        start = end + 1;
    }
}

}  // namespace

void CKanjiTable::addLine(char32_t code, std::u16string_view line) {
    KanjiFacts facts;
    facts.code = code;
    // The fields before the meanings; the name readings that follow "T1" or "T2" are not the
    // kanji's own.
    const std::u16string_view fields = line.substr(0, line.find(u'{'));
    std::size_t at = fields.find(u' ');  // past the character itself
    while (at != std::u16string_view::npos && at < fields.size()) {
        const std::size_t start = at + 1;
        at = fields.find(u' ', start);
        const std::u16string_view field = fields.substr(start, at == std::u16string_view::npos ? at : at - start);
        if (field.empty()) continue;
        if (field == u"T1" || field == u"T2") break;
        setOnce(facts.strokes, numberField(field, u'S'));
        setOnce(facts.grade, numberField(field, u'G'));
        setOnce(facts.frequency, numberField(field, u'F'));
        setOnce(facts.jlpt, numberField(field, u'J'));
        if (isKatakanaLetter(field[0])) appendReading(facts.onReadings, field);
        if (isHiraganaLetter(field[0]) || (field[0] == u'-' && field.size() > 1 && isHiraganaLetter(field[1])))
            appendReading(facts.kunReadings, field);
    }
    m_facts.push_back(std::move(facts));
}

void CKanjiTable::clear() {
    m_facts.clear();
    m_spellingText.clear();
    m_spellingEnds.clear();
}

void CKanjiTable::finish() {
    std::stable_sort(m_facts.begin(), m_facts.end(), [](const KanjiFacts& a, const KanjiFacts& b) { return a.code < b.code; });
    m_facts.erase(std::unique(m_facts.begin(), m_facts.end(),
                              [](const KanjiFacts& a, const KanjiFacts& b) { return a.code == b.code; }),
                  m_facts.end());
    spellAll();
}

void CKanjiTable::spellAll() {
    m_spellingText.clear();
    m_spellingEnds.clear();
    m_spellingEnds.reserve(m_facts.size());
    std::u16string spellings;
    for (const KanjiFacts& facts : m_facts) {
        spellings.clear();
        appendSpellingsOfReadings(spellings, facts.onReadings);
        appendSpellingsOfReadings(spellings, facts.kunReadings);
        m_spellingText.append(spellings);
        m_spellingEnds.push_back(uint32_t(m_spellingText.size()));
    }
}

const KanjiFacts* CKanjiTable::find(char32_t code) const {
    const auto found = std::lower_bound(m_facts.begin(), m_facts.end(), code,
                                        [](const KanjiFacts& facts, char32_t c) { return facts.code < c; });
    return found != m_facts.end() && found->code == code ? &*found : nullptr;
}

std::u16string_view CKanjiTable::spellingsOf(char32_t code) const {
    const KanjiFacts* facts = find(code);
    if (facts == nullptr) return {};
    const std::size_t i = std::size_t(facts - m_facts.data());
    if (i >= m_spellingEnds.size()) return {};
    const uint32_t start = i == 0 ? 0 : m_spellingEnds[i - 1];
    return std::u16string_view(m_spellingText).substr(start, m_spellingEnds[i] - start);
}

std::u16string CKanjiTable::flatten() const {
    std::u16string flat;
    for (const KanjiFacts& facts : m_facts) {
        flat.push_back(char16_t(facts.code & 0xFFFF));
        flat.push_back(char16_t(facts.code >> 16));
        flat.push_back(char16_t(facts.strokes));
        flat.push_back(char16_t(facts.grade));
        flat.push_back(char16_t(facts.frequency));
        flat.push_back(char16_t(facts.jlpt));
        for (const std::u16string* readings : {&facts.onReadings, &facts.kunReadings}) {
            flat.push_back(char16_t(std::min<std::size_t>(readings->size(), 0xFFFF)));
            flat.append(readings->substr(0, 0xFFFF));
        }
    }
    return flat;
}

namespace {

// Reads the entries of a flat run in order; false at the first malformed one.
template <typename Visit>
bool readFlat(std::u16string_view flat, Visit visit) {
    std::size_t at = 0;
    char32_t previous = 0;
    while (at < flat.size()) {
        if (flat.size() - at < kFixedUnits) return false;
        KanjiFacts facts;
        facts.code = char32_t(flat[at]) | (char32_t(flat[at + 1]) << 16);
        facts.strokes = flat[at + 2];
        facts.grade = flat[at + 3];
        facts.frequency = flat[at + 4];
        facts.jlpt = flat[at + 5];
        at += kFixedUnits;
        for (std::u16string* readings : {&facts.onReadings, &facts.kunReadings}) {
            if (at >= flat.size() || flat.size() - at - 1 < flat[at]) return false;
            readings->assign(flat.substr(at + 1, flat[at]));
            at += 1 + flat[at];
        }
        // Strictly ascending codes: finds rely on it.
        if (facts.code <= previous && previous != 0) return false;
        previous = facts.code;
        visit(std::move(facts));
    }
    return true;
}

}  // namespace

bool CKanjiTable::isWellFormed(std::u16string_view flat) {
    return readFlat(flat, [](KanjiFacts&&) {});
}

bool CKanjiTable::adopt(std::u16string_view flat) {
    clear();
    if (readFlat(flat, [this](KanjiFacts&& facts) { m_facts.push_back(std::move(facts)); })) {
        spellAll();
        return true;
    }
    clear();
    return false;
}

}  // namespace pelux
