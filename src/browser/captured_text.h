// The text captured under the pointer for one event, and the road it takes.
#pragma once

#include <string>

#include "contract/extension_contract.h"

namespace pelux {

struct CapturedText {
    char16_t firstChar = 0;
    bool isEnglish = false;
    // English road: the word at the pointer. Other road: from the pointer to the end of its sentence.
    std::u16string text;
};

inline bool isEnglishRoad(char16_t firstChar) { return firstChar <= kLastEnglishRoadChar; }

}  // namespace pelux
