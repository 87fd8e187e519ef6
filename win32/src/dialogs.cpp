#include "dialogs.h"

#include "module.h"
#include "resources.h"

namespace pelux::win32 {
namespace {

constexpr wchar_t kTextProperty[] = L"PeluxText";

// The text a translation window shows; the window owns it once its creation has returned.
struct TranslationText {
    std::wstring text;
    bool adopted = false;
};

INT_PTR CALLBACK translationProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* text = reinterpret_cast<TranslationText*>(lParam);
        SetPropW(dialog, kTextProperty, text);
        SetDlgItemTextW(dialog, kTranslationText, text->text.c_str());
        return FALSE;  // no control takes the focus
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            DestroyWindow(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        if (auto* text = static_cast<TranslationText*>(RemovePropW(dialog, kTextProperty)); text && text->adopted)
            delete text;
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CTextColorDialog::run(HWND owner) {
    return DialogBoxParamW(moduleHandle(), MAKEINTRESOURCEW(kDialogTextColor), owner,
                           &CTextColorDialog::procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CTextColorDialog::procedure(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CTextColorDialog*>(lParam);
        SetPropW(dialog, kTextProperty, self);
        SetDlgItemTextW(dialog, kColorText, self->m_colour.c_str());
        return FALSE;
    }
    if (message == WM_NCDESTROY) RemovePropW(dialog, kTextProperty);
    if (message != WM_COMMAND || HIWORD(wParam) != 0) return FALSE;
    auto* self = static_cast<CTextColorDialog*>(GetPropW(dialog, kTextProperty));
    switch (LOWORD(wParam)) {
    case IDOK: {
        wchar_t text[8] = L"";  // seven characters and the terminator
        GetDlgItemTextW(dialog, kColorText, text, 8);
        if (self) self->m_colour = text;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case kColorOtherColors:
        EndDialog(dialog, kColorOtherColors);
        return TRUE;
    default:
        return FALSE;
    }
}

HWND showTranslationDialog(std::wstring text) {
    auto* owned = new TranslationText{std::move(text)};
    HWND dialog = CreateDialogParamW(moduleHandle(), MAKEINTRESOURCEW(kDialogTranslation), nullptr,
                                     translationProcedure, reinterpret_cast<LPARAM>(owned));
    if (dialog)
        owned->adopted = true;
    else
        delete owned;  // a window that went during its creation left the text to us
    return dialog;
}

}  // namespace pelux::win32
