// The conjugation classes of Japanese verbs and adjectives, as sets of bits, and the EDICT
// part-of-speech tags that name them.
#pragma once

#include <cstdint>
#include <string_view>

namespace pelux {

using WordClassMask = uint32_t;

namespace word_class {
// A form exactly as it stands in the text. Forms that nothing conjugates further (past, te-form,
// conditional, ...) are undone only from here, never in the middle of a chain.
constexpr WordClassMask kAsWritten = 1u << 0;
constexpr WordClassMask kIchidan = 1u << 1;      // (v1) 食べる
constexpr WordClassMask kGodanK = 1u << 2;       // (v5k) 書く
constexpr WordClassMask kGodanIku = 1u << 3;     // (v5k-s) 行く: 行った, 行って
constexpr WordClassMask kGodanG = 1u << 4;       // (v5g) 泳ぐ
constexpr WordClassMask kGodanS = 1u << 5;       // (v5s) 話す
constexpr WordClassMask kGodanT = 1u << 6;       // (v5t) 待つ
constexpr WordClassMask kGodanN = 1u << 7;       // (v5n) 死ぬ
constexpr WordClassMask kGodanB = 1u << 8;       // (v5b) 遊ぶ
constexpr WordClassMask kGodanM = 1u << 9;       // (v5m) 読む
constexpr WordClassMask kGodanR = 1u << 10;      // (v5r) 帰る
constexpr WordClassMask kGodanAru = 1u << 11;    // (v5r-i) ある: ない for its negative
constexpr WordClassMask kGodanU = 1u << 12;      // (v5u) 買う
constexpr WordClassMask kGodanTou = 1u << 13;    // (v5u-s) 問う: 問うた, 問うて
constexpr WordClassMask kKuru = 1u << 14;        // (vk) 来る
constexpr WordClassMask kSuru = 1u << 15;        // (vs-i), (vs-s) する, 愛する
constexpr WordClassMask kAdjectiveI = 1u << 16;  // (adj-i) 高い
constexpr WordClassMask kAdjectiveIi = 1u << 17; // (adj-ix) いい: よかった, よくない
constexpr WordClassMask kGodanHonorific = 1u << 18;  // (v5aru) なさる: なさいます, なさい
constexpr WordClassMask kAny = (1u << 19) - 1;
// (vs) a noun that takes する: 勉強 of 勉強する. Never a class of a conjugated form, only of the
// stem under which EDICT keeps such a verb.
constexpr WordClassMask kSuruNoun = 1u << 19;
}  // namespace word_class

// The classes named by the part-of-speech tags of one stored EDICT line: every parenthesised
// group after the headword, its tags separated by commas, as in "(v5k,vi)". Other notes add
// nothing.
WordClassMask wordClassesOfLine(std::u16string_view line);

}  // namespace pelux
