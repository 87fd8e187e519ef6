// How the core tells the user something outside the band's text area: a message that waits
// for acknowledgement, and the window that shows an online translation.
#pragma once

#include <string_view>

namespace pelux {

class INotices {
public:
    virtual ~INotices() = default;
    // Shows the text under the caption with an OK button, owned by no window; returns once the
    // user has closed it (a shell without a user returns as soon as the text is delivered).
    virtual void showMessage(std::u16string_view text, std::u16string_view caption) = 0;
    // Opens a new modeless translation window with the text and returns at once; several may
    // be open together.
    virtual void showTranslation(std::u16string_view text) = 0;
};

}  // namespace pelux
