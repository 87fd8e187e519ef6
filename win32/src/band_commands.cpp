// The band window's menu and the commands it and the height buttons send.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "band/band_geometry.h"
#include "band/band_settings.h"
#include "band/load_commands.h"
#include "band/settings_values.h"
#include "band/band_menu.h"
#include "band_window.h"
#include "dialogs.h"
#include "dictionary/loaders.h"
#include "module.h"
#include "platform_win32.h"
#include "resources.h"
#include "win32_registry.h"

namespace pelux::win32 {
namespace {

// The reference pages of the menu, and the colour names of the Text Color dialog.
struct ReferencePage {
    UINT command;
    const wchar_t* address;
};
constexpr ReferencePage kReferencePages[] = {
    {kCommandChineseNews, L"http://news.google.com/news?ned=cn"},
    {kCommandJapaneseNews, L"http://news.google.com/news?ned=jp"},
    {kCommandBabelfish, L"http://babelfish.altavista.com/tr"},
    {kCommandGoogleTranslation, L"http://translate.google.com/translate_t"},
    {kCommandMandarinTools, L"http://www.mandarintools.com/"},
    {kCommandWwwjdic, L"http://www.csse.monash.edu.au/~jwb/wwwjdic.html"},
    {kCommandCharacterLookup, L"http://www.zhongwen.com/chinese/c.html"},
    {kCommandZhongWen, L"http://www.zhongwen.com/"},
    {kCommandComments, L"http://www.tandrel.com/peluxbarIE/"},
};
constexpr wchar_t kColourNamesPage[] = L"http://www.w3.org/TR/REC-html40/types.html#h-6.5";
constexpr UINT kColourOtherColors = 206;
constexpr LONG kFontStep = 4;
constexpr LONG kSmallestFontHeight = -8;  // characters never under 8 pixels

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
    if (value == kCommandFontSmaller || value == kCommandFontLarger)
        return changeFontHeight(value == kCommandFontSmaller ? kFontStep : -kFontStep);
    if (value == kCommandColor) return chooseColour();
    for (const ReferencePage& page : kReferencePages)
        if (page.command == value) return navigate(page.address);
    if (value == kCommandLoadChinese || value == kCommandLoadJapanese) {
        auto text = std::make_shared<EditTextWindow>(m_text.hwnd());
        Win32MessagePump pump;
        Win32KeyState keys;
        LoadEnvironment environment{text, &pump, &keys, Win32ModuleDirectory().directory()};
        runLoadCommand(value, {[&] { loadChineseDictionary(environment); },
                               [&] { loadJapaneseDictionary(environment); }});
    }
}

void CBandWindow::changeFontHeight(LONG step) {
    LOGFONTW description{};
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(m_text.hwnd(), WM_GETFONT, 0, 0));
    if (!GetObjectW(current ? current : GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description))
        return;
    description.lfHeight = std::min(description.lfHeight + step, kSmallestFontHeight);
    HFONT font = CreateFontIndirectW(&description);
    if (!font) return;
    SendMessageW(m_text.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (m_font) DeleteObject(m_font);
    m_font = font;
    Win32SettingsKey key;
    key.writeValue(kSettingFontSize, decimalText(description.lfHeight));
}

void CBandWindow::chooseColour() {
    const std::u16string shown = colorToText(bandSettings().FontColor);
    CTextColorDialog dialog(std::wstring(shown.begin(), shown.end()));
    const INT_PTR result = dialog.run(GetActiveWindow());
    if (result == kColourOtherColors) return navigate(kColourNamesPage);
    if (result != IDOK) return;
    const std::u16string text(dialog.colour().begin(), dialog.colour().end());
    if (const auto colour = colorFromText(text)) bandSettings().FontColor = *colour;
    Win32SettingsKey key;
    key.writeValue(kSettingFontColor, text);
}

void CBandWindow::navigate(const wchar_t* address) {
    if (!m_spWebBrowser) return;
    m_spWebBrowser->Stop();
    BSTR url = SysAllocString(address);
    if (!url) return;
    m_spWebBrowser->Navigate(url, nullptr, nullptr, nullptr, nullptr);
    SysFreeString(url);
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
