// The asynchronous state of the Escape key, for the whole session rather than one window.
#pragma once

namespace pelux {

class IKeyState {
public:
    virtual ~IKeyState() = default;
    // True when Escape is down now or went down since the previous poll.
    virtual bool pollEscape() = 0;
};

}  // namespace pelux
