// A band's reaction to a mouse movement over a page: from the event to the band's text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "browser/captured_text.h"
#include "browser/pointer_switches.h"
#include "dictionary/dictionary.h"
#include "platform/band_view.h"
#include "platform/document_model.h"

namespace pelux {

// The band text while no dictionary is loaded, with the pointer's position.
std::u16string loadDictionaryPrompt(int32_t x, int32_t y);

// The character at the point chooses the road: the word at the point for characters up to
// U+0100, else the text from the point to the end of its sentence. nullopt when there is no
// text at the point or a tested call failed.
std::optional<CapturedText> captureTextAtPoint(IBodyElement& body, int32_t x, int32_t y);

// The whole road of one event. A hidden band does nothing, not even read the event; without a
// dictionary the band shows the prompt; otherwise the band shows the translation of the text
// under the pointer, which also becomes the element's title when tooltips are on.
void handleMouseMove(const CDictionary& store, IEventObject& event, IBandView& band, const PointerSwitches& switches);

}  // namespace pelux
