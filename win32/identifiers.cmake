# The component's identifiers, read from where they are defined: the class and library IDs from
# win32/PeluxBar.idl, the toolbar button's GUID from the core's class table. Included by both
# builds, with PELUX_ROOT (the source tree) and PELUX_IDS_DIR set: writes band_identifiers.h
# there, which the core's class table includes, and identifiers.sh for scripts/test-win32.sh.
set(PELUX_IDL_FILE ${PELUX_ROOT}/win32/PeluxBar.idl)
set(PELUX_CLASS_TABLE ${PELUX_ROOT}/src/server/class_table.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PELUX_IDL_FILE} ${PELUX_CLASS_TABLE})
file(READ ${PELUX_IDL_FILE} pelux_idl)
file(READ ${PELUX_CLASS_TABLE} pelux_class_table)

# The uuid of the IDL declaration that follows its attribute list, in registry form.
function(pelux_idl_uuid out declaration)
  string(REGEX MATCH "uuid\\(([0-9A-Fa-f-]+)\\)[^]]*\\][ \t\r\n]*${declaration}" found "${pelux_idl}")
  if(NOT found)
    message(FATAL_ERROR "PeluxBar.idl declares no uuid for '${declaration}'")
  endif()
  string(TOUPPER "{${CMAKE_MATCH_1}}" id)
  set(${out} "${id}" PARENT_SCOPE)
endfunction()

pelux_idl_uuid(PELUX_BAND_CLSID "coclass CPeluxBand")
pelux_idl_uuid(PELUX_GOOGLE_CLSID "coclass CGoogle")
pelux_idl_uuid(PELUX_TYPELIB_ID "library PeluxBarLib")
string(REGEX MATCH "kToolbarButtonId = u\"({[0-9A-Fa-f-]+})\"" found "${pelux_class_table}")
if(NOT found)
  message(FATAL_ERROR "class_table.h defines no kToolbarButtonId")
endif()
string(TOUPPER "${CMAKE_MATCH_1}" PELUX_BUTTON_ID)

file(CONFIGURE OUTPUT ${PELUX_IDS_DIR}/band_identifiers.h CONTENT
"// Written by win32/identifiers.cmake from win32/PeluxBar.idl; change the IDL, not this file.
#pragma once

#include <string_view>

namespace pelux {

// Registry form, braces included.
inline constexpr std::u16string_view kPeluxBandClsid = u\"@PELUX_BAND_CLSID@\";
inline constexpr std::u16string_view kGoogleClsid = u\"@PELUX_GOOGLE_CLSID@\";
inline constexpr std::u16string_view kTypeLibraryId = u\"@PELUX_TYPELIB_ID@\";

}  // namespace pelux
" @ONLY)

file(CONFIGURE OUTPUT ${PELUX_IDS_DIR}/identifiers.sh CONTENT
"# Generated from PeluxBar.idl and src/server/class_table.h by win32/identifiers.cmake.
PELUX_BAND_CLSID='@PELUX_BAND_CLSID@'
PELUX_GOOGLE_CLSID='@PELUX_GOOGLE_CLSID@'
PELUX_TYPELIB_ID='@PELUX_TYPELIB_ID@'
PELUX_BUTTON_ID='@PELUX_BUTTON_ID@'
" @ONLY)
