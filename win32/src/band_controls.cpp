#include "band_controls.h"

#include <cwchar>
#include <mutex>

#include "band/band_geometry.h"
#include "band_window.h"
#include "module.h"
#include "resources.h"

namespace pelux::win32 {
namespace {

struct Superclass {
    const wchar_t* name;
    WNDPROC base = nullptr;
};

std::mutex g_classLock;

}  // namespace

WNDPROC superclass(const wchar_t* name, const wchar_t* base, WNDPROC procedure) {
    static Superclass classes[] = {{L"PELUXWND"}, {L"Pelux Edit"}, {L"Pelux Button"},
                                   {L"Bigger"}, {L"Smaller"}};
    std::lock_guard lock(g_classLock);
    for (Superclass& entry : classes) {
        if (wcscmp(entry.name, name) != 0) continue;
        if (entry.base) return entry.base;
        WNDCLASSEXW info{};
        info.cbSize = sizeof(info);
        if (!GetClassInfoExW(nullptr, base, &info)) return nullptr;
        const WNDPROC systemProcedure = info.lpfnWndProc;
        info.lpfnWndProc = procedure;
        info.hInstance = moduleHandle();
        info.lpszClassName = name;
        if (!RegisterClassExW(&info) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return nullptr;
        entry.base = systemProcedure;
        return entry.base;
    }
    return nullptr;
}

bool CBandControl::create(HWND parent, const RECT& rect) {
    struct Shape {
        const wchar_t* name;
        const wchar_t* base;
        DWORD style, exStyle;
        int bitmap;
    };
    static const Shape shapes[] = {
        {L"Pelux Edit", L"Edit", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, WS_EX_CLIENTEDGE, 0},
        {L"Pelux Button", L"Button", WS_CHILD | WS_VISIBLE | BS_BITMAP, 0, kBitmapMenuButton},
        {L"Bigger", L"Button", WS_CHILD | WS_VISIBLE | BS_BITMAP, 0, kBitmapBigger},
        {L"Smaller", L"Button", WS_CHILD | WS_VISIBLE | BS_BITMAP, 0, kBitmapSmaller},
    };
    const Shape& shape = shapes[static_cast<int>(m_kind)];
    if (!superclass(shape.name, shape.base, &CBandControl::procedure)) return false;
    m_hwnd = CreateWindowExW(shape.exStyle, shape.name, L"", shape.style, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                            moduleHandle(), this);
    if (!m_hwnd) return false;
    if (shape.bitmap) {
        HANDLE picture = LoadImageW(moduleHandle(), MAKEINTRESOURCEW(shape.bitmap), IMAGE_BITMAP,
                                    0, 0, LR_DEFAULTCOLOR);
        SendMessageW(m_hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    return true;
}

LRESULT CALLBACK CBandControl::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetPropW(hwnd, kObjectProperty, create->lpCreateParams);
        static_cast<CBandControl*>(create->lpCreateParams)->m_hwnd = hwnd;
    }
    auto* self = static_cast<CBandControl*>(GetPropW(hwnd, kObjectProperty));
    if (message == WM_NCDESTROY) RemovePropW(hwnd, kObjectProperty);
    wchar_t name[32] = L"";
    GetClassNameW(hwnd, name, 32);
    const WNDPROC base = superclass(name, nullptr, nullptr);
    if (!self || message == WM_NCCREATE || message == WM_NCDESTROY)
        return CallWindowProcW(base, hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CBandControl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    wchar_t name[32] = L"";
    GetClassNameW(m_hwnd, name, 32);
    const WNDPROC base = superclass(name, nullptr, nullptr);
    const bool heightButton = m_kind == Kind::BiggerButton || m_kind == Kind::SmallerButton;
    if (heightButton && (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)) {
        const UINT command = m_kind == Kind::BiggerButton ? kCommandBandBigger : kCommandBandSmaller;
        SendMessageW(GetParent(m_hwnd), WM_COMMAND, command, 0);
        return CallWindowProcW(base, m_hwnd, message, wParam, lParam);
    }
    if (m_kind == Kind::MenuButton && message == WM_LBUTTONDOWN) {
        CallWindowProcW(base, m_hwnd, message, wParam, lParam);
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        m_owner.showMenu(at);
        return 0;
    }
    return CallWindowProcW(base, m_hwnd, message, wParam, lParam);
}

}  // namespace pelux::win32
