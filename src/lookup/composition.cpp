#include "lookup/composition.h"

#include <iterator>

#include "lookup/deinflect_choice.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "lookup/compiled_pattern.h"

namespace pelux {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";
const char16_t kJapaneseLinePattern[] = u"{.*?}((\\b)+\\[{.*?}\\])?{(\\b)+/.*}";

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

// "%c %s": a character and its information text.
std::u16string characterWithInfo(char16_t character, std::u16string_view info) {
    std::u16string piece(1, character);
    piece.push_back(u' ');
    piece.append(info);
    return piece;
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
void appendChineseCharacterLine(std::u16string& band, std::u16string_view rendered, size_t i, size_t headLength) {
    CDictionary& store = theDictionary();
    const char16_t original = rendered[i];
    const std::optional<LineNumber> line = firstLineOf(std::u16string_view(&original, 1));
    if (!line) return;
    const std::u16string& stored = store.lineText(*line);
    if (stored.empty()) return;
    band += u"\r\n\t[";
    band.push_back(original);
    band.push_back(u',');
    // A simplified form shorter than the traditional one has no character here: leave it out.
    const size_t simplifiedAt = i + headLength + 1;
    if (simplifiedAt < rendered.size()) band.push_back(rendered[simplifiedAt]);
    band += u"]= ";
    const size_t slash = stored.find(u'/');
    if (slash != std::u16string::npos) band.append(stored, slash);
}

// The line that names a deinflected word's form goes above its entry, in the band and the tooltip.
void prependLine(DisplayText& display, const std::u16string& line) {
    display.bandText = line + std::u16string(kLineEnd) + display.bandText;
    if (!display.tooltipText.empty()) display.tooltipText = line + std::u16string(kLineEnd) + display.tooltipText;
}

}  // namespace

std::u16string renderJapaneseLine(const std::u16string& line) {
    thread_local CompiledPattern pattern(kJapaneseLinePattern);
    if (!pattern.search(line.c_str())) return line;

    const std::u16string_view headword = pattern.group(0, line.c_str());
    const std::u16string_view reading = pattern.group(1, line.c_str());
    const std::u16string_view rest = pattern.group(2, line.c_str());
    std::u16string result(headword);
    result += u" [";
    if (!reading.empty()) {
        result.append(reading);
        result.push_back(u' ');
        result += romanizeKana(reading);
    } else {
        result += romanizeKana(headword);
    }
    result.push_back(u']');
    result.append(rest);
    return result;
}

std::u16string renderEntry(LineNumber line) {
    CDictionary& store = theDictionary();
    const std::u16string& text = store.lineText(line);
    if (text.empty()) return {};
    if (store.m_language == Chinese) return renderPinyinLine(text);
    return renderJapaneseLine(text);
}

DisplayText composeCjkText(const CjkLookupResult& result, bool showSubWords,
                           [[maybe_unused]] const ReaderOptions& reader) {
    const bool japanese = theDictionary().m_language == Japanese;
    DisplayText display;
    if (result.wordLength >= 1) {
        display.tooltipText = renderEntry(result.wordLine);
        display.bandText = display.tooltipText + std::u16string(kLineEnd);
    }
    if (result.wordLength >= 2 && showSubWords) {
        display.bandText = std::u16string(u"(Phrase) ").append(display.bandText);
        for (const SubItem& item : result.subItems) {
            if (japanese) {
                if (item.japaneseInfo.empty()) continue;
                display.bandText += u'\t';
                display.bandText += characterWithInfo(item.character, item.japaneseInfo);
                display.bandText += kLineEnd;
            } else {
                if (!item.chineseLine) continue;
                const std::u16string rendered = renderEntry(*item.chineseLine);
                if (rendered.empty()) continue;
                display.bandText += u'\t';
                display.bandText += rendered;
                display.bandText += kLineEnd;
            }
        }
    }
    if (result.deinflected) prependLine(display, formLine(*result.deinflected));
    const std::u16string header =
        characterHeader(result.firstChar, japanese ? std::u16string_view(result.firstCharRomaji) : std::u16string_view());
    if (display.tooltipText.empty()) display.tooltipText = header + result.firstCharInfo;
    display.bandText += header + result.firstCharInfo;
    return display;
}

DisplayText composeEnglishText(const EnglishLookupResult& result, bool showSubWords,
                               [[maybe_unused]] const ReaderOptions& reader) {
    CDictionary& store = theDictionary();
    const bool japanese = store.m_language == Japanese;
    DisplayText display;
    display.bandText = result.label;
    for (LineNumber line : result.lines) {
        const std::u16string rendered = renderEntry(line);
        display.tooltipText.append(rendered, 0, rendered.find(u'/'));
        display.bandText += u": ";
        display.bandText += rendered;

        const size_t headLength = rendered.find(u' ');
        if (headLength != std::u16string::npos && headLength > 1 && showSubWords) {
            for (size_t i = 0; i < headLength; ++i) {
                if (!japanese) {
                    appendChineseCharacterLine(display.bandText, rendered, i, headLength);
                    continue;
                }
                const std::u16string& info = store.charInfo(rendered[i]);
                if (info.empty()) continue;
                display.bandText += u"\r\n\t";
                display.bandText += characterWithInfo(rendered[i], info);
            }
        }
        display.bandText += kLineEnd;
    }
    return display;
}

}  // namespace pelux
