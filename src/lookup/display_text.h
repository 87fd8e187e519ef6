// What one pointer event shows: the band's text and the tooltip for the element under the pointer.
#pragma once

#include <cstdint>
#include <string>

namespace pelux {

struct DisplayText {
    std::u16string bandText;
    std::u16string tooltipText;
    // How many characters of the captured text the shown word covers, from its start; 0 when
    // nothing was found. The reader's popup marks them in the page.
    int32_t matchedLength = 0;
};

}  // namespace pelux
