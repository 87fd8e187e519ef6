// The learner's card as the pointer reply carries it, written straight as JSON text: a card holds
// as much text as the band, and building it as a JSON document first would cost more than the
// lookup that found it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lookup/card_entries.h"

namespace pelux {

// `text` as a JSON string, quotes included, added to `out`; a lone surrogate becomes U+FFFD.
void appendJsonString(std::string& out, std::u16string_view text);

// The card's JSON object in at most `maxBytes`: its trailing characters go first, then its
// trailing entries; empty when not even an empty card fits.
std::string cardJsonText(const CardData& card, std::size_t maxBytes);

}  // namespace pelux
