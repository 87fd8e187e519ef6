// IDispatch for the component's dual interfaces, described by its own type library (TYPELIB 1).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "module.h"

namespace pelux::win32 {

// The type information of the component's type library for guid (an interface or a class).
HRESULT typeInfoOf(REFGUID guid, ITypeInfo** info);

// The first three IDispatch methods of the dual interface I, from the type library; each class
// writes its own Invoke, or answers it with invokeThroughTypeLibrary.
template <class I>
class CTypeLibraryDispatch : public I {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (index != 0) return DISP_E_BADINDEX;
        return guarded([&] { return typeInfoOf(__uuidof(I), info); });
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return guarded([&] {
            CComPtr<ITypeInfo> info;
            RETURN_IF_FAILED(typeInfoOf(__uuidof(I), info.put()));
            return DispGetIDsOfNames(info.get(), names, count, ids);
        });
    }

protected:
    // Calls the member of I that the type library names, on this object's own vtable.
    HRESULT invokeThroughTypeLibrary(DISPID member, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argError) {
        return guarded([&] {
            CComPtr<ITypeInfo> info;
            RETURN_IF_FAILED(typeInfoOf(__uuidof(I), info.put()));
            return DispInvoke(static_cast<I*>(this), info.get(), member, flags, params, result,
                              exception, argError);
        });
    }
};

}  // namespace pelux::win32
