// CGoogle as a COM class: the scriptable online translation object.
#pragma once

#include "identifiers.h"
#include "module.h"

namespace pelux::win32 {

class CGoogle final : public ComObject, public IGoogle {
public:
    explicit CGoogle(IUnknown* outer) : ComObject(outer) {}

    PELUX_FORWARD_IUNKNOWN

    // IGoogle (dual: IDispatch first)
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;
    STDMETHODIMP GoogleTranslate(VARIANT txt) override;

protected:
    void* findInterface(REFIID riid) override;
};

}  // namespace pelux::win32
