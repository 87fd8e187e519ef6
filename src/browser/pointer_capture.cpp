#include "browser/pointer_capture.h"

#include <cstdio>

#include "browser/pointer_road.h"
#include "dictionary/dictionary.h"

namespace pelux {

std::u16string loadDictionaryPrompt(int32_t x, int32_t y) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "<---- Please load dictionary for this window.    %d %d",
                  static_cast<int>(x), static_cast<int>(y));
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

std::optional<CapturedText> captureTextAtPoint(IBodyElement& body, int32_t x, int32_t y) {
    std::unique_ptr<ITextRange> range = body.createTextRange();
    if (!range || !range->moveToPoint(x, y)) return std::nullopt;
    const std::optional<bool> expanded = range->expand(kUnitCharacter);
    if (!expanded || !*expanded) return std::nullopt;
    const std::optional<std::u16string> character = range->text();
    if (!character || character->empty()) return std::nullopt;

    CapturedText captured;
    captured.firstChar = (*character)[0];
    captured.isEnglish = isEnglishRoad(captured.firstChar);
    if (captured.isEnglish) {
        if (!range->moveToPoint(x, y) || !range->expand(kUnitWord)) return std::nullopt;
    } else {
        std::unique_ptr<ITextRange> sentence = body.createTextRange();
        if (!sentence || !sentence->moveToPoint(x, y) || !sentence->expand(kUnitSentence) ||
            !range->setEndPoint(kEndToEnd, *sentence)) {
            return std::nullopt;
        }
    }
    captured.text = range->text().value_or(std::u16string());
    return captured;
}

void handleMouseMove(const CDictionary& store, IEventObject& event, IBandView& band, const PointerSwitches& switches) {
    if (!band.isVisible()) return;
    const std::optional<int32_t> x = event.clientX();
    const std::optional<int32_t> y = event.clientY();
    IElement* element = event.srcElement();
    if (!x || !y || element == nullptr) return;

    // Held across the test and the lookup so that no other thread starts a load between them;
    // a load on this thread that pumps this event already holds it.
    DictionaryLock lock(store.mutex());
    if (!store.isLoaded()) {
        band.textArea().setText(loadDictionaryPrompt(*x, *y));
        return;
    }
    IDocument* document = element->document();
    if (document == nullptr) return;
    IBodyElement* body = document->body();
    if (body == nullptr) return;
    const std::optional<CapturedText> captured = captureTextAtPoint(*body, *x, *y);
    if (!captured) return;

    std::optional<CardData> card;
    const DisplayText shown = translateCapturedText(store, *captured, switches.showSubWords, switches.reader,
                                                    switches.withCard ? &card : nullptr);
    band.textArea().setText(shown.bandText);
    band.noteMatchedLength(shown.matchedLength);
    if (card) band.noteCard(std::move(*card));
    if (switches.useToolTips) element->setAttribute(kTitleAttribute, shown.tooltipText, 1);
}

}  // namespace pelux
