// The band window as the core's command handler sees it: the rebar band, the text area's font,
// the Text Color dialog, the browser and the two loads.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "band/band_commands.h"
#include "band/engine.h"
#include "band_window.h"
#include "bstr.h"
#include "dialogs.h"
#include "dictionary/loaders.h"
#include "module.h"
#include "platform_win32.h"

namespace pelux::win32 {
namespace {

// Reads the rebar's entry for the band with this ID into band and returns its index, or -1
// when the rebar holds no such band.
int findBand(HWND rebar, DWORD bandId, REBARBANDINFOW& band) {
    const auto count = static_cast<UINT>(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));
    for (UINT index = 0; index < count; ++index) {
        band = REBARBANDINFOW{};
        // The 32-bit component passed 80 bytes: this version of the structure (up to cxHeader)
        // as laid out there. The 64-bit layout of the same version is larger, and a rebar
        // reads no child height from a structure that is too short for it.
        band.cbSize = REBARBANDINFOW_V6_SIZE;
        band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
        if (!SendMessageW(rebar, RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(&band))) continue;
        if (band.wID == bandId) return static_cast<int>(index);
    }
    return -1;
}

LOGFONTW fontDescription(HWND text) {
    LOGFONTW description{};
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0));
    if (!GetObjectW(current ? current : GetStockObject(DEFAULT_GUI_FONT), sizeof(description),
                    &description))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
    return description;
}

}  // namespace

std::optional<int32_t> CBandWindow::currentBandHeight() {
    REBARBANDINFOW band{};
    if (findBand(GetParent(m_hwnd), m_dwBandID, band) < 0) return std::nullopt;
    return static_cast<int32_t>(band.cyChild);
}

void CBandWindow::setBandHeight(int32_t height) {
    HWND rebar = GetParent(m_hwnd);
    REBARBANDINFOW band{};
    const int index = findBand(rebar, m_dwBandID, band);
    if (index < 0) return;
    // The other child sizes go back as they were read.
    band.fMask = RBBIM_CHILDSIZE;
    band.cyChild = static_cast<UINT>(height);
    SendMessageW(rebar, RB_SETBANDINFOW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
}

int32_t CBandWindow::currentFontHeight() { return fontDescription(m_text.hwnd()).lfHeight; }

void CBandWindow::setFontHeight(int32_t height) {
    LOGFONTW description = fontDescription(m_text.hwnd());
    description.lfHeight = height;
    HFONT font = CreateFontIndirectW(&description);
    if (!font) return;
    SendMessageW(m_text.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (m_font) DeleteObject(m_font);
    m_font = font;
    // "FontSize" is the command handler's to write.
}

std::optional<ColorDialogAnswer> CBandWindow::askTextColor(std::u16string_view initialText) {
    CTextColorDialog dialog(std::wstring(initialText.begin(), initialText.end()));
    const INT_PTR result = dialog.run(GetActiveWindow());
    ColorDialogAnswer answer;
    // -1, a dialog that could not be made, and anything unexpected end as Cancel.
    if (result == kColorDialogOk || result == kColorDialogOtherColors)
        answer.result = static_cast<int32_t>(result);
    if (answer.result == kColorDialogOk)
        answer.text.assign(dialog.colour().begin(), dialog.colour().end());
    return answer;
}

void CBandWindow::stopAndNavigate(std::u16string_view address) {
    if (!m_spWebBrowser) return;
    m_spWebBrowser->Stop();
    CBstr url(address);
    if (!url.get()) return;
    m_spWebBrowser->Navigate(url.get(), nullptr, nullptr, nullptr, nullptr);
}

void CBandWindow::loadChineseDictionary() {
    auto text = std::make_shared<CEditTextWindow>(m_text.hwnd());
    pelux::loadChineseDictionary(moduleEngine().store(), loadEnvironment(text));
}

void CBandWindow::loadJapaneseDictionary() {
    auto text = std::make_shared<CEditTextWindow>(m_text.hwnd());
    pelux::loadJapaneseDictionary(moduleEngine().store(), loadEnvironment(text));
}

LoadEnvironment CBandWindow::loadEnvironment(const std::shared_ptr<ITextWindow>& text) {
    return LoadEnvironment{text, &m_pump, &m_keys, CWin32ModuleDirectory().directory()};
}

}  // namespace pelux::win32
