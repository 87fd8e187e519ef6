// The band as the browser drives it: its interfaces, its size, siting, layout and commands.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "check.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

template <class T>
T* query(IUnknown* object, REFIID riid) {
    T* out = nullptr;
    if (object) object->QueryInterface(riid, reinterpret_cast<void**>(&out));
    return out;
}

// A band and its interfaces, released together.
struct Band {
    IUnknown* unknown = createBand();
    IDeskBand* desk = query<IDeskBand>(unknown, IID_IDeskBand);
    IObjectWithSite* withSite = query<IObjectWithSite>(unknown, IID_IObjectWithSite);
    ~Band() {
        if (withSite) withSite->Release();
        if (desk) desk->Release();
        if (unknown) unknown->Release();
    }
    HWND window() const {
        HWND out = nullptr;
        if (desk) desk->GetWindow(&out);
        return out;
    }
};

RECT childRect(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string showRect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

WIN_TEST(EveryInterfaceOfTheBandAnswers) {
    Band band;
    const IID* iids[] = {&IID_IOleWindow, &IID_IDockingWindow, &IID_IDeskBand, &IID_IObjectWithSite,
                         &IID_IInputObject, &IID_IOleCommandTarget, &kIidPeluxBand, &IID_IDispatch,
                         &IID_IProvideClassInfo};
    for (const IID* iid : iids) {
        IUnknown* part = query<IUnknown>(band.unknown, *iid);
        CHECK(part != nullptr);
        if (part) part->Release();
    }
    CHECK(query<IUnknown>(band.unknown, IID_IPersistStream) == nullptr);

    auto* classInfo = query<IProvideClassInfo>(band.unknown, IID_IProvideClassInfo);
    ITypeInfo* info = nullptr;
    CHECK_EQ(classInfo->GetClassInfo(&info), S_OK);
    TYPEATTR* attributes = nullptr;
    if (info && SUCCEEDED(info->GetTypeAttr(&attributes))) {
        CHECK(IsEqualGUID(attributes->guid, kClsidPeluxBand));
        CHECK_EQ(static_cast<int>(attributes->typekind), static_cast<int>(TKIND_COCLASS));
        info->ReleaseTypeAttr(attributes);
    }
    if (info) info->Release();
    classInfo->Release();
    auto* dispatch = query<IDispatch>(band.unknown, kIidPeluxBand);
    UINT count = 0;
    CHECK_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    CHECK_EQ(count, 1u);
    dispatch->Release();
}

WIN_TEST(GetBandInfoFillsWhatTheMaskAsksFor) {
    clearSettings();
    Band band;
    CHECK_EQ(band.desk->GetBandInfo(7, 0, nullptr), E_INVALIDARG);
    DESKBANDINFO info{};
    info.dwMask = DBIM_MINSIZE;
    info.ptActual = {5, 5};
    CHECK_EQ(band.desk->GetBandInfo(3, 1, &info), S_OK);
    CHECK_EQ(info.ptMinSize.x, 100L);
    CHECK_EQ(info.ptMinSize.y, 30L);
    CHECK_EQ(info.ptActual.x, 5L);

    info = {};
    info.dwMask = DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_MODEFLAGS | DBIM_BKCOLOR | DBIM_TITLE;
    wcscpy(info.wszTitle, L"left alone");
    CHECK_EQ(band.desk->GetBandInfo(3, 1, &info), S_OK);
    CHECK_EQ(info.ptMaxSize.x, -1L);
    CHECK_EQ(info.ptMaxSize.y, -1L);
    CHECK_EQ(info.ptIntegral.y, 1L);
    CHECK_EQ(info.ptActual.x, 1000L);
    CHECK_EQ(info.ptActual.y, 40L);
    CHECK_EQ(info.dwModeFlags, static_cast<DWORD>(0x108));
    CHECK_EQ(info.dwMask & DBIM_BKCOLOR, 0ul);
    CHECK(info.dwMask & DBIM_TITLE);
    CHECK_EQ(std::wstring(info.wszTitle), std::wstring(L"left alone"));

    const struct {
        const wchar_t* height;
        const wchar_t* width;
        LONG x, y;
    } rows[] = {{L"120", L"800", 800, 120}, {L"45", L"1200", 1200, 45}, {L"tall", L"wide", 1000, 40}};
    for (const auto& row : rows) {
        writeSetting(L"Height", row.height);
        writeSetting(L"Width", row.width);
        info = {};
        info.dwMask = DBIM_ACTUAL;
        band.desk->GetBandInfo(3, 1, &info);
        CHECK_EQ(info.ptActual.x, row.x);
        CHECK_EQ(info.ptActual.y, row.y);
    }
    clearSettings();
}

void writeRawSetting(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Tandrel\\PeluxBar", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
}

// A value of any type is read as the text its bytes spell, within 100 bytes of stored data.
WIN_TEST(SettingsOfAnyTypeAreReadAsTheTextTheyHold) {
    const std::wstring padded = std::wstring(47, L' ') + L"45";  // 49 characters and a NUL: 100 bytes
    const std::wstring tooLong = std::wstring(48, L' ') + L"45";  // 102 bytes
    const DWORD five = 5;
    const struct {
        const char* name;
        DWORD type;
        const void* data;
        DWORD bytes;
        LONG height;
    } rows[] = {
        {"text", REG_SZ, L"120", 8, 120},
        {"expandable text", REG_EXPAND_SZ, L"66", 6, 66},
        {"binary holding text, no terminator", REG_BINARY, L"77", 4, 77},
        {"a number, whose bytes spell no digits", REG_DWORD, &five, 4, 40},
        {"exactly 100 bytes", REG_SZ, padded.c_str(), 100, 45},
        {"over 100 bytes", REG_SZ, tooLong.c_str(), 102, 40},
    };
    Band band;
    for (const auto& row : rows) {
        clearSettings();
        writeRawSetting(L"Height", row.type, row.data, row.bytes);
        DESKBANDINFO info{};
        info.dwMask = DBIM_ACTUAL;
        band.desk->GetBandInfo(3, 1, &info);
        CHECK_EQ(info.ptActual.y, row.height);
        if (info.ptActual.y != row.height) std::printf("    (row: %s)\n", row.name);
    }
    clearSettings();
}

WIN_TEST(SmallOperationsGiveTheirFixedResults) {
    Band band;
    HWND none = reinterpret_cast<HWND>(1);
    CHECK_EQ(band.desk->GetWindow(nullptr), E_INVALIDARG);
    CHECK_EQ(band.desk->GetWindow(&none), S_OK);
    CHECK(none == nullptr);
    CHECK_EQ(band.desk->ResizeBorderDW(nullptr, nullptr, FALSE), E_NOTIMPL);
    void* site = reinterpret_cast<void*>(1);
    CHECK_EQ(band.withSite->GetSite(IID_IUnknown, &site), E_FAIL);
    CHECK(site == nullptr);
    auto* commands = query<IOleCommandTarget>(band.unknown, IID_IOleCommandTarget);
    OLECMD three[3] = {{1, 0}, {22, 0}, {300, 0}};
    CHECK_EQ(commands->QueryStatus(&IID_IUnknown, 3, three, nullptr), S_OK);
    for (const OLECMD& command : three) CHECK_EQ(command.cmdf, static_cast<DWORD>(3));
    CHECK_EQ(commands->Exec(nullptr, 1, 0, nullptr, nullptr), S_OK);
    commands->Release();
    auto* input = query<IInputObject>(band.unknown, IID_IInputObject);
    CHECK_EQ(input->UIActivateIO(TRUE, nullptr), S_OK);
    CHECK_EQ(input->TranslateAcceleratorIO(nullptr), S_FALSE);
    input->Release();
}

WIN_TEST(EventsAreDispatchedByTheirNumber) {
    Band band;
    auto* dispatch = query<IDispatch>(band.unknown, IID_IDispatch);
    DISPPARAMS none{};
    const struct {
        DISPID id;
        HRESULT result;
    } rows[] = {{250, S_OK}, {100, S_OK}, {259, S_OK}, {-606, S_OK}, {102, DISP_E_MEMBERNOTFOUND},
                {0, DISP_E_MEMBERNOTFOUND}};
    for (const auto& row : rows)
        CHECK_EQ(dispatch->Invoke(row.id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
                 row.result);
    dispatch->Release();
}

WIN_TEST(SetSiteOutcomes) {
    HWND host = createHostWindow(500, 40);
    {
        Band band;
        IUnknown* site = createSite(host, {.window = false});
        CHECK_EQ(band.withSite->SetSite(site), E_FAIL);
        CHECK(band.window() == nullptr);
        site->Release();
    }
    {
        Band band;
        IUnknown* site = createSite(host, {.inputObjectSite = false});
        CHECK_EQ(band.withSite->SetSite(site), E_FAIL);
        site->Release();
    }
    {
        Band band;
        IUnknown* site = createSite(host, {.commandTarget = false});
        CHECK_EQ(band.withSite->SetSite(site), S_OK);
        CHECK(IsWindow(band.window()));
        IUnknown* back = nullptr;
        CHECK_EQ(band.withSite->GetSite(IID_IInputObjectSite, reinterpret_cast<void**>(&back)), S_OK);
        if (back) back->Release();
        CHECK_EQ(band.withSite->SetSite(nullptr), S_OK);
        CHECK_EQ(band.withSite->GetSite(IID_IInputObjectSite, reinterpret_cast<void**>(&back)), E_FAIL);
        CHECK(IsWindow(band.window()));
        site->Release();
    }
    {
        Band band;
        IUnknown* site = createSite(host, {});
        CHECK_EQ(band.withSite->SetSite(site), S_OK);  // no browser offered: shown, no events
        site->Release();
    }
    DestroyWindow(host);
}

WIN_TEST(BandWindowLaysOutItsControls) {
    const struct {
        int height;
        RECT menu, text, smaller, bigger;  // left, top, right, bottom
    } rows[] = {
        {40, {0, 0, 35, 40}, {35, 0, 475, 40}, {476, 0, 500, 20}, {476, 21, 500, 40}},
        {41, {0, 0, 35, 41}, {35, 0, 475, 41}, {476, 0, 500, 20}, {476, 21, 500, 41}},
    };
    for (const auto& row : rows) {
        HWND host = createHostWindow(500, row.height);
        Band band;
        IUnknown* site = createSite(host, {});
        band.withSite->SetSite(site);
        site->Release();
        HWND window = band.window();
        CHECK(IsWindow(window));
        wchar_t name[32] = L"";
        GetClassNameW(window, name, 32);
        CHECK_EQ(std::wstring(name), std::wstring(L"PELUXWND"));
        const wchar_t* classes[] = {L"Pelux Button", L"Bigger", L"Smaller", L"Pelux Edit"};
        const RECT* expected[] = {&row.menu, &row.bigger, &row.smaller, &row.text};
        HWND child = GetWindow(window, GW_CHILD);
        for (int i = 0; i < 4 && child; ++i, child = GetWindow(child, GW_HWNDNEXT)) {
            GetClassNameW(child, name, 32);
            CHECK_EQ(std::wstring(name), std::wstring(classes[i]));
            CHECK_EQ(showRect(childRect(window, child)), showRect(*expected[i]));
        }
        DestroyWindow(host);
    }
}

WIN_TEST(CloseSavesTheSizeAndHides) {
    clearSettings();
    const struct {
        int height;
        const wchar_t* stored;
    } rows[] = {{30, L"35"}, {60, L"60"}};
    for (const auto& row : rows) {
        HWND host = createHostWindow(640, row.height);
        Band band;
        IUnknown* site = createSite(host, {});
        band.withSite->SetSite(site);
        site->Release();
        band.desk->ShowDW(TRUE);
        CHECK(IsWindowVisible(band.window()));
        CHECK_EQ(band.desk->CloseDW(0), S_OK);
        CHECK(!IsWindowVisible(band.window()));
        CHECK(IsWindow(band.window()));
        DWORD type = 0;
        CHECK_EQ(readSetting(L"Height", &type), std::wstring(row.stored));
        CHECK_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
        CHECK_EQ(readSetting(L"Width"), std::wstring(L"640"));
        Band next;
        DESKBANDINFO info{};
        info.dwMask = DBIM_ACTUAL;
        next.desk->GetBandInfo(1, 0, &info);
        CHECK_EQ(info.ptActual.y, static_cast<LONG>(_wtoi(row.stored)));
        DestroyWindow(host);
    }
    clearSettings();
}

WIN_TEST(FocusInTheTextAreaIsNotTheBandsFocus) {
    HWND host = createHostWindow(500, 40);
    Band band;
    IUnknown* site = createSite(host, {});
    band.withSite->SetSite(site);
    site->Release();
    auto* input = query<IInputObject>(band.unknown, IID_IInputObject);
    SetFocus(FindWindowExW(band.window(), nullptr, L"Pelux Edit", nullptr));
    CHECK_EQ(input->HasFocusIO(), S_FALSE);
    SetFocus(band.window());
    CHECK_EQ(input->HasFocusIO(), S_OK);
    input->Release();
    DestroyWindow(host);
}

WIN_TEST(TogglesAreWrittenAsMultiStrings) {
    clearSettings();
    HWND host = createHostWindow(500, 40);
    Band band;
    IUnknown* site = createSite(host, {});
    band.withSite->SetSite(site);
    site->Release();
    const std::wstring before = readSetting(L"UseToolTips");
    SendMessageW(band.window(), WM_COMMAND, 32795, 0);
    DWORD type = 0;
    const std::wstring once = readSetting(L"UseToolTips", &type);
    CHECK(once == L"0" || once == L"1");
    CHECK_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    SendMessageW(band.window(), WM_COMMAND, 32795, 0);
    CHECK(readSetting(L"UseToolTips") != once);
    SendMessageW(band.window(), WM_COMMAND, 32799 | (1 << 16), 0);  // a notification: ignored
    CHECK_EQ(readSetting(L"ShowSubWordTranslations"), std::wstring(L"(no value)"));
    SendMessageW(band.window(), WM_COMMAND, 32799, 0);
    CHECK(readSetting(L"ShowSubWordTranslations") != L"(no value)");
    DestroyWindow(host);
    clearSettings();
}

WIN_TEST(HeightButtonsResizeTheirOwnRebarBand) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    HWND frame = createHostWindow(600, 200);
    HWND rebar = CreateWindowExW(0, REBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT,
                                 0, 0, 600, 200, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    Band band;
    IUnknown* site = createSite(rebar, {});
    band.withSite->SetSite(site);
    site->Release();
    DESKBANDINFO info{};
    band.desk->GetBandInfo(42, 0, &info);
    REBARBANDINFOW entry{};
    entry.cbSize = sizeof(entry);
    entry.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_STYLE;
    entry.fStyle = RBBS_VARIABLEHEIGHT;
    entry.cyMaxChild = 500;
    entry.hwndChild = band.window();
    entry.wID = 42;
    entry.cyChild = entry.cyMinChild = 40;
    SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&entry));
    const struct {
        UINT start, command, expected;
    } rows[] = {{40, 107, 75}, {60, 108, 35}, {35, 108, 35}, {20, 108, 35}};
    for (const auto& row : rows) {
        entry.fMask = RBBIM_CHILDSIZE;
        entry.cyChild = row.start;
        entry.cyMinChild = 10;
        SendMessageW(rebar, RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&entry));
        SendMessageW(band.window(), WM_COMMAND, row.command, 0);
        REBARBANDINFOW now{};
        now.cbSize = sizeof(now);
        now.fMask = RBBIM_CHILDSIZE;
        SendMessageW(rebar, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&now));
        CHECK_EQ(now.cyChild, row.expected);
    }
    // A press and a double click on the increase button: two steps.
    entry.fMask = RBBIM_CHILDSIZE;
    entry.cyChild = 40;
    SendMessageW(rebar, RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&entry));
    HWND bigger = FindWindowExW(band.window(), nullptr, L"Bigger", nullptr);
    SendMessageW(bigger, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(bigger, WM_LBUTTONUP, 0, 0);
    SendMessageW(bigger, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    SendMessageW(bigger, WM_LBUTTONUP, 0, 0);
    REBARBANDINFOW now{};
    now.cbSize = sizeof(now);
    now.fMask = RBBIM_CHILDSIZE;
    SendMessageW(rebar, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&now));
    CHECK_EQ(now.cyChild, 110u);
    // Another band in front of ours: ours is found by its ID, the other keeps its height.
    REBARBANDINFOW other{};
    other.cbSize = sizeof(other);
    other.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_STYLE;
    other.fStyle = RBBS_VARIABLEHEIGHT;
    other.hwndChild = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                      rebar, nullptr, GetModuleHandleW(nullptr), nullptr);
    other.wID = 7;
    other.cyChild = other.cyMinChild = 50;
    other.cyMaxChild = 500;
    SendMessageW(rebar, RB_INSERTBANDW, 0, reinterpret_cast<LPARAM>(&other));
    // Ours on a row of its own: a rebar gives the bands of one row one height.
    entry.fMask = RBBIM_STYLE;
    entry.fStyle = RBBS_VARIABLEHEIGHT | RBBS_BREAK;
    SendMessageW(rebar, RB_SETBANDINFOW, 1, reinterpret_cast<LPARAM>(&entry));
    SendMessageW(band.window(), WM_COMMAND, 108, 0);
    const auto childHeight = [&](UINT index) {
        REBARBANDINFOW read{};
        read.cbSize = sizeof(read);
        read.fMask = RBBIM_CHILDSIZE | RBBIM_ID;
        SendMessageW(rebar, RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(&read));
        return std::pair{read.wID, read.cyChild};
    };
    CHECK_EQ(childHeight(0).first, 7u);
    CHECK_EQ(childHeight(0).second, 50u);
    CHECK_EQ(childHeight(1).first, 42u);
    CHECK_EQ(childHeight(1).second, 75u);
    DestroyWindow(frame);
}

}  // namespace
}  // namespace pelux::wintest
