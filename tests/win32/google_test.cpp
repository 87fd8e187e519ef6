// CGoogle against a stand-in translation service on 127.0.0.1, called early-bound, late-bound
// through the type library, and with a variant that holds no string.
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "check.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

struct Notice {
    std::wstring caption, text;
};

// Closes each message box of this process as it appears, noting what it said.
class CNoticeWatcher {
public:
    CNoticeWatcher() : m_thread([this] { watch(); }) {}
    ~CNoticeWatcher() {
        m_stop = true;
        m_thread.join();
    }
    std::vector<Notice> seen() {
        std::lock_guard lock(m_mutex);
        return m_notices;
    }

private:
    void watch() {
        while (!m_stop) {
            EnumWindows(&CNoticeWatcher::each, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }
    static BOOL CALLBACK each(HWND window, LPARAM self) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[32] = L"", caption[128] = L"", text[512] = L"";
        GetClassNameW(window, name, 32);
        GetWindowTextW(window, caption, 128);
        if (process != GetCurrentProcessId() || wcscmp(name, L"#32770") != 0 ||
            wcscmp(caption, L"Error") != 0 || !IsWindowVisible(window))
            return TRUE;
        GetDlgItemTextW(window, 0xFFFF, text, 512);  // the message box's text control
        auto* watcher = reinterpret_cast<CNoticeWatcher*>(self);
        {
            std::lock_guard lock(watcher->m_mutex);
            watcher->m_notices.push_back({caption, text});
        }
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        Sleep(100);
        return TRUE;
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Notice> m_notices;
    std::thread m_thread;
};

std::vector<HWND> translationWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM out) -> BOOL {
        wchar_t caption[64] = L"";
        GetWindowTextW(window, caption, 64);
        if (wcscmp(caption, L"PeluxBar Google Translation") == 0)
            reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring dialogText(HWND dialog) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, 202, text, 256);
    return text;
}

std::vector<std::string> requestLog() {
    std::vector<std::string> lines;
    const char* path = std::getenv("PELUX_TRANSLATION_LOG");
    if (!path) return lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void closeTranslationWindows() {
    for (HWND window : translationWindows()) SendMessageW(window, WM_COMMAND, IDOK, 0);
}

// Calls GoogleTranslate while this thread keeps handling messages (the watcher's clicks).
HRESULT translate(IGoogle* google, const VARIANT& txt) { return google->GoogleTranslate(txt); }

WIN_TEST(GoogleTranslateShowsTheServicesTranslation) {
    const char* base = std::getenv("PELUX_TRANSLATION_BASE");
    CHECK(base != nullptr);
    if (!base) return;
    writeSetting(L"TranslationService", std::wstring(base, base + strlen(base)));
    IGoogle* google = nullptr;
    CHECK_EQ(CoCreateInstance(kClsidGoogle, nullptr, CLSCTX_INPROC_SERVER, kIidGoogle,
                              reinterpret_cast<void**>(&google)),
             S_OK);
    if (!google) return;
    CNoticeWatcher watcher;
    const size_t before = requestLog().size();

    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"\x4E2D\x6587");
    CHECK_EQ(translate(google, text), S_OK);
    std::vector<HWND> windows = translationWindows();
    CHECK_EQ(windows.size(), static_cast<size_t>(1));
    if (!windows.empty()) CHECK_EQ(dialogText(windows[0]), std::wstring(L"\x7FFB\x8BD1"));

    // Late-bound, through the type library's description of IGoogle.
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"GoogleTranslate");
    CHECK_EQ(google->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    VARIANT english;
    VariantInit(&english);
    english.vt = VT_BSTR;
    english.bstrVal = SysAllocString(L"the dog");
    DISPPARAMS params{&english, nullptr, 1, 0};
    CHECK_EQ(google->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    CHECK_EQ(translationWindows().size(), static_cast<size_t>(2));  // several may be open

    // A number is sent as its text, not read as a string it does not hold.
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 42;
    CHECK_EQ(translate(google, number), S_OK);

    const std::vector<std::string> log = requestLog();
    CHECK_EQ(log.size(), before + 3);
    if (log.size() == before + 3) {
        CHECK_EQ(log[before], std::string("/translate_t?text=\xE4\xB8\xAD\xE6\x96\x87&langpair=zh-CN|en"));
        CHECK_EQ(log[before + 1], std::string("/translate_t?text=the dog&langpair=en|zh-CN"));
        CHECK_EQ(log[before + 2], std::string("/translate_t?text=42&langpair=en|zh-CN"));
    }
    closeTranslationWindows();
    CHECK(translationWindows().empty());

    // Nothing listens here: the user is told, no window opens, and the call still succeeds.
    writeSetting(L"TranslationService", L"http://127.0.0.1:9");
    CHECK_EQ(translate(google, text), S_OK);
    CHECK(translationWindows().empty());
    bool told = false;
    for (const Notice& notice : watcher.seen()) told = told || notice.text == L"Exception occurred";
    CHECK(told);
    VariantClear(&text);
    VariantClear(&english);
    google->Release();
    clearSettings();
}

IGoogle* newGoogle() {
    IGoogle* google = nullptr;
    CoCreateInstance(kClsidGoogle, nullptr, CLSCTX_INPROC_SERVER, kIidGoogle,
                     reinterpret_cast<void**>(&google));
    return google;
}

void useService(const char* path) {
    const char* base = std::getenv("PELUX_TRANSLATION_BASE");
    const std::string address = std::string(base ? base : "http://127.0.0.1:9") + path;
    writeSetting(L"TranslationService", std::wstring(address.begin(), address.end()));
}

bool errorBoxShown() {
    bool shown = false;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM out) -> BOOL {
        wchar_t caption[16] = L"";
        GetWindowTextW(window, caption, 16);
        if (wcscmp(caption, L"Error") == 0 && IsWindowVisible(window)) *reinterpret_cast<bool*>(out) = true;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

bool g_tickedWhileWaiting = false;

// Counts only the ticks handled while the request is out, not those of the message box's loop.
void CALLBACK noteTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!errorBoxShown()) g_tickedWhileWaiting = true;
}

WIN_TEST(ASilentServiceEndsAtTheTimeLimitWhileMessagesAreHandled) {
    useService("/silent");
    writeSetting(L"TranslationTimeLimit", L"1500");
    IGoogle* google = newGoogle();
    CHECK(google != nullptr);
    if (!google) return;
    CNoticeWatcher watcher;
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"\x4E2D\x6587");
    g_tickedWhileWaiting = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, noteTick);
    CHECK_EQ(translate(google, text), S_OK);  // returns at all: the service never answers
    KillTimer(nullptr, timer);
    CHECK(g_tickedWhileWaiting);
    CHECK(translationWindows().empty());
    bool told = false;
    for (const Notice& notice : watcher.seen()) told = told || notice.text == L"Exception occurred";
    CHECK(told);
    VariantClear(&text);
    google->Release();
    clearSettings();
}

// The browser's message loop at its plainest: no IsDialogMessage, no accelerators. The key goes
// where the system would put it, the focus window or else the active one; true when the window
// closed.
bool keyClosesWindowInPlainLoop(HWND window, WPARAM key) {
    HWND target = GetFocus() ? GetFocus() : window;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);  // against a hang only
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == guard) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, guard);
    return !IsWindow(window);
}

WIN_TEST(EnterAndEscapeCloseTheTranslationWindowInAPlainMessageLoop) {
    useService("");
    IGoogle* google = newGoogle();
    CHECK(google != nullptr);
    if (!google) return;
    CNoticeWatcher watcher;  // a failed request must not leave its message box in the way
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"\x4E2D\x6587");
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        CHECK_EQ(translate(google, text), S_OK);
        const std::vector<HWND> windows = translationWindows();
        CHECK_EQ(windows.size(), static_cast<size_t>(1));
        if (windows.empty()) continue;
        if (!keyClosesWindowInPlainLoop(windows[0], key)) {
            fail(__FILE__, __LINE__, "key " + std::to_string(key) + " left the window open");
            closeTranslationWindows();
        }
    }
    CHECK_EQ(canUnloadNow(), S_FALSE);  // the object is still alive
    VariantClear(&text);
    google->Release();
    CHECK_EQ(canUnloadNow(), S_OK);  // no window left behind to hold the component
    clearSettings();
}

}  // namespace
}  // namespace pelux::wintest
