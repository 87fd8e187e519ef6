// The core's small ports over Win32: the thread's message queue, the Escape key, the module's
// directory and the band's text area.
#pragma once

#include <windows.h>

#include <filesystem>

#include "platform/key_state.h"
#include "platform/message_pump.h"
#include "platform/module_directory.h"
#include "platform/text_window.h"

namespace pelux::win32 {

// Takes every waiting message of the thread from its queue, translates and dispatches it; stops
// at a quit request, which it takes from the queue too, and then returns false.
bool dispatchWaitingMessages();

class CWin32MessagePump final : public IMessagePump {
public:
    void pumpMessages() override;
};

class CWin32KeyState final : public IKeyState {
public:
    bool pollEscape() override;
};

class CWin32ModuleDirectory final : public IModuleDirectory {
public:
    std::filesystem::path directory() const override;
};

// The text area as the loaders hold it: a window that is gone is left alone.
class CEditTextWindow final : public ITextWindow {
public:
    explicit CEditTextWindow(HWND edit) : m_edit(edit) {}
    void setText(std::u16string_view text) override;

private:
    HWND m_edit;
};

}  // namespace pelux::win32
