// What one pointer event shows: the band's text and the tooltip for the element under the pointer.
#pragma once

#include <string>

namespace pelux {

struct DisplayText {
    std::u16string bandText;
    std::u16string tooltipText;
};

}  // namespace pelux
