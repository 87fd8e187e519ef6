// CBandWindow: the band's window ("PELUXWND") with its menu button, text area and the two
// height buttons, each a superclass of a system class.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <memory>
#include <string>

#include "band/band_commands.h"
#include "browser/pointer_capture.h"
#include "dictionary/load_environment.h"
#include "platform/text_window.h"
#include "platform_win32.h"

namespace pelux::win32 {

class CBandWindow;

// One child control: a window of its own class whose procedure offers each message to the
// control first and passes the rest to the system class it extends.
class CBandControl {
public:
    enum class Kind { Text, MenuButton, BiggerButton, SmallerButton };
    CBandControl(CBandWindow& owner, Kind kind) : owner_(owner), kind_(kind) {}
    bool create(HWND parent, const RECT& rect);
    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    CBandWindow& owner_;
    Kind kind_;
    HWND hwnd_ = nullptr;
};

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
    HWND textHwnd() const { return m_text.hwnd(); }
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
    ColorDialogAnswer askTextColor(std::u16string_view initialText) override;
    void stopAndNavigate(std::u16string_view address) override;
    void loadChineseDictionary() override;
    void loadJapaneseDictionary() override;

    IWebBrowser2* m_spWebBrowser = nullptr;  // the band's, not owned
    DWORD m_dwBandID = 0;

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
    Win32MessagePump m_pump;
    Win32KeyState m_keys;
};

// The procedure of the system class that a superclass extends; registers the superclass with
// the given procedure the first time.
WNDPROC superclass(const wchar_t* name, const wchar_t* base, WNDPROC procedure);

}  // namespace pelux::win32
