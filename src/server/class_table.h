// The component's classes and identifiers, and the registry entries each class writes.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "band_identifiers.h"
#include "server/registration_script.h"

namespace pelux {

// The class and type library IDs (kPeluxBandClsid, kGoogleClsid, kTypeLibraryId) come from the
// Windows shell's IDL through the generated band_identifiers.h; the toolbar button's GUID, which
// no IDL declares, is defined here, in registry form, braces included.
inline constexpr std::u16string_view kToolbarButtonId = u"{2DC14C1C-9612-40FB-981B-59324ABB1C2A}";

struct ClassRow {
    std::u16string_view clsid;
    std::u16string_view interfaceName;
    std::u16string_view versionIndependentProgId;
    std::u16string_view progId;
    std::u16string_view description;
};

inline constexpr std::array<ClassRow, 2> kClassTable{{
    {kPeluxBandClsid, u"IPeluxBand", u"PeluxBar.PeluxBand", u"PeluxBar.PeluxBand.1",
     u"CPeluxBand Object"},
    {kGoogleClsid, u"IGoogle", u"PeluxBar.Google", u"PeluxBar.Google.1", u"CGoogle Object"},
}};

// The five variables of a registration script, and the band's CLSID and the toolbar button's
// GUID (BANDCLSID, BUTTONID), so that the component's own script names them without copies. A
// path of the module of 260 characters or more is refused by the shell before it gets here.
ScriptVariables registrationVariables(std::u16string_view modulePath,
                                      std::u16string_view friendlyName);

// The class-entry script of one class: its two ProgID keys and its CLSID key. Run with the
// variables of registrationVariables(path, row.description).
std::u16string classEntryScript(const ClassRow& row);

}  // namespace pelux
