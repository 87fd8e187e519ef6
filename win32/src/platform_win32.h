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

class Win32MessagePump final : public IMessagePump {
public:
    void pumpMessages() override;
};

class Win32KeyState final : public IKeyState {
public:
    bool pollEscape() override;
};

class Win32ModuleDirectory final : public IModuleDirectory {
public:
    std::filesystem::path directory() const override;
};

// The text area as the loaders hold it: forgotten once its window is gone.
class EditTextWindow final : public ITextWindow {
public:
    explicit EditTextWindow(HWND edit) : edit_(edit) {}
    void setText(std::u16string_view text) override;
    void forget() { edit_ = nullptr; }

private:
    HWND edit_;
};

}  // namespace pelux::win32
