// Turns lookup results into the band text and the tooltip text.
#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary.h"
#include "lookup/card_entries.h"
#include "lookup/cjk_lookup.h"
#include "lookup/display_text.h"
#include "lookup/english_lookup.h"
#include "lookup/line_rendering.h"
#include "lookup/reader_options.h"

namespace pelux {

// Both compositions read `store`; the caller holds its lock. With `card`, the Chinese or Japanese
// entries shown also go on it as data.
DisplayText composeCjkText(const CDictionary& store, const CjkLookupResult& result, bool showSubWords,
                           const ReaderOptions& reader = {}, CardData* card = nullptr);
DisplayText composeEnglishText(const CDictionary& store, const EnglishLookupResult& result, bool showSubWords,
                               const ReaderOptions& reader = {});

}  // namespace pelux
