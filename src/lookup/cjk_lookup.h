// Greedy longest-match lookup of the Chinese or Japanese text under the pointer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary.h"
#include "lookup/deinflected_word.h"
#include "lookup/reader_options.h"

namespace pelux {

constexpr int kMaxWordLength = 8;

struct SubItem {
    char16_t character = 0;
    std::optional<LineNumber> chineseLine;  // first line of the one-character key (Chinese)
    std::u16string japaneseInfo;            // per-character information (Japanese)
};

// One entry of the list shown with every entry on: its line, and the line that names its form
// when it was found under a dictionary form.
struct ReadingEntry {
    LineNumber line = 0;
    std::u16string formLine;

    bool operator==(const ReadingEntry&) const = default;
};

struct CjkLookupResult {
    int32_t wordLength = 0;
    LineNumber wordLine = 0;
    LineList wordLines;  // every line of the matched key, in the store's order
    std::vector<SubItem> subItems;
    char16_t firstChar = 0;
    std::u16string firstCharRomaji;
    std::u16string firstCharInfo;
    // Set when deinflection is on and a conjugated word covers more than the plain match; the
    // word's length and line above are then that word's.
    std::optional<DeinflectedWord> deinflected;
    // With deinflection and every entry on, Japanese: the conjugated readings and the plain match's
    // lines together, in the order shown. Empty when no conjugated reading is as long as the plain
    // match, and the plain lines are shown as they are without deinflection.
    std::vector<ReadingEntry> readings;
};

// The first line number of the key, or none when its list is empty.
std::optional<LineNumber> firstLineOf(const CDictionary& store, std::u16string_view key);

// Looks up the longest key (at most kMaxWordLength characters) at the start of `captured`.
// The store must be loaded; the caller holds the store's lock or runs on the only thread.
CjkLookupResult lookupCjkText(const CDictionary& store, std::u16string_view captured, char16_t firstChar,
                              bool showSubWords, const ReaderOptions& reader = {});

}  // namespace pelux
