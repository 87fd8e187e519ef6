// The Text Color dialog (modal) and the translation dialog (modeless, several at once).
#pragma once

#include <windows.h>

#include <string>

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

// Opens a translation window with the text and returns at once; the window frees itself when
// closed. Null when it could not be made.
HWND showTranslationDialog(std::wstring text);

}  // namespace pelux::win32
