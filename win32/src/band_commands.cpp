// The band window's menu and the commands it and the height buttons send.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "band/band_geometry.h"
#include "band/band_settings.h"
#include "band/load_commands.h"
#include "band/settings_values.h"
#include "band/band_menu.h"
#include "band_window.h"
#include "dictionary/loaders.h"
#include "module.h"
#include "platform_win32.h"
#include "resources.h"
#include "win32_registry.h"

namespace pelux::win32 {
namespace {

void flip(std::atomic<int32_t>& field, std::u16string_view name) {
    const int32_t now = field.fetch_xor(1) ^ 1;
    Win32SettingsKey key;
    key.writeValue(name, decimalText(now));
}

}  // namespace

void CBandWindow::showMenu(POINT clientPoint) {
    HMENU menu = LoadMenuW(moduleHandle(), MAKEINTRESOURCEW(kMenuBand));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    const BandSettings& settings = bandSettings();
    CheckMenuItem(popup, kCommandUseToolTips,
                  MF_BYCOMMAND | (settings.UseToolTips ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, kCommandShowSubWords,
                  MF_BYCOMMAND | (settings.ShowSubWordTranslations ? MF_CHECKED : MF_UNCHECKED));
    ClientToScreen(m_menuButton.hwnd(), &clientPoint);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, clientPoint.x,
                   clientPoint.y, 0, m_hwnd, nullptr);
    DestroyMenu(menu);
}

void CBandWindow::onCommand(WPARAM command) {
    if (command > 0xFFFF) return;
    const auto value = static_cast<UINT>(command);
    if (value == kCommandBandBigger || value == kCommandBandSmaller) return changeBandHeight(value);
    if (value == kCommandUseToolTips) return flip(bandSettings().UseToolTips, kSettingUseToolTips);
    if (value == kCommandShowSubWords)
        return flip(bandSettings().ShowSubWordTranslations, kSettingShowSubWords);
    if (value == kCommandLoadChinese || value == kCommandLoadJapanese) {
        auto text = std::make_shared<EditTextWindow>(m_text.hwnd());
        Win32MessagePump pump;
        Win32KeyState keys;
        LoadEnvironment environment{text, &pump, &keys, Win32ModuleDirectory().directory()};
        runLoadCommand(value, {[&] { loadChineseDictionary(environment); },
                               [&] { loadJapaneseDictionary(environment); }});
    }
}

void CBandWindow::changeBandHeight(UINT command) {
    HWND rebar = GetParent(m_hwnd);
    const auto count = static_cast<UINT>(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));
    for (UINT index = 0; index < count; ++index) {
        REBARBANDINFOW band{};
        // The 32-bit component passed 80 bytes: this version of the structure (up to cxHeader)
        // as laid out there. The 64-bit layout of the same version is larger, and a rebar
        // reads no child height from a structure that is too short for it.
        band.cbSize = REBARBANDINFOW_V6_SIZE;
        band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
        if (!SendMessageW(rebar, RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(&band))) continue;
        if (band.wID != m_dwBandID) continue;
        band.fMask = RBBIM_CHILDSIZE;
        band.cyChild = static_cast<UINT>(bandHeightAfterCommand(static_cast<int32_t>(band.cyChild), command));
        SendMessageW(rebar, RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(&band));
        return;
    }
}

}  // namespace pelux::win32
