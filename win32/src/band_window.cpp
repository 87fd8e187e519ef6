#include "band_window.h"

#include <commctrl.h>

#include "band/band_geometry.h"
#include "band/engine.h"
#include "module.h"
#include "win32_registry.h"

namespace pelux::win32 {
namespace {

BandRect bandRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

void place(HWND child, const ControlPlacement& at, bool repaint) {
    MoveWindow(child, at.x, at.y, at.width, at.height, repaint);
}

}  // namespace

CBandWindow::CBandWindow()
    : m_text(*this, CBandControl::Kind::Text),
      m_menuButton(*this, CBandControl::Kind::MenuButton),
      m_biggerButton(*this, CBandControl::Kind::BiggerButton),
      m_smallerButton(*this, CBandControl::Kind::SmallerButton) {}

CBandWindow::~CBandWindow() {
    destroy();
    if (m_font) DeleteObject(m_font);
}

bool CBandWindow::create(HWND parent, const RECT& rect) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!superclass(L"PELUXWND", TOOLBARCLASSNAMEW, &CBandWindow::procedure)) return false;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | TBSTYLE_TOOLTIPS |
                        TBSTYLE_WRAPABLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_CUSTOMERASE |
                        TBSTYLE_TRANSPARENT | CCS_TOP | CCS_NORESIZE | CCS_NOPARENTALIGN |
                        CCS_NODIVIDER;
    CreateWindowExW(0, L"PELUXWND", L"", style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, nullptr, moduleHandle(), this);
    return m_hwnd != nullptr;
}

void CBandWindow::destroy() {
    if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

LRESULT CALLBACK CBandWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC base = superclass(L"PELUXWND", nullptr, nullptr);
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetPropW(hwnd, kObjectProperty, create->lpCreateParams);
        static_cast<CBandWindow*>(create->lpCreateParams)->m_hwnd = hwnd;
    }
    auto* self = static_cast<CBandWindow*>(GetPropW(hwnd, kObjectProperty));
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kObjectProperty);
        if (self) self->m_hwnd = nullptr;
        return CallWindowProcW(base, hwnd, message, wParam, lParam);
    }
    if (!self || message == WM_NCCREATE) return CallWindowProcW(base, hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CBandWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_SIZE:
        layout();
        return 0;
    case WM_COMMAND: {
        CWin32SettingsKey settings;
        pelux::onCommand(wParam, *this, settings, moduleEngine());
        return 0;
    }
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, moduleEngine().settings().FontColor.load());
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    default:
        return CallWindowProcW(superclass(L"PELUXWND", nullptr, nullptr), m_hwnd, message, wParam,
                               lParam);
    }
}

void CBandWindow::onCreate() {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    m_menuButton.create(m_hwnd, client);
    m_biggerButton.create(m_hwnd, client);
    m_smallerButton.create(m_hwnd, client);
    m_text.create(m_hwnd, client);
    SendMessageW(m_text.hwnd(), WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    LOGFONTW description{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(m_text.hwnd(), WM_GETFONT, 0, 0)),
               sizeof(description), &description);
    CWin32SettingsKey key;
    description.lfHeight = bandFontHeight(key, description.lfHeight);
    m_font = CreateFontIndirectW(&description);
    SendMessageW(m_text.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
}

void CBandWindow::layout() {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const BandLayout at = layoutBand(bandRect(client));
    place(m_menuButton.hwnd(), at.menuButton, true);
    place(m_text.hwnd(), at.text, false);
    place(m_smallerButton.hwnd(), at.smallerButton, true);
    place(m_biggerButton.hwnd(), at.biggerButton, true);
}

void CBandWindow::saveBandSize() {
    RECT client{};
    if (!m_hwnd || !GetClientRect(m_hwnd, &client)) return;
    CWin32SettingsKey key;
    pelux::saveBandSize(key, bandRect(client));
}

bool CBandWindow::isVisible() { return m_hwnd && IsWindowVisible(m_hwnd); }

void CBandWindow::setText(std::u16string_view text) {
    const std::wstring copy(text.begin(), text.end());
    SetWindowTextW(m_text.hwnd(), copy.c_str());
}

}  // namespace pelux::win32
