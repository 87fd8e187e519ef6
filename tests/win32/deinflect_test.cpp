// The component reads "Deinflect" from its key. The key is read once per process, when the first
// band starts the engine, so the case runs the host program again as a child process with the
// setting written before anything else happens there.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <string>

#include "check.h"
#include "fake_dom.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

constexpr wchar_t kChildMarker[] = L"PELUX_DEINFLECT_CHILD";

std::wstring bandText(HWND window) {
    wchar_t buffer[1024] = L"";
    GetWindowTextW(FindWindowExW(window, nullptr, L"Pelux Edit", nullptr), buffer, 1024);
    return buffer;
}

// In the child: a band over a page reading 食べました。, the bundled Japanese dictionary loaded,
// the pointer on its first character.
WIN_TEST(DeinflectChildShowsTheDictionaryForm) {
    if (GetEnvironmentVariableW(kChildMarker, nullptr, 0) == 0) return;  // only in the child
    dom::Page* page = dom::newPage(L"\x98DF\x3079\x307E\x3057\x305F\x3002");
    HWND host = createHostWindow(600, 40);
    IUnknown* band = createBand();
    HRESULT sited = E_FAIL;
    const HWND window =
        siteBand(band, host, {.browser = static_cast<IUnknown*>(dom::browserObject(dom::newBrowser(page)))}, &sited);
    CHECK_EQ(sited, S_OK);
    IDockingWindow* docking = nullptr;
    band->QueryInterface(IID_IDockingWindow, reinterpret_cast<void**>(&docking));
    docking->ShowDW(TRUE);
    SendMessageW(window, WM_COMMAND, 32773, 0);  // the bundled Japanese dictionary

    IDispatch* dispatch = nullptr;
    band->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_DISPATCH;
    argument.pdispVal = static_cast<IDispatch*>(dom::newMouseEvent(page, 5, 5));
    DISPPARAMS params{&argument, nullptr, 1, 0};
    CHECK_EQ(dispatch->Invoke(-606, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    // 食べました ← 食べる (polite past)
    const std::wstring formLine = L"\x98DF\x3079\x307E\x3057\x305F \x2190 \x98DF\x3079\x308B (polite past)\r\n";
    CHECK_EQ(bandText(window).substr(0, formLine.size()), formLine);

    dispatch->Release();
    docking->Release();
    band->Release();
    DestroyWindow(host);
}

WIN_TEST(DeinflectFromTheKeyReachesThePointerRoad) {
    if (GetEnvironmentVariableW(kChildMarker, nullptr, 0) != 0) return;
    clearSettings();
    writeSetting(L"Deinflect", L"1");
    CHECK(runCasesInChild(L"DeinflectChild", kChildMarker, 120000) == DWORD{0});
    clearSettings();
}

}  // namespace
}  // namespace pelux::wintest
