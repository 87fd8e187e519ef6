// CGoogle as a COM class: the scriptable online translation object.
#pragma once

#include "identifiers.h"
#include "module.h"
#include "type_library_dispatch.h"

namespace pelux::win32 {

class CGoogle final : public CComObject, public CTypeLibraryDispatch<IGoogle> {
public:
    explicit CGoogle(IUnknown* outer) : CComObject(outer) {}

    PELUX_FORWARD_IUNKNOWN

    // IGoogle (dual: IDispatch first, its other methods from CTypeLibraryDispatch)
    STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;
    STDMETHODIMP GoogleTranslate(VARIANT txt) override;

protected:
    void* findInterface(REFIID riid) override;
};

}  // namespace pelux::win32
