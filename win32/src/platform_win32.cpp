#include "platform_win32.h"

#include <string>

#include "module.h"

namespace pelux::win32 {

bool dispatchWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void CWin32MessagePump::pumpMessages() {
    // The host's own loop must still see the quit request after the load; like the load's own
    // stop, it carries exit code 0 rather than the code it was posted with.
    if (!dispatchWaitingMessages()) PostQuitMessage(0);
}

bool CWin32KeyState::pollEscape() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0; }

std::filesystem::path CWin32ModuleDirectory::directory() const {
    return std::filesystem::path(modulePath()).parent_path();
}

void CEditTextWindow::setText(std::u16string_view text) {
    if (!m_edit || !IsWindow(m_edit)) return;
    const std::wstring copy(text.begin(), text.end());
    SetWindowTextW(m_edit, copy.c_str());
}

}  // namespace pelux::win32
