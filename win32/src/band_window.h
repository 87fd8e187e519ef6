// CBandWindow: the band's window ("PELUXWND") with its menu button, text area and the two
// height buttons. Its roles live in files of their own: the window and its layout
// (band_window.cpp), the controls (band_controls.cpp), the menu (band_menu_popup.cpp) and what
// the core's command handler asks of the band (band_command_host.cpp).
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <memory>
#include <string>

#include "band/band_commands.h"
#include "browser/pointer_capture.h"
#include "dictionary/load_environment.h"
#include "platform/text_window.h"

#include "band_controls.h"
#include "platform_win32.h"

namespace pelux::win32 {

class CBandWindow final : public IBandView, public ITextWindow, public IBandCommandHost {
public:
    CBandWindow();
    ~CBandWindow() override;
    CBandWindow(const CBandWindow&) = delete;
    CBandWindow& operator=(const CBandWindow&) = delete;

    // Creates the window as a child of parent over the given rectangle.
    bool create(HWND parent, const RECT& rect);
    void destroy();
    HWND hwnd() const { return m_hwnd; }
    // What the band object learns from its site and its browser.
    void setBrowser(IWebBrowser2* browser) { m_spWebBrowser = browser; }
    void setBandId(DWORD id) { m_dwBandID = id; }
    // Writes "Height" (at least 35) and "Width" from the client rectangle.
    void saveBandSize();
    void showMenu(POINT clientPoint);

    // IBandView
    bool isVisible() override;
    ITextWindow& textArea() override { return *this; }
    // ITextWindow (the text area)
    void setText(std::u16string_view text) override;
    // IBandCommandHost: the menu's and the height buttons' commands act through these.
    std::optional<int32_t> currentBandHeight() override;
    void setBandHeight(int32_t height) override;
    int32_t currentFontHeight() override;
    void setFontHeight(int32_t height) override;
    std::optional<ColorDialogAnswer> askTextColor(std::u16string_view initialText) override;
    void stopAndNavigate(std::u16string_view address) override;
    void loadChineseDictionary() override;
    void loadJapaneseDictionary() override;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCreate();
    void layout();
    // What a load reports to and polls, with the given text area.
    LoadEnvironment loadEnvironment(const std::shared_ptr<ITextWindow>& text);

    HWND m_hwnd = nullptr;
    CBandControl m_text;
    CBandControl m_menuButton;
    CBandControl m_biggerButton;
    CBandControl m_smallerButton;
    HFONT m_font = nullptr;
    CWin32MessagePump m_pump;
    CWin32KeyState m_keys;
    IWebBrowser2* m_spWebBrowser = nullptr;  // the band's, not owned
    DWORD m_dwBandID = 0;
};

}  // namespace pelux::win32
