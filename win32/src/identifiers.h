// The component's own interfaces and identifiers: widl's declarations from PeluxBar.idl, under
// the names the component's code uses.
#pragma once

#include <oaidl.h>
#include <unknwn.h>

#include "PeluxBar.h"

namespace pelux::win32 {

inline const GUID& kClsidPeluxBand = CLSID_CPeluxBand;
inline const GUID& kClsidGoogle = CLSID_CGoogle;
inline const GUID& kTypeLibraryGuid = LIBID_PeluxBarLib;

}  // namespace pelux::win32
