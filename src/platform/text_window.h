// The band's text area as the core sees it.
#pragma once

#include <string_view>

namespace pelux {

class ITextWindow {
public:
    virtual ~ITextWindow() = default;
    virtual void setText(std::u16string_view text) = 0;
};

}  // namespace pelux
