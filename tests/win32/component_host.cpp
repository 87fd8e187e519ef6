#include "component_host.h"

#include <vector>

namespace pelux::wintest {
namespace {

constexpr wchar_t kSettingsPath[] = L"Software\\Tandrel\\PeluxBar";
constexpr GUID kSidWebBrowserApp{0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class CTestSite final : public IOleWindow, public IInputObjectSite, public IOleCommandTarget,
                   public IServiceProvider {
public:
    CTestSite(HWND window, const SiteShape& shape) : m_window(window), m_shape(shape) {
        if (m_shape.browser) m_shape.browser->AddRef();
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        *out = nullptr;
        if (IsEqualIID(riid, IID_IUnknown)) *out = static_cast<IOleWindow*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) && m_shape.window) *out = static_cast<IOleWindow*>(this);
        else if (IsEqualIID(riid, IID_IInputObjectSite) && m_shape.inputObjectSite) *out = static_cast<IInputObjectSite*>(this);
        else if (IsEqualIID(riid, IID_IOleCommandTarget) && m_shape.commandTarget) *out = static_cast<IOleCommandTarget*>(this);
        else if (IsEqualIID(riid, IID_IServiceProvider) && m_shape.commandTarget) *out = static_cast<IServiceProvider*>(this);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_refs;
        if (!left) {
            if (m_shape.browser) m_shape.browser->Release();
            delete this;
        }
        return left;
    }
    STDMETHODIMP GetWindow(HWND* out) override {
        *out = m_window;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
    STDMETHODIMP OnFocusChangeIS(IUnknown*, BOOL) override { return S_OK; }
    STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return S_OK; }
    STDMETHODIMP Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) override { return S_OK; }
    STDMETHODIMP QueryService(REFGUID service, REFIID riid, void** out) override {
        *out = nullptr;
        if (!IsEqualGUID(service, kSidWebBrowserApp) || !m_shape.browser) return E_NOINTERFACE;
        return m_shape.browser->QueryInterface(riid, out);
    }

private:
    ~CTestSite() = default;
    HWND m_window;
    SiteShape m_shape;
    ULONG m_refs = 1;
};

LRESULT CALLBACK hostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HMODULE component() { return GetModuleHandleW(L"PeluxBar.dll"); }

HRESULT canUnloadNow() {
    auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(component(), "DllCanUnloadNow")));
    return function ? function() : E_FAIL;
}

IUnknown* createBand() {
    IUnknown* band = nullptr;
    CoCreateInstance(kClsidPeluxBand, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                     reinterpret_cast<void**>(&band));
    return band;
}

void clearSettings() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsPath); }

void writeSetting(const wchar_t* name, const std::wstring& text) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    std::wstring data = text;
    data.push_back(L'\0');
    RegSetValueExW(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring readSetting(const wchar_t* name, DWORD* type) {
    return readRegistryText(HKEY_LOCAL_MACHINE, kSettingsPath, name, type);
}

std::wstring readRegistryText(HKEY root, const wchar_t* path, const wchar_t* name, DWORD* type) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"(no key)";
    std::vector<wchar_t> buffer(1024, L'\0');  // room for a path of a deep checkout
    DWORD bytes = static_cast<DWORD>((buffer.size() - 2) * sizeof(wchar_t)), found = 0;
    const LSTATUS error = RegQueryValueExW(key, name, nullptr, &found,
                                           reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    RegCloseKey(key);
    if (type) *type = found;
    return error == ERROR_SUCCESS ? std::wstring(buffer.data()) : L"(no value)";
}

IUnknown* createSite(HWND window, const SiteShape& shape) {
    return static_cast<IOleWindow*>(new CTestSite(window, shape));
}

HWND siteBand(IUnknown* band, HWND host, const SiteShape& shape, HRESULT* siteResult) {
    IObjectWithSite* withSite = nullptr;
    band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite));
    IUnknown* site = createSite(host, shape);
    const HRESULT sited = withSite->SetSite(site);
    if (siteResult) *siteResult = sited;
    site->Release();
    withSite->Release();
    IOleWindow* ole = nullptr;
    band->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&ole));
    HWND window = nullptr;
    ole->GetWindow(&window);
    ole->Release();
    return window;
}

HWND createHostWindow(int width, int height) {
    static ATOM atom = [] {
        WNDCLASSW info{};
        info.lpfnWndProc = hostProcedure;
        info.hInstance = GetModuleHandleW(nullptr);
        info.lpszClassName = L"PeluxTestRebar";
        return RegisterClassW(&info);
    }();
    (void)atom;
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExW(0, L"PeluxTestRebar", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

std::optional<DWORD> runCasesInChild(const wchar_t* caseFilter, const wchar_t* marker, DWORD waitMs) {
    wchar_t program[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + caseFilter;
    SetEnvironmentVariableW(marker, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started =
        CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableW(marker, nullptr);
    if (!started) return DWORD{1};
    std::optional<DWORD> exitCode;
    if (WaitForSingleObject(child.hProcess, waitMs) == WAIT_OBJECT_0) {
        DWORD code = 1;
        GetExitCodeProcess(child.hProcess, &code);
        exitCode = code;
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return exitCode;
}

void pumpWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace pelux::wintest
