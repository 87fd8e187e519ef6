// The Text Color dialog (modal), the translation dialog (modeless, several at once), and the
// core's notices port over them and message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "platform/notices.h"

namespace pelux::win32 {

class CTextColorDialog {
public:
    explicit CTextColorDialog(std::wstring colour) : m_colour(std::move(colour)) {}
    // 1 (OK: the colour text now holds what was typed), 2 (Cancel), 206 (Other Colors) or -1
    // when the dialog could not be made.
    INT_PTR run(HWND owner);
    const std::wstring& colour() const { return m_colour; }

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    std::wstring m_colour;
};

// A translation window: shows its text until the user closes it with OK, Enter, Escape or the
// close box, whatever message loop the thread runs. The window owns the object.
class CTranslationDialog {
public:
    // Opens a window with the text and returns at once; null when it could not be made.
    static HWND show(std::wstring text);

private:
    explicit CTranslationDialog(std::wstring text) : m_text(std::move(text)) {}
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK keyboardHook(int code, WPARAM wParam, LPARAM lParam);
    static void opened();
    static void closed();

    std::wstring m_text;
    bool m_adopted = false;  // by its window, once the window's creation has returned
};

class CWin32Notices final : public INotices {
public:
    void showMessage(std::u16string_view text, std::u16string_view caption) override;
    void showTranslation(std::u16string_view text) override;
};

}  // namespace pelux::win32
