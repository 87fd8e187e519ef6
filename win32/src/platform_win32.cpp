#include "platform_win32.h"

#include <string>

#include "module.h"

namespace pelux::win32 {

void Win32MessagePump::pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The host's own loop must still see it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Win32KeyState::pollEscape() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0; }

std::filesystem::path Win32ModuleDirectory::directory() const {
    return std::filesystem::path(modulePath()).parent_path();
}

void EditTextWindow::setText(std::u16string_view text) {
    if (!edit_ || !IsWindow(edit_)) return;
    const std::wstring copy(text.begin(), text.end());
    SetWindowTextW(edit_, copy.c_str());
}

}  // namespace pelux::win32
