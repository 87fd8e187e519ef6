// The band window as the pointer handling sees it; each shell implements it over its own band.
#pragma once

#include <cstdint>

#include "lookup/card_entries.h"
#include "platform/text_window.h"

namespace pelux {

// What the pointer handling needs of the band window.
class IBandView {
public:
    virtual ~IBandView() = default;
    virtual bool isVisible() = 0;
    virtual ITextWindow& textArea() = 0;
    // After a lookup has written the text area: how many characters of the captured text the
    // shown word covers (0: none). A band that marks nothing in the page ignores it.
    virtual void noteMatchedLength(int32_t /*length*/) {}
    // After a Chinese or Japanese lookup asked for its card: the entries as data.
    virtual void noteCard(CardData&& /*card*/) {}
};

}  // namespace pelux
