// A conjugated word found at the pointer under its dictionary form.
#pragma once

#include <string>

#include "dictionary/dictionary.h"

namespace pelux {

struct DeinflectedWord {
    std::u16string surface;         // the text it covers: 食べました
    std::u16string dictionaryForm;  // 食べる
    std::u16string formName;        // polite past
    LineNumber line = 0;            // the first line of the key whose part of speech fits
};

}  // namespace pelux
