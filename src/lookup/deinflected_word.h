// A conjugated word found at the pointer under its dictionary form.
#pragma once

#include <cstddef>
#include <string>

#include "dictionary/dictionary.h"

namespace pelux {

// What makes one reading of the text at the pointer more likely than another of the same length.
struct ReadingRank {
    // The text is the entry's headword, or the entry is usually written in kana ("(uk)"): not only
    // the kana reading of a word written with kanji.
    bool asWritten = false;
    // A stem alone where the sentence goes on (持ち、 使いファイル): more often a verb than a
    // thing of the same name.
    bool stemGoesOn = false;
    bool common = false;  // an EDICT line marked "(P)"
    size_t depth = 0;     // forms undone; a plain match has none
};

// Whether the conjugated reading `a` reads the text better than the plain match or line `b` of
// the same length: as written, a stem where the sentence goes on, common, fewer forms undone, in that order.
// Kana that only spell a word written with kanji say least about which word is meant.
bool readingIsBetter(const ReadingRank& a, const ReadingRank& b);

// Whether `a` is the likelier of two dictionary forms for the same text: a stem where the sentence goes on,
// common, fewer forms undone, as written, in that order. Equal ranks keep the rule table's order.
bool dictionaryFormIsBetter(const ReadingRank& a, const ReadingRank& b);

struct DeinflectedWord {
    std::u16string surface;         // the text it covers: 食べました
    std::u16string dictionaryForm;  // 食べる
    std::u16string formName;        // polite past
    LineNumber line = 0;            // the first line of the key whose part of speech fits
    ReadingRank rank;
};

}  // namespace pelux
