// Romanization of kana, one table entry per character.
#pragma once

#include <string>
#include <string_view>

namespace pelux {

// Fills the table once per process; safe to call from any thread, any number of times.
void initKanaRomajiTable();

// The romanized kana of `text`, one syllable per character joined by middle dots, added to `out`.
void appendRomanizedKana(std::u16string& out, std::u16string_view text);

// The romanized syllable of one character; empty for characters without an entry.
const std::u16string& kanaRomaji(char16_t character);

// Each character's syllable, with a middle dot (U+00B7) between every two characters.
std::u16string romanizeKana(std::u16string_view text);

}  // namespace pelux
