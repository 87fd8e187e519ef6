// The display form of stored dictionary lines: tone marks for Chinese, the romanized reading for
// Japanese. Every rule here reads each character of a line a bounded number of times, so a hover
// costs time in proportion to the line, however malformed the line is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "dictionary/dictionary.h"
#include "lookup/reader_options.h"

namespace pelux {

// The display form of a stored line: tone marks for Chinese, the romanized reading for Japanese.
// A number without a line gives an empty text.
std::u16string renderEntry(const CDictionary& store, LineNumber line, const ReaderOptions& reader = {});
// The same, added to `out`: the road that composes many entries into one text copies none.
void appendEntry(const CDictionary& store, std::u16string& out, LineNumber line, const ReaderOptions& reader = {});

// The Japanese line with the romanization of its reading (or headword) inserted, in modified
// Hepburn when `hepburn` is set; `kanji`, when given, splits the reading between the headword's
// kanji, so that no long vowel spans two of them.
std::u16string renderJapaneseLine(std::u16string_view line, bool hepburn = false, const CKanjiTable* kanji = nullptr);
void appendJapaneseLine(std::u16string& out, std::u16string_view line, bool hepburn = false,
                        const CKanjiTable* kanji = nullptr);

// A Japanese line cut where the romanization goes: the headword, the reading between " [" and
// "]" when the line has one (possibly empty), and the rest from the blanks before the first
// definition's "/" on. Views into the line.
struct JapaneseLineParts {
    std::u16string_view headword;
    std::u16string_view reading;
    std::u16string_view rest;
};

// The parts of a line, or nothing when no blank-then-"/" follows the headword.
std::optional<JapaneseLineParts> splitJapaneseLine(std::u16string_view line);

}  // namespace pelux
