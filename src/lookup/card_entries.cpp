#include "lookup/card_entries.h"

#include <algorithm>
#include <span>

#include "dictionary/kanji_table.h"
#include "lookup/line_rendering.h"
#include "lookup/reader_display.h"
#include "text/utf16_cut.h"

namespace pelux {

namespace {

constexpr std::size_t kMaxCardForms = 16;
constexpr std::size_t kMaxCardTags = 16;
constexpr std::size_t kMaxCardReadings = 16;
constexpr std::u16string_view kSenseJoint = u"; ";

std::u16string cut(std::u16string_view text, std::size_t units) { return std::u16string(cutBeforeUnits(text, units)); }

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool allDigits(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

// EDICT's codes are short ASCII words ("v5k-s", "adj-na", "uk"), several joined by commas; an
// explanation in parentheses has blanks or other characters and stays in the text.
bool isTagList(std::u16string_view text) {
    if (text.empty() || text.size() > 40 || allDigits(text)) return false;
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || isAsciiDigit(c) || c == u'-' || c == u',' ||
               c == u'_';
    });
}

// EDICT2 ends each line with its entry's sequence number, "EntL1234567" with an optional "X".
bool isSequenceNumber(std::u16string_view part) {
    if (!part.starts_with(u"EntL")) return false;
    part.remove_prefix(4);
    if (part.ends_with(u'X')) part.remove_suffix(1);
    return allDigits(part);
}

void appendPiece(std::u16string& text, std::u16string_view piece) {
    if (piece.empty()) return;
    if (!text.empty()) text += kSenseJoint;
    text.append(piece);
}

void addTags(std::vector<std::u16string>& tags, std::u16string_view list) {
    while (!list.empty() && tags.size() < kMaxCardTags) {
        const std::size_t comma = list.find(u',');
        const std::u16string_view tag = list.substr(0, comma);
        if (!tag.empty() && std::find(tags.begin(), tags.end(), tag) == tags.end()) tags.emplace_back(tag);
        if (comma == std::u16string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
}

// The definitions after the first "/" split at each "/", blank parts left out.
template <typename Visit>
void forEachPart(std::u16string_view definitions, Visit visit) {
    const std::size_t slash = definitions.find(u'/');
    if (slash == std::u16string_view::npos) return;
    definitions.remove_prefix(slash + 1);
    while (!definitions.empty()) {
        const std::size_t end = definitions.find(u'/');
        const std::u16string_view part = trimmed(definitions.substr(0, end));
        if (!part.empty() && !visit(part)) return;
        if (end == std::u16string_view::npos) break;
        definitions.remove_prefix(end + 1);
    }
}

void addSense(std::vector<CardSense>& senses, CardSense& sense) {
    if (sense.text.empty() && sense.tags.empty()) return;
    if (senses.size() < kMaxCardSenses) {
        sense.text.resize(cutBeforeUnits(sense.text, kMaxCardTextUnits).size());
        senses.push_back(std::move(sense));
    }
    sense = CardSense();
}

// Room for the senses of `definitions` at once, so the list does not grow one by one.
void reserveSenses(std::u16string_view definitions, CardEntry& entry) {
    const std::size_t parts = std::size_t(std::count(definitions.begin(), definitions.end(), u'/'));
    entry.senses.reserve(std::min(parts, kMaxCardSenses));
}

// EDICT: "(v5k,vt) (1) to go/to move/(2) (vi) to come/(P)". Codes in parentheses (or braces) at
// the start of a part are tags; "(1)", "(2)" start a new sense; the parts between belong to the
// sense before them; "(P)" marks a common word.
void readEdictSenses(std::u16string_view definitions, CardEntry& entry) {
    reserveSenses(definitions, entry);
    CardSense sense;
    // The tag groups of one part, read before the sense they belong to is known.
    std::vector<std::u16string_view> groups;
    forEachPart(definitions, [&](std::u16string_view part) {
        if (part == u"(P)") {
            entry.common = true;
            return true;
        }
        if (isSequenceNumber(part)) return true;
        // Tags before a number are the numbered sense's own: "(v5k,vi) (2) to proceed".
        groups.clear();
        while (!part.empty() && (part.front() == u'(' || part.front() == u'{')) {
            const std::size_t close = part.find(part.front() == u'(' ? u')' : u'}');
            if (close == std::u16string_view::npos) break;
            const std::u16string_view group = part.substr(1, close - 1);
            if (allDigits(group) && part.front() == u'(') {
                if (!sense.text.empty()) addSense(entry.senses, sense);
            } else if (isTagList(group)) {
                groups.push_back(group);
            } else {
                break;
            }
            part = trimmed(part.substr(close + 1));
        }
        for (std::u16string_view group : groups) addTags(sense.tags, group);
        // Unnumbered glosses are several words for one sense; each numbered one starts its own.
        if (sense.text.size() < kMaxCardTextUnits) appendPiece(sense.text, part);
        return entry.senses.size() < kMaxCardSenses;
    });
    addSense(entry.senses, sense);
}

// CC-CEDICT: every part is a sense, classifiers ("CL:個|个[ge4]") included.
void readCedictSenses(std::u16string_view definitions, CardEntry& entry) {
    reserveSenses(definitions, entry);
    forEachPart(definitions, [&](std::u16string_view part) {
        entry.senses.push_back(CardSense{cut(part, kMaxCardTextUnits), {}});
        return entry.senses.size() < kMaxCardSenses;
    });
}

void addForm(CardEntry& entry, std::u16string_view form) {
    form = cutBeforeUnits(trimmed(form), kMaxCardLabelUnits);
    if (form.empty() || entry.forms.size() >= kMaxCardForms) return;
    if (std::find(entry.forms.begin(), entry.forms.end(), form) != entry.forms.end()) return;
    entry.forms.emplace_back(form);
}

// "trad simp [pin yin] /definitions/", the pinyin as rendered.
CardEntry chineseEntry(std::u16string_view rendered) {
    CardEntry entry;
    const std::u16string_view line = trimmed(rendered);
    const std::size_t headEnd = line.find(u' ');
    const std::u16string_view traditional = line.substr(0, headEnd);
    std::u16string_view rest = headEnd == std::u16string_view::npos ? std::u16string_view() : trimmed(line.substr(headEnd));
    std::u16string_view simplified = traditional;
    if (!rest.empty() && rest.front() != u'[' && rest.front() != u'/') {
        const std::size_t end = rest.find(u' ');
        simplified = rest.substr(0, end);
        rest = end == std::u16string_view::npos ? std::u16string_view() : trimmed(rest.substr(end));
    }
    addForm(entry, simplified);
    addForm(entry, traditional);
    if (rest.starts_with(u'[')) {
        const std::size_t close = rest.find(u']');
        if (close != std::u16string_view::npos) {
            entry.reading = cut(rest.substr(1, close - 1), kMaxCardLabelUnits);
            rest.remove_prefix(close + 1);
        }
    }
    readCedictSenses(rest, entry);
    return entry;
}

// The stored line gives the headword and the kana; the rendered one the romanization between
// them and the definitions, exactly where the band wrote it.
CardEntry japaneseEntry(std::u16string_view rendered, std::u16string_view stored) {
    CardEntry entry;
    const std::optional<JapaneseLineParts> parts = splitJapaneseLine(stored);
    if (!parts) {
        addForm(entry, trimmed(stored).substr(0, trimmed(stored).find(u' ')));
        return entry;
    }
    std::u16string_view forms = parts->headword;
    while (!forms.empty()) {
        const std::size_t semicolon = forms.find(u';');
        addForm(entry, forms.substr(0, semicolon));
        if (semicolon == std::u16string_view::npos) break;
        forms.remove_prefix(semicolon + 1);
    }
    entry.reading = cut(parts->reading.empty() ? parts->headword : parts->reading, kMaxCardLabelUnits);
    const std::size_t romajiAt = parts->headword.size() + 2 + (parts->reading.empty() ? 0 : parts->reading.size() + 1);
    const std::size_t romajiEnd = rendered.size() >= parts->rest.size() + 1 ? rendered.size() - parts->rest.size() - 1 : 0;
    if (romajiAt <= romajiEnd && rendered.substr(romajiEnd).starts_with(u']')) {
        entry.romaji = cut(rendered.substr(romajiAt, romajiEnd - romajiAt), kMaxCardLabelUnits);
    }
    readEdictSenses(parts->rest, entry);
    return entry;
}

void addReadings(std::vector<CardReading>& readings, CardReading::Kind kind, std::u16string_view list) {
    while (!list.empty() && readings.size() < kMaxCardReadings) {
        const std::size_t blank = list.find(u' ');
        const std::u16string_view reading = list.substr(0, blank);
        if (!reading.empty()) readings.push_back(CardReading{kind, cut(reading, kMaxCardLabelUnits)});
        if (blank == std::u16string_view::npos) break;
        list.remove_prefix(blank + 1);
    }
}

// Unihan's line as the band shows it: " [M: zhōng C: zung1] middle".
void readChineseCharInfo(std::u16string_view info, CardChar& out) {
    constexpr std::u16string_view kMandarin = u"[M: ", kCantonese = u" C: ", kClose = u"]";
    const std::size_t m = info.find(kMandarin);
    const std::size_t c = m == std::u16string_view::npos ? m : info.find(kCantonese, m + kMandarin.size());
    const std::size_t close = c == std::u16string_view::npos ? c : info.find(kClose, c + kCantonese.size());
    if (close == std::u16string_view::npos) {
        out.meanings = cut(trimmed(info), kMaxCardTextUnits);
        return;
    }
    const std::u16string_view mandarin = trimmed(info.substr(m + kMandarin.size(), c - m - kMandarin.size()));
    const std::u16string_view cantonese = trimmed(info.substr(c + kCantonese.size(), close - c - kCantonese.size()));
    if (!mandarin.empty()) out.readings.push_back(CardReading{CardReading::Kind::Mandarin, cut(mandarin, kMaxCardLabelUnits)});
    if (!cantonese.empty()) out.readings.push_back(CardReading{CardReading::Kind::Cantonese, cut(cantonese, kMaxCardLabelUnits)});
    out.meanings = cut(trimmed(info.substr(close + 1)), kMaxCardTextUnits);
}

// KANJIDIC's meanings, "{book} {origin}", joined as the senses are.
std::u16string kanjiMeanings(std::u16string_view info) {
    std::u16string meanings;
    std::size_t at = 0;
    while (meanings.size() < kMaxCardTextUnits) {
        const std::size_t open = info.find(u'{', at);
        if (open == std::u16string_view::npos) break;
        const std::size_t close = info.find(u'}', open + 1);
        if (close == std::u16string_view::npos) break;
        appendPiece(meanings, trimmed(info.substr(open + 1, close - open - 1)));
        at = close + 1;
    }
    if (meanings.empty() && at == 0) meanings = trimmed(info);
    meanings.resize(cutBeforeUnits(meanings, kMaxCardTextUnits).size());
    return meanings;
}

std::optional<int32_t> fact(uint16_t value) { return value == 0 ? std::nullopt : std::optional<int32_t>(value); }

void readKanji(const CDictionary& store, std::u16string_view info, CardChar& out) {
    out.meanings = kanjiMeanings(info);
    const KanjiFacts* facts = store.kanjiTable().find(out.character);
    if (facts == nullptr) return;
    out.readings.reserve(std::min<std::size_t>(kMaxCardReadings, 2 + std::count(facts->onReadings.begin(), facts->onReadings.end(), u' ') +
                                                                      std::count(facts->kunReadings.begin(), facts->kunReadings.end(), u' ')));
    addReadings(out.readings, CardReading::Kind::On, facts->onReadings);
    addReadings(out.readings, CardReading::Kind::Kun, facts->kunReadings);
    out.strokes = fact(facts->strokes);
    out.grade = fact(facts->grade);
    out.jlpt = fact(facts->jlpt);
    out.frequency = fact(facts->frequency);
}

bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void addChars(const CDictionary& store, CardData& card, std::u16string_view matched, const ReaderOptions& reader) {
    card.chars.reserve(std::min(matched.size(), kMaxCardChars));
    for (char16_t character : matched) {
        if (card.chars.size() >= kMaxCardChars) return;
        if (isSurrogate(character)) continue;
        const bool seen = std::any_of(card.chars.begin(), card.chars.end(),
                                      [character](const CardChar& c) { return c.character == character; });
        if (seen) continue;
        const std::u16string_view info = store.charInfo(character);
        if (info.empty()) continue;
        CardChar out;
        out.character = character;
        if (card.japanese) {
            readKanji(store, info, out);
        } else {
            readChineseCharInfo(characterInfoToShow(info, false, reader), out);
        }
        card.chars.push_back(std::move(out));
    }
}

}  // namespace

CardEntry cardEntryOfLine(std::u16string_view rendered, std::u16string_view stored, bool japanese) {
    return japanese ? japaneseEntry(rendered, stored) : chineseEntry(rendered);
}

void addCardEntry(const CDictionary& store, CardData& card, LineNumber line, std::u16string_view rendered,
                  std::u16string_view formLine) {
    if (card.entries.size() >= kMaxCardEntries || rendered.empty()) return;
    CardEntry entry = cardEntryOfLine(rendered, store.lineText(line), card.japanese);
    if (!formLine.empty()) entry.form = cut(formLine, kMaxCardLabelUnits);
    card.entries.push_back(std::move(entry));
}

void addCardChars(const CDictionary& store, CardData& card, const CjkLookupResult& result, std::u16string_view captured,
                  const ReaderOptions& reader) {
    const std::size_t matchedLength = std::min<std::size_t>(std::max(result.wordLength, 0), captured.size());
    const char16_t firstChar = result.firstChar;
    addChars(store, card, matchedLength > 0 ? captured.substr(0, matchedLength) : std::u16string_view(&firstChar, 1),
             reader);
}

}  // namespace pelux
