#include "browser/pointer_road.h"

#include "dictionary/dictionary.h"
#include "lookup/cjk_lookup.h"
#include "lookup/composition.h"
#include "lookup/english_lookup.h"

namespace pelux {

DisplayText translateCapturedText(const CDictionary& store, const CapturedText& captured, bool showSubWords,
                                  const ReaderOptions& reader, std::optional<CardData>* card) {
    DictionaryLock lock(store.mutex());
    if (captured.isEnglish) {
        const EnglishLookupResult found = lookupEnglishWord(store, captured.text);
        DisplayText shown = composeEnglishText(store, found, showSubWords, reader);
        if (!found.lines.empty()) shown.matchedLength = static_cast<int32_t>(captured.text.size());
        return shown;
    }
    const CjkLookupResult found = lookupCjkText(store, captured.text, captured.firstChar, showSubWords, reader);
    CardData* filled = card != nullptr ? &card->emplace() : nullptr;
    DisplayText shown = composeCjkText(store, found, showSubWords, reader, filled);
    if (filled != nullptr) addCardChars(store, *filled, found, captured.text, reader);
    shown.matchedLength = found.wordLength;
    return shown;
}

CapturedText captureFromText(std::u16string text) {
    CapturedText captured;
    if (text.empty()) return captured;
    captured.firstChar = text.front();
    captured.isEnglish = isEnglishRoad(captured.firstChar);
    captured.text = std::move(text);
    return captured;
}

}  // namespace pelux
