// Where the reader's switches change what a composition shows. Each function gives the classic
// band's text unchanged when its switch is off. The caller holds the store's lock.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dictionary/dictionary.h"
#include "lookup/reader_options.h"

namespace pelux {

// The lines of a key as the store holds them, ranked, at most `limit`.
LineList rankedStoreLines(const CDictionary& store, const LineList& lines, size_t limit);

// Drops the line end a Japanese line keeps from its file from the end of `text`, never before
// `from` (where the entry starts), so that every entry of a list is one line of the band.
void dropLineEnd(std::u16string& text, size_t from = 0);

// The character line's information: the Mandarin reading in standard pinyin when asked.
std::u16string characterInfoToShow(std::u16string_view info, bool japanese, const ReaderOptions& reader);

// The romanization in the character line's header: Hepburn for kana when asked.
std::u16string characterRomajiToShow(char16_t character, std::u16string_view classic, const ReaderOptions& reader);

}  // namespace pelux
