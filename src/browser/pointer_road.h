// The lookup and composition of one pointer event, once the text under the pointer is captured.
#pragma once

#include "browser/captured_text.h"
#include "dictionary/dictionary.h"
#include "lookup/display_text.h"
#include "lookup/reader_options.h"

namespace pelux {

// Looks the captured text up on its road (English word, or longest Chinese/Japanese word) in the
// store and composes the band and tooltip texts. The store must be loaded.
DisplayText translateCapturedText(const CDictionary& store, const CapturedText& captured, bool showSubWords,
                                  const ReaderOptions& reader = {});

// The capture a pointer event makes when `text` is the text under the pointer: its first character
// chooses the road. An empty text captures nothing (firstChar 0, empty text).
CapturedText captureFromText(std::u16string text);

}  // namespace pelux
