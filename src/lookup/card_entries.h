// The entries of a Chinese or Japanese lookup as data, for a popup that lays them out itself: the
// same entries, in the same order and the same display form as the band text shows them, with
// each definition split into its senses and the characters of the matched word beside them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary.h"
#include "lookup/cjk_lookup.h"
#include "lookup/reader_options.h"

namespace pelux {

// Bounds of one card, whatever the dictionary holds: a line of a user's file may be megabytes.
inline constexpr std::size_t kMaxCardEntries = 16;
inline constexpr std::size_t kMaxCardSenses = 32;
inline constexpr std::size_t kMaxCardChars = 16;
inline constexpr std::size_t kMaxCardTextUnits = 2000;
inline constexpr std::size_t kMaxCardLabelUnits = 200;  // a form, a reading, a romanization, a tag

struct CardSense {
    std::u16string text;
    std::vector<std::u16string> tags;  // part of speech, field and usage codes: "v5k", "vt", "uk"

    bool operator==(const CardSense&) const = default;
};

struct CardEntry {
    std::vector<std::u16string> forms;  // Chinese: simplified, then traditional when it differs
    std::u16string reading;             // kana, or pinyin as the band writes it
    std::u16string romaji;              // Japanese only, as the band writes it
    bool common = false;                // an EDICT line marked "(P)"
    std::optional<std::u16string> form;  // the line naming a conjugated form, as the band shows it
    std::vector<CardSense> senses;

    bool operator==(const CardEntry&) const = default;
};

struct CardReading {
    enum class Kind { Mandarin, Cantonese, On, Kun };
    Kind kind = Kind::Mandarin;
    std::u16string text;

    bool operator==(const CardReading&) const = default;
};

struct CardChar {
    char16_t character = 0;
    std::vector<CardReading> readings;
    std::u16string meanings;
    // What KANJIDIC gives of a kanji; none for Chinese and where the line gives nothing.
    std::optional<int32_t> strokes, grade, jlpt, frequency;

    bool operator==(const CardChar&) const = default;
};

struct CardData {
    bool japanese = false;
    std::vector<CardEntry> entries;
    std::vector<CardChar> chars;

    bool savable() const { return !entries.empty(); }
};

// One shown entry on the card: its stored line, the line as the band rendered it (line end and
// all), and the line naming its conjugated form, if any. The composition of the band text calls
// this for each entry it shows, so the card holds the same entries in the same order.
void addCardEntry(const CDictionary& store, CardData& card, LineNumber line, std::u16string_view rendered,
                  std::u16string_view formLine);

// The characters of the matched word (or the one under the pointer) on the card.
void addCardChars(const CDictionary& store, CardData& card, const CjkLookupResult& result, std::u16string_view captured,
                  const ReaderOptions& reader);

// One rendered dictionary line as a card entry (exposed for the tests of the line grammar).
CardEntry cardEntryOfLine(std::u16string_view rendered, std::u16string_view stored, bool japanese);

}  // namespace pelux
