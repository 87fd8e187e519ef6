// The lookup and composition of one pointer event, once the text under the pointer is captured.
#pragma once

#include <optional>

#include "browser/captured_text.h"
#include "dictionary/dictionary.h"
#include "lookup/card_entries.h"
#include "lookup/display_text.h"
#include "lookup/reader_options.h"

namespace pelux {

// Looks the captured text up on its road (English word, or longest Chinese/Japanese word) in the
// store and composes the band and tooltip texts. The store must be loaded. With `card`, a
// Chinese or Japanese lookup also fills it with the same entries as data.
DisplayText translateCapturedText(const CDictionary& store, const CapturedText& captured, bool showSubWords,
                                  const ReaderOptions& reader = {}, std::optional<CardData>* card = nullptr);

// The capture a pointer event makes when `text` is the text under the pointer: its first character
// chooses the road. An empty text captures nothing (firstChar 0, empty text).
CapturedText captureFromText(std::u16string text);

}  // namespace pelux
