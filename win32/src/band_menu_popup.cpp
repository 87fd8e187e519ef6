#include <windows.h>

#include <string>
#include <vector>

#include "band/band_menu.h"
#include "band/engine.h"
#include "band_window.h"
#include "module.h"

namespace pelux::win32 {
namespace {

// A pop-up menu with the items of the core's menu table, pop-ups within it built the same way.
// Null when the system could not make it.
HMENU buildPopup(const std::vector<MenuItem>& items) {
    HMENU popup = CreatePopupMenu();
    if (!popup) return nullptr;
    for (const MenuItem& item : items) {
        const std::wstring caption(item.caption.begin(), item.caption.end());
        bool added = false;
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            added = AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            break;
        case MenuItem::Kind::Command:
            added = AppendMenuW(popup, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED),
                                item.id, caption.c_str());
            break;
        case MenuItem::Kind::Popup:
            if (HMENU inner = buildPopup(item.items)) {
                added = AppendMenuW(popup, MF_POPUP | MF_STRING,
                                    reinterpret_cast<UINT_PTR>(inner), caption.c_str());
                if (!added) DestroyMenu(inner);
            }
            break;
        }
        if (!added) {
            DestroyMenu(popup);
            return nullptr;
        }
    }
    return popup;
}

}  // namespace

// The menu is made afresh for each press from the core's table, with the check marks of the
// switches as they are now, and destroyed when it closes.
void CBandWindow::showMenu(POINT clientPoint) {
    HMENU popup = buildPopup(bandMenu(moduleEngine().settings()));
    if (!popup) return;
    ClientToScreen(m_menuButton.hwnd(), &clientPoint);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, clientPoint.x,
                   clientPoint.y, 0, m_hwnd, nullptr);
    DestroyMenu(popup);
}

}  // namespace pelux::win32
