#include "lookup/composition.h"

#include <iterator>
#include <span>

#include "lookup/deinflect_choice.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "lookup/entry_ranking.h"
#include "lookup/reader_display.h"
#include "lookup/standard_pinyin.h"

namespace pelux {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

std::u16string hex(uint32_t value) {
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    char16_t digits[8];
    size_t count = 0;
    do {
        digits[count++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0 && count < 8);
    return std::u16string(std::make_reverse_iterator(digits + count), std::make_reverse_iterator(digits));
}

// "%c %s": a character and its information text, added to `out`.
void appendCharacterWithInfo(std::u16string& out, char16_t character, std::u16string_view info) {
    out.push_back(character);
    out.push_back(u' ');
    out.append(info);
}

// "(%c = 0x%X) ", or "(%c = 0x%X [%s]) " when the character has a romanization.
std::u16string characterHeader(char16_t character, std::u16string_view romaji) {
    std::u16string header = u"(";
    header.push_back(character);
    header += u" = 0x";
    header += hex(character);
    if (!romaji.empty()) {
        header += u" [";
        header.append(romaji);
        header.push_back(u']');
    }
    header += u") ";
    return header;
}

// The Chinese sub-word line of the English display: traditional and simplified character, then
// the definitions of the character's first stored line.
void appendChineseCharacterLine(const CDictionary& store, std::u16string& band, std::u16string_view rendered, size_t i,
                                size_t headLength, bool standardPinyin) {
    const char16_t original = rendered[i];
    const std::optional<LineNumber> line = firstLineOf(store, std::u16string_view(&original, 1));
    if (!line) return;
    const std::u16string_view stored = store.lineText(*line);
    if (stored.empty()) return;
    band += u"\r\n\t[";
    band.push_back(original);
    band.push_back(u',');
    // A simplified form shorter than the traditional one has no character here: leave it out.
    const size_t simplifiedAt = i + headLength + 1;
    if (simplifiedAt < rendered.size()) band.push_back(rendered[simplifiedAt]);
    band += u"]= ";
    const size_t slash = stored.find(u'/');
    if (slash == std::u16string::npos) return;
    const std::u16string_view definitions = std::u16string_view(stored).substr(slash);
    if (standardPinyin) {
        band += standardPinyinDefinitions(definitions);
    } else {
        band.append(definitions);
    }
}

// The line that names a deinflected word's form goes above its entry, in the band and the tooltip.
void prependLine(DisplayText& display, const std::u16string& line) {
    display.bandText = line + std::u16string(kLineEnd) + display.bandText;
    if (!display.tooltipText.empty()) display.tooltipText = line + std::u16string(kLineEnd) + display.tooltipText;
}

}  // namespace

DisplayText composeCjkText(const CDictionary& store, const CjkLookupResult& result, bool showSubWords,
                           const ReaderOptions& reader, CardData* card) {
    const bool japanese = store.language() == Japanese;
    if (card != nullptr) card->japanese = japanese;
    DisplayText display;
    const bool readingsShown = reader.allEntries && !result.readings.empty();
    const std::u16string form = result.deinflected && !readingsShown ? formLine(*result.deinflected) : std::u16string();
    if (readingsShown) {
        std::u16string rendered;
        for (const ReadingEntry& entry : result.readings) {
            rendered.assign(entry.formLine);
            if (!rendered.empty()) rendered += kLineEnd;
            const std::size_t entryAt = rendered.size();
            appendEntry(store, rendered, entry.line, reader);
            if (card != nullptr) addCardEntry(store, *card, entry.line, std::u16string_view(rendered).substr(entryAt), entry.formLine);
            dropLineEnd(rendered);
            if (!display.tooltipText.empty()) display.tooltipText += kLineEnd;
            display.tooltipText += rendered;
            display.bandText += rendered;
            display.bandText += kLineEnd;
        }
    } else if (result.wordLength >= 1) {
        const LineList ranked = reader.allEntries ? rankedStoreLines(store, result.wordLines, kMaxEntriesPerWord) : LineList();
        const std::span<const LineNumber> shown =
            reader.allEntries ? std::span<const LineNumber>(ranked) : std::span<const LineNumber>(&result.wordLine, 1);
        std::u16string rendered;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            rendered.clear();
            appendEntry(store, rendered, shown[i], reader);
            // The form line stands once above the entries, so it belongs to the first.
            if (card != nullptr) addCardEntry(store, *card, shown[i], rendered, i == 0 ? std::u16string_view(form) : u"");
            if (reader.allEntries) dropLineEnd(rendered);
            if (!display.tooltipText.empty()) display.tooltipText += kLineEnd;
            display.tooltipText += rendered;
            display.bandText += rendered;
            display.bandText += kLineEnd;
        }
    }
    if (result.wordLength >= 2 && showSubWords) {
        display.bandText = std::u16string(u"(Phrase) ").append(display.bandText);
        for (const SubItem& item : result.subItems) {
            if (japanese) {
                if (item.japaneseInfo.empty()) continue;
                display.bandText += u'\t';
                appendCharacterWithInfo(display.bandText, item.character, item.japaneseInfo);
                display.bandText += kLineEnd;
            } else {
                if (!item.chineseLine) continue;
                const size_t before = display.bandText.size();
                display.bandText += u'\t';
                appendEntry(store, display.bandText, *item.chineseLine, reader);
                if (display.bandText.size() == before + 1) {
                    display.bandText.resize(before);  // a line without text gives no sub-word line
                    continue;
                }
                display.bandText += kLineEnd;
            }
        }
    }
    if (!form.empty()) prependLine(display, form);
    const std::u16string romaji = characterRomajiToShow(result.firstChar, result.firstCharRomaji, reader);
    const std::u16string header = characterHeader(result.firstChar, japanese ? std::u16string_view(romaji) : std::u16string_view());
    const std::u16string info = characterInfoToShow(result.firstCharInfo, japanese, reader);
    if (display.tooltipText.empty()) display.tooltipText = header + info;
    display.bandText += header + info;
    return display;
}

DisplayText composeEnglishText(const CDictionary& store, const EnglishLookupResult& result, bool showSubWords,
                               const ReaderOptions& reader) {
    const bool japanese = store.language() == Japanese;
    DisplayText display;
    display.bandText = result.label;
    const LineList ranked = reader.allEntries ? rankedStoreLines(store, result.lines, kMaxEnglishEntries) : LineList();
    // Entries are rendered straight into the band: a word can have hundreds of them.
    std::u16string& band = display.bandText;
    std::u16string head;
    const std::span<const LineNumber> shown = reader.allEntries ? std::span<const LineNumber>(ranked)
                                                                : std::span<const LineNumber>(result.lines);
    for (size_t n = 0; n < shown.size(); ++n) {
        // A common word has hundreds of lines spread over the whole text: fetch ahead.
        if (n + 8 < shown.size()) store.prefetchLine(shown[n + 8], false);
        if (n + 4 < shown.size()) store.prefetchLine(shown[n + 4], true);
        const LineNumber line = shown[n];
        band += u": ";
        const size_t entryAt = band.size();
        appendEntry(store, band, line, reader);
        if (reader.allEntries) dropLineEnd(band, entryAt);
        const std::u16string_view rendered = std::u16string_view(band).substr(entryAt);
        display.tooltipText.append(rendered.substr(0, rendered.find(u'/')));

        const size_t headLength = rendered.find(u' ');
        if (headLength != std::u16string::npos && headLength > 1 && showSubWords) {
            // The character lines read the head and the simplified form after it while the band grows.
            head.assign(rendered.substr(0, 2 * headLength + 1));
            for (size_t i = 0; i < headLength; ++i) {
                if (!japanese) {
                    appendChineseCharacterLine(store, band, head, i, headLength, reader.standardPinyin);
                    continue;
                }
                const std::u16string_view info = store.charInfo(head[i]);
                if (info.empty()) continue;
                band += u"\r\n\t";
                appendCharacterWithInfo(band, head[i], info);
            }
        }
        band += kLineEnd;
    }
    return display;
}

}  // namespace pelux
