// Turns lookup results into the band text and the tooltip text.
#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary.h"
#include "lookup/cjk_lookup.h"
#include "lookup/display_text.h"
#include "lookup/english_lookup.h"
#include "lookup/line_rendering.h"
#include "lookup/reader_options.h"

namespace pelux {

// Both compositions read `store`; the caller holds its lock.
DisplayText composeCjkText(const CDictionary& store, const CjkLookupResult& result, bool showSubWords,
                           const ReaderOptions& reader = {});
DisplayText composeEnglishText(const CDictionary& store, const EnglishLookupResult& result, bool showSubWords,
                               const ReaderOptions& reader = {});

}  // namespace pelux
