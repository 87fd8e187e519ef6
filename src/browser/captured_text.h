// The text captured under the pointer for one event, and the road it takes.
#pragma once

#include <string>

namespace pelux {

struct CapturedText {
    char16_t firstChar = 0;
    // Characters up to U+0100 take the English road; anything above takes the Chinese/Japanese road.
    bool isEnglish = false;
    // English road: the word at the pointer. Other road: from the pointer to the end of its sentence.
    std::u16string text;
};

inline bool isEnglishRoad(char16_t firstChar) { return firstChar <= 0x100; }

}  // namespace pelux
