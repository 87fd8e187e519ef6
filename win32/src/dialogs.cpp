#include "dialogs.h"

#include "module.h"
#include "resources.h"

namespace pelux::win32 {
namespace {

constexpr wchar_t kColorDialogProperty[] = L"PeluxColorDialog";
constexpr wchar_t kTranslationProperty[] = L"PeluxTranslation";

// The translation windows open on this thread, and the hook that serves them.
thread_local int t_openTranslations = 0;
thread_local HHOOK t_keyboardHook = nullptr;

bool isTranslationDialog(HWND window) {
    return window && GetPropW(window, kTranslationProperty) != nullptr;
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
        SetPropW(dialog, kColorDialogProperty, self);
        SetDlgItemTextW(dialog, kColorText, self->m_colour.c_str());
        return FALSE;
    }
    if (message == WM_NCDESTROY) RemovePropW(dialog, kColorDialogProperty);
    if (message != WM_COMMAND || HIWORD(wParam) != 0) return FALSE;
    auto* self = static_cast<CTextColorDialog*>(GetPropW(dialog, kColorDialogProperty));
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

HWND CTranslationDialog::show(std::wstring text) {
    auto* owned = new CTranslationDialog(std::move(text));
    HWND dialog = CreateDialogParamW(moduleHandle(), MAKEINTRESOURCEW(kDialogTranslation), nullptr,
                                     &CTranslationDialog::procedure, reinterpret_cast<LPARAM>(owned));
    if (dialog)
        owned->m_adopted = true;
    else
        delete owned;  // a window that went during its creation left the object to us
    return dialog;
}

INT_PTR CALLBACK CTranslationDialog::procedure(HWND dialog, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* self = reinterpret_cast<CTranslationDialog*>(lParam);
        SetPropW(dialog, kTranslationProperty, self);
        SetDlgItemTextW(dialog, kTranslationText, self->m_text.c_str());
        opened();
        return FALSE;  // no control takes the focus
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            DestroyWindow(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        if (auto* self = static_cast<CTranslationDialog*>(RemovePropW(dialog, kTranslationProperty))) {
            closed();
            if (self->m_adopted) delete self;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// A modeless dialog gets Enter and Escape only from a loop that calls IsDialogMessage for it,
// and the browser's loop knows nothing of our windows. While a translation window is open on
// this thread, this hook sees every message the thread takes from its queue and hands the
// keyboard messages of those windows to the dialog manager first. Each open window also keeps
// the component loaded, since its procedure lives here.
void CTranslationDialog::opened() {
    lockModule();
    if (t_openTranslations++ == 0)
        t_keyboardHook = SetWindowsHookExW(WH_GETMESSAGE, &CTranslationDialog::keyboardHook,
                                           nullptr, GetCurrentThreadId());
}

void CTranslationDialog::closed() {
    if (--t_openTranslations == 0 && t_keyboardHook) {
        UnhookWindowsHookEx(t_keyboardHook);
        t_keyboardHook = nullptr;
    }
    unlockModule();
}

LRESULT CALLBACK CTranslationDialog::keyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message >= WM_KEYFIRST &&
        message->message <= WM_KEYLAST) {
        HWND dialog = message->hwnd ? GetAncestor(message->hwnd, GA_ROOT) : nullptr;
        if (isTranslationDialog(dialog) && IsDialogMessageW(dialog, message))
            message->message = WM_NULL;  // handled: the thread's own loop sees nothing
    }
    return CallNextHookEx(t_keyboardHook, code, wParam, lParam);
}

void CWin32Notices::showMessage(std::u16string_view text, std::u16string_view caption) {
    const std::wstring body(text.begin(), text.end()), title(caption.begin(), caption.end());
    MessageBoxW(nullptr, body.c_str(), title.c_str(), MB_OK);
}

void CWin32Notices::showTranslation(std::u16string_view text) {
    CTranslationDialog::show(std::wstring(text.begin(), text.end()));
}

}  // namespace pelux::win32
