// DllRegisterServer and DllUnregisterServer: the component's toolbar script, the class entries
// of each class and the type library.
#pragma once

#include <windows.h>

namespace pelux::win32 {

HRESULT registerServer(bool install);

}  // namespace pelux::win32
