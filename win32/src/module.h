// The module: its handle, its count of live objects and server locks, and the base of every
// COM object of the component (reference count, aggregation, module count).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <new>
#include <string>

#include "com_ptr.h"

namespace pelux {
class CEngine;
}

namespace pelux::win32 {

HMODULE moduleHandle();
void lockModule();
void unlockModule();
LONG moduleCount();

// The full path of the component file; empty when it is 260 characters or more.
std::wstring modulePath();

// The engine of the process: the bands of every browser thread and the translation object share
// its store and settings, each reaching them under the store's lock or through atomic fields.
pelux::CEngine& moduleEngine();

// Holds the reference count and the outer object of an aggregate. A derived class answers
// findInterface and forwards its IUnknown methods to the controlling unknown with
// PELUX_FORWARD_IUNKNOWN.
class CComObject {
public:
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    IUnknown* innerUnknown() { return &m_inner; }
    IUnknown* controllingUnknown() { return m_outer; }

protected:
    explicit CComObject(IUnknown* outer) : m_inner(this), m_outer(outer ? outer : &m_inner) {
        lockModule();
    }
    virtual ~CComObject() { unlockModule(); }
    // The interface pointer for riid, IUnknown excepted; null when not offered.
    virtual void* findInterface(REFIID riid) = 0;

private:
    class CInner final : public IUnknown {
    public:
        explicit CInner(CComObject* self) : m_self(self) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return ++m_self->m_refs; }
        STDMETHODIMP_(ULONG) Release() override {
            const ULONG left = --m_self->m_refs;
            if (left == 0) delete m_self;
            return left;
        }

    private:
        CComObject* m_self;
    };
    CInner m_inner;
    IUnknown* m_outer;
    std::atomic<ULONG> m_refs{1};
};

#define PELUX_FORWARD_IUNKNOWN                                                          \
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {                    \
        return controllingUnknown()->QueryInterface(riid, out);                        \
    }                                                                                   \
    STDMETHODIMP_(ULONG) AddRef() override { return controllingUnknown()->AddRef(); }  \
    STDMETHODIMP_(ULONG) Release() override { return controllingUnknown()->Release(); }

// new (non-throwing) → QueryInterface on the inner unknown → Release, so a failed query
// leaves nothing behind. An outer object may ask only for IUnknown.
template <class T>
HRESULT createInstance(IUnknown* outer, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    T* object = new (std::nothrow) T(outer);
    if (!object) return E_OUTOFMEMORY;
    IUnknown* inner = object->innerUnknown();
    const HRESULT hr = inner->QueryInterface(riid, out);
    inner->Release();
    return hr;
}

// Every COM method body runs through this: no exception crosses a vtable.
template <class F>
HRESULT guarded(F&& body) noexcept {
    try {
        return body();
    } catch (const CComError& error) {
        return error.code();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace pelux::win32
