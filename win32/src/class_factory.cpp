#include "class_factory.h"

#include <mutex>

#include "google_object.h"
#include "identifiers.h"
#include "module.h"
#include "pelux_band.h"

namespace pelux::win32 {
namespace {

using CreateFunction = HRESULT (*)(IUnknown*, REFIID, void**);

// Lives as long as the module; a lock taken through it keeps the module loaded.
class CClassFactory final : public IClassFactory {
public:
    explicit CClassFactory(CreateFunction create) : m_create(create) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The class object is cached for the life of the module, so its own count is moot; every
    // reference handed out still counts toward the module count, as a lock does.
    STDMETHODIMP_(ULONG) AddRef() override {
        lockModule();
        return 2;
    }
    STDMETHODIMP_(ULONG) Release() override {
        unlockModule();
        return 1;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        return m_create(outer, riid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            lockModule();
        else
            unlockModule();
        return S_OK;
    }

private:
    CreateFunction m_create;
};

struct ClassEntry {
    const GUID* clsid;
    CreateFunction create;
    CClassFactory* factory = nullptr;
};

ClassEntry g_classes[] = {
    {&kClsidPeluxBand, &createInstance<CPeluxBand>},
    {&kClsidGoogle, &createInstance<CGoogle>},
};
std::mutex g_classLock;

}  // namespace

HRESULT getClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (ClassEntry& entry : g_classes) {
        if (!IsEqualCLSID(clsid, *entry.clsid)) continue;
        {
            std::lock_guard lock(g_classLock);
            if (!entry.factory) entry.factory = new (std::nothrow) CClassFactory(entry.create);
        }
        if (!entry.factory) return E_OUTOFMEMORY;
        return entry.factory->QueryInterface(riid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace pelux::win32
