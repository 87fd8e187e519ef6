#include "module.h"

#include "band/engine.h"
#include "class_factory.h"
#include "file_mapper_win32.h"
#include "platform/perl_pattern.h"
#include "registration.h"
#include "vbscript_pattern.h"

namespace pelux::win32 {
namespace {

HMODULE g_module = nullptr;
std::atomic<LONG> g_count{0};

}  // namespace

HMODULE moduleHandle() { return g_module; }
void lockModule() { ++g_count; }
void unlockModule() { --g_count; }
LONG moduleCount() { return g_count; }

std::wstring modulePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    // A path that filled the buffer may have been cut short.
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(path, length);
}

pelux::CEngine& moduleEngine() {
    static pelux::CEngine engine;
    return engine;
}

STDMETHODIMP CComObject::CInner::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this)
                                          : m_self->findInterface(riid);
    if (!*out) return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

}  // namespace pelux::win32

using namespace pelux::win32;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        pelux::setPerlPatternFactory(&createVbscriptPattern);
        pelux::setFileMapper(&fileMapperInstance());
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return moduleCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    return guarded([&] { return getClassObject(clsid, riid, out); });
}

STDAPI DllRegisterServer() {
    return guarded([] { return registerServer(true); });
}

STDAPI DllUnregisterServer() {
    return guarded([] { return registerServer(false); });
}

}  // extern "C"
