// The kana classes that the loaders and the lookups share, for UTF-16 units.
#pragma once

namespace pelux {

// The hiragana letters ぁ to ゖ, without the voicing marks and iteration signs that follow them.
inline bool isHiraganaLetter(char16_t c) { return c >= u'ぁ' && c <= u'ゖ'; }

// The katakana letters ァ to ヺ, without the middle dot, the long-vowel mark and the iteration signs.
inline bool isKatakanaLetter(char16_t c) { return c >= u'ァ' && c <= u'ヺ'; }

// Anything of the hiragana block from ぁ on: the letters, the voicing marks, ゝ, ゞ and ゟ.
inline bool isHiraganaBlockChar(char16_t c) { return c >= u'ぁ' && c <= u'ゟ'; }

// The hiragana of a katakana letter from ァ to ヶ; anything else unchanged.
inline char16_t toHiragana(char16_t c) { return c >= u'ァ' && c <= u'ヶ' ? char16_t(c - 0x60) : c; }

}  // namespace pelux
