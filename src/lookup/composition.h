// Turns lookup results into the band text and the tooltip text.
#pragma once

#include <string>
#include <string_view>

#include "dictionary/dictionary.h"
#include "lookup/cjk_lookup.h"
#include "lookup/display_text.h"
#include "lookup/english_lookup.h"
#include "lookup/reader_options.h"

namespace pelux {

// The display form of a stored line: tone marks for Chinese, the romanized reading for Japanese.
// A number without a line gives an empty text.
std::u16string renderEntry(LineNumber line, const ReaderOptions& reader = {});

// The Japanese line with the romanization of its reading (or headword) inserted, in modified
// Hepburn when `hepburn` is set.
std::u16string renderJapaneseLine(const std::u16string& line);
std::u16string renderJapaneseLine(const std::u16string& line, bool hepburn);

// Both compositions read the process-wide store; the caller holds its lock.
DisplayText composeCjkText(const CjkLookupResult& result, bool showSubWords, const ReaderOptions& reader = {});
DisplayText composeEnglishText(const EnglishLookupResult& result, bool showSubWords,
                               const ReaderOptions& reader = {});

}  // namespace pelux
