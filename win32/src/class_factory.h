// The class objects of the component, one per class, each created once.
#pragma once

#include <windows.h>

namespace pelux::win32 {

// The class object of clsid asked for riid; CLASS_E_CLASSNOTAVAILABLE for another class.
HRESULT getClassObject(REFCLSID clsid, REFIID riid, void** out);

}  // namespace pelux::win32
