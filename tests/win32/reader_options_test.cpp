// The reader's switches as the component reads them from its key. The key is read once a
// process, when the first band is made, so the case writes the values and then runs itself again
// in a child process, where the band's text is checked.
#include <windows.h>
#include <exdisp.h>

#include "check.h"
#include "fake_dom.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

constexpr wchar_t kChildVariable[] = L"PELUX_READER_SWITCHES_CHILD";
constexpr UINT kLoadChinese = 32772;
constexpr UINT kLoadJapanese = 32773;

// A shown band sited in a browser, with the one page it points at.
struct ReaderBand {
    HWND host = createHostWindow(600, 40);
    IUnknown* unknown = createBand();
    IDispatch* dispatch = nullptr;
    HWND window = nullptr;

    ReaderBand() {
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        dom::Browser* browser = dom::newBrowser(nullptr);
        HRESULT sited = E_FAIL;
        window = siteBand(unknown, host, {.browser = static_cast<IUnknown*>(dom::browserObject(browser))}, &sited);
        CHECK_EQ(sited, S_OK);
        IDockingWindow* docking = nullptr;
        unknown->QueryInterface(IID_IDockingWindow, reinterpret_cast<void**>(&docking));
        docking->ShowDW(TRUE);
        docking->Release();
    }
    ~ReaderBand() {
        dispatch->Release();
        unknown->Release();
        DestroyWindow(host);
    }
    // The band's text after the pointer rests on the first character of `text`.
    std::wstring pointAt(const std::wstring& text) {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_DISPATCH;
        argument.pdispVal = static_cast<IDispatch*>(dom::newMouseEvent(dom::newPage(text), 5, 5));
        DISPPARAMS params{&argument, nullptr, 1, 0};
        CHECK_EQ(dispatch->Invoke(-606, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
        wchar_t buffer[4096] = L"";
        GetWindowTextW(FindWindowExW(window, nullptr, L"Pelux Edit", nullptr), buffer, 4096);
        return buffer;
    }
};

bool starts(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }

void checkSwitchedBand() {
    ReaderBand band;
    SendMessageW(band.window, WM_COMMAND, kLoadChinese, 0);
    // Every forest line of the key before its surname lines; tone 3 with a caron.
    const std::wstring forest = L"\x6797 \x6797 [l\x00EDn] /woods/forest/\r\n";
    CHECK(starts(band.pointAt(L"\x6797\x3002"), forest + forest));
    CHECK(starts(band.pointAt(L"\x5317\x4EAC\x3002"), L"\x5317\x4EAC \x5317\x4EAC [B\x011Bi j\x012Bng] /Beijing/"));

    SendMessageW(band.window, WM_COMMAND, kLoadJapanese, 0);
    const std::wstring living = band.pointAt(L"\x751F\x7269\x3002");
    CHECK(starts(living, L"\x751F\x7269 [\x305B\x3044\x3076\x3064 seibutsu] /(n) living thing/organism/(P)/\r\n"
                         L"\x751F\x7269 [\x306A\x307E\x3082\x306E namamono] /(n) raw food/\r\n"));
    CHECK(band.pointAt(L"\x3092\x3002").find(L"(\x3092 = 0x3092 [o])") != std::wstring::npos);
}

WIN_TEST(ReaderSwitchesInTheKeyShapeTheBandText) {
    if (GetEnvironmentVariableW(kChildVariable, nullptr, 0) != 0) {
        checkSwitchedBand();
        return;
    }
    for (const wchar_t* name : {L"AllEntries", L"StandardPinyin", L"HepburnRomaji"}) writeSetting(name, L"1");
    CHECK(runCasesInChild(L"ReaderSwitchesInTheKeyShapeTheBandText", kChildVariable, 60000) == DWORD{0});
    clearSettings();
}

}  // namespace
}  // namespace pelux::wintest
