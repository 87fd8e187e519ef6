// A dictionary load long enough to show progress (the test puts 5,500 lines beside the
// component), cancelled with Escape pressed through SendInput while the load handles the
// thread's messages.
#include <windows.h>

#include <string>

#include "check.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

std::wstring g_textDuringLoad;
HWND g_textArea = nullptr;

void pressEscape(bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

// Runs inside the load, when it handles waiting messages for the first time.
void CALLBACK pressDuringLoad(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    wchar_t text[128] = L"";
    GetWindowTextW(g_textArea, text, 128);
    g_textDuringLoad = text;
    pressEscape(true);
}

WIN_TEST(LoadShowsProgressAndStopsAtEscape) {
    IUnknown* band = createBand();
    CHECK(band != nullptr);
    if (!band) return;
    HWND host = createHostWindow(600, 40);
    const HWND window = siteBand(band, host, {});
    g_textArea = FindWindowExW(window, nullptr, L"Pelux Edit", nullptr);

    SendMessageW(window, WM_COMMAND, 32772, 0);
    wchar_t text[128] = L"";
    GetWindowTextW(g_textArea, text, 128);
    CHECK_EQ(std::wstring(text), std::wstring(L"5000/34000 lines read.\t\tPress Escape to Cancel"));

    SetTimer(nullptr, 0, 1, pressDuringLoad);
    Sleep(20);
    SendMessageW(window, WM_COMMAND, 32772, 0);
    pressEscape(false);
    // The load shows its count and handles messages before its first line too, and stops there.
    CHECK_EQ(g_textDuringLoad, std::wstring(L"0/34000 lines read.\t\tPress Escape to Cancel"));
    GetWindowTextW(g_textArea, text, 128);
    CHECK_EQ(std::wstring(text), std::wstring(L"0/34000 lines read.\t\tPress Escape to Cancel"));

    band->Release();
    DestroyWindow(host);
}

WIN_TEST(AQuitRequestDuringALoadReachesTheHostLoopWithExitCodeZero) {
    IUnknown* band = createBand();
    HWND host = createHostWindow(600, 40);
    const HWND window = siteBand(band, host, {});
    HWND text = FindWindowExW(window, nullptr, L"Pelux Edit", nullptr);

    PostQuitMessage(7);
    SendMessageW(window, WM_COMMAND, 32772, 0);
    wchar_t shown[128] = L"";
    GetWindowTextW(text, shown, 128);
    CHECK_EQ(std::wstring(shown), std::wstring(L"5000/34000 lines read.\t\tPress Escape to Cancel"));
    MSG quit{};
    CHECK(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK_EQ(quit.message, static_cast<UINT>(WM_QUIT));
    CHECK_EQ(quit.wParam, static_cast<WPARAM>(0));

    band->Release();
    DestroyWindow(host);
}

}  // namespace
}  // namespace pelux::wintest
