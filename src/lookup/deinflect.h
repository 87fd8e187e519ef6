// Undoes the conjugation of a Japanese word: proposes the forms it may have been made from, each
// with the chain of rules undone. Knows nothing of the dictionary; the caller keeps only the
// candidates that the dictionary holds with a fitting part of speech.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/word_class.h"

namespace pelux {

// Longest chain of forms undone: 行かせられませんでした is causative passive, then polite negative past.
constexpr size_t kMaxDeinflectDepth = 4;

struct DeinflectCandidate {
    std::u16string word;
    WordClassMask classes = 0;    // what the dictionary must call the word for it to count
    // Indexes into deinflectRules(), the outermost form first.
    std::array<uint16_t, kMaxDeinflectDepth> rules{};
    size_t depth = 0;
};

// The candidates for `inflected`, shortest chains first; the word itself is not among them.
// Without `stemAlone` the text is not read as a bare continuative stem (食べ of 食べる), which
// the caller rules out where more kana follow.
std::vector<DeinflectCandidate> deinflect(std::u16string_view inflected, bool stemAlone = true);

// The chain as a reader names the form: innermost first, "negative past" for 読まなかった.
std::u16string formName(const DeinflectCandidate& candidate);

}  // namespace pelux
