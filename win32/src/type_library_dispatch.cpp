#include "type_library_dispatch.h"

#include <oleauto.h>

#include <string>

namespace pelux::win32 {

HRESULT typeInfoOf(REFGUID guid, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    const std::wstring path = modulePath();
    if (path.empty()) return TYPE_E_CANTLOADLIBRARY;
    CComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put())) || !library)
        return TYPE_E_CANTLOADLIBRARY;
    return library->GetTypeInfoOfGuid(guid, info);
}

}  // namespace pelux::win32
