#include "browser/pointer_road.h"

#include "dictionary/dictionary.h"
#include "lookup/cjk_lookup.h"
#include "lookup/composition.h"
#include "lookup/english_lookup.h"

namespace pelux {

DisplayText translateCapturedText(const CapturedText& captured, bool showSubWords, const ReaderOptions& reader) {
    DictionaryLock lock(theDictionary().mutex());
    if (captured.isEnglish) return composeEnglishText(lookupEnglishWord(captured.text), showSubWords, reader);
    return composeCjkText(lookupCjkText(captured.text, captured.firstChar, showSubWords, reader), showSubWords, reader);
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
