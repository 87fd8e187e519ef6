// The band window's four child controls, and the superclasses of system classes that the band's
// windows are made of.
#pragma once

#include <windows.h>

namespace pelux::win32 {

class CBandWindow;

// One child control: a window of its own class whose procedure offers each message to the
// control first and passes the rest to the system class it extends.
class CBandControl {
public:
    enum class Kind { Text, MenuButton, BiggerButton, SmallerButton };
    CBandControl(CBandWindow& owner, Kind kind) : m_owner(owner), m_kind(kind) {}
    bool create(HWND parent, const RECT& rect);
    HWND hwnd() const { return m_hwnd; }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    CBandWindow& m_owner;
    Kind m_kind;
    HWND m_hwnd = nullptr;
};

// The procedure of the system class that a superclass extends; registers the superclass with
// the given procedure the first time.
WNDPROC superclass(const wchar_t* name, const wchar_t* base, WNDPROC procedure);

// The window property that ties each of the band's windows to its C++ object.
inline constexpr wchar_t kObjectProperty[] = L"PeluxObject";

}  // namespace pelux::win32
