#include "lookup/cjk_lookup.h"

#include <algorithm>

#include "lookup/deinflect_choice.h"
#include "lookup/kana_romaji.h"

namespace pelux {

std::optional<LineNumber> firstLineOf(std::u16string_view key) {
    const CLineSpan lines = theDictionary().entriesFor(key);
    if (lines.empty()) return std::nullopt;
    return lines.front();
}

CjkLookupResult lookupCjkText(std::u16string_view captured, char16_t firstChar, bool showSubWords,
                              const ReaderOptions& reader) {
    CDictionary& store = theDictionary();
    DictionaryLock lock(store.mutex());
    const bool japanese = store.language() == Japanese;
    CjkLookupResult result;

    const size_t longest = std::min<size_t>(captured.size(), kMaxWordLength);
    for (size_t length = longest; length >= 1; --length) {
        const CLineSpan lines = store.entriesFor(captured.substr(0, length));
        if (!lines.empty()) {
            result.wordLength = static_cast<int32_t>(length);
            result.wordLine = lines.front();
            result.wordLines = lines;
            break;
        }
    }
    if (reader.deinflect && japanese) {
        result.deinflected = findDeinflectedWord(captured, static_cast<size_t>(result.wordLength));
        if (result.deinflected) {
            result.wordLength = static_cast<int32_t>(result.deinflected->surface.size());
            result.wordLine = result.deinflected->line;
            const CLineSpan formLines = store.entriesFor(result.deinflected->dictionaryForm);
            result.wordLines.assign(formLines.begin(), formLines.end());
        }
    }

    if (result.wordLength >= 2 && showSubWords) {
        for (int32_t p = 0; p < result.wordLength; ++p) {
            SubItem item;
            item.character = captured[static_cast<size_t>(p)];
            if (japanese) {
                item.japaneseInfo = store.charInfo(item.character);
            } else {
                item.chineseLine = firstLineOf(std::u16string_view(&item.character, 1));
            }
            result.subItems.push_back(std::move(item));
        }
    }

    result.firstChar = firstChar;
    result.firstCharInfo = store.charInfo(firstChar);
    if (japanese) result.firstCharRomaji = kanaRomaji(firstChar);
    return result;
}

}  // namespace pelux
