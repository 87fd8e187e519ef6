// The rules that undo Japanese conjugation, one ending at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lookup/word_class.h"

namespace pelux {

struct DeinflectRule {
    std::u16string ending;       // the conjugated ending as it stands in the text
    std::u16string replacement;  // what stands there in the form it was made from
    WordClassMask appliesTo;     // classes the conjugated form may have for the rule to apply
    WordClassMask produces;      // classes of the form it was made from
    std::u16string_view name;    // the form, as the band names it
    bool stemAlone = false;      // the continuative: the ending is the verb's own last kana
};

// Every rule, built once. Every ending is non-empty and ends in hiragana.
const std::vector<DeinflectRule>& deinflectRules();

}  // namespace pelux
