# The component's identifiers, read from where they are defined: the class and library IDs from
# PeluxBar.idl, the toolbar button's GUID from the core's class table. The class table's copies
# of the IDL's IDs (the registration scripts need them on Linux too) must agree with the IDL, or
# the build stops here. Writes generated/identifiers.sh for scripts/test-win32.sh.
set(PELUX_IDL_FILE ${CMAKE_SOURCE_DIR}/PeluxBar.idl)
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

function(pelux_class_table_id out name)
  string(REGEX MATCH "${name} = u\"({[0-9A-Fa-f-]+})\"" found "${pelux_class_table}")
  if(NOT found)
    message(FATAL_ERROR "class_table.h defines no ${name}")
  endif()
  string(TOUPPER "${CMAKE_MATCH_1}" id)
  set(${out} "${id}" PARENT_SCOPE)
endfunction()

pelux_idl_uuid(PELUX_BAND_CLSID "coclass CPeluxBand")
pelux_idl_uuid(PELUX_GOOGLE_CLSID "coclass CGoogle")
pelux_idl_uuid(PELUX_TYPELIB_ID "library PeluxBarLib")
pelux_class_table_id(PELUX_BUTTON_ID kToolbarButtonId)
foreach(pair "PELUX_BAND_CLSID;kPeluxBandClsid" "PELUX_GOOGLE_CLSID;kGoogleClsid"
             "PELUX_TYPELIB_ID;kTypeLibraryId")
  list(GET pair 0 idl_name)
  list(GET pair 1 table_name)
  pelux_class_table_id(table_id ${table_name})
  if(NOT table_id STREQUAL ${idl_name})
    message(FATAL_ERROR "class_table.h: ${table_name} is ${table_id}, PeluxBar.idl says ${${idl_name}}")
  endif()
endforeach()

file(CONFIGURE OUTPUT ${PELUX_GEN}/identifiers.sh CONTENT
"# Generated from PeluxBar.idl and src/server/class_table.h by win32/identifiers.cmake.
PELUX_BAND_CLSID='@PELUX_BAND_CLSID@'
PELUX_GOOGLE_CLSID='@PELUX_GOOGLE_CLSID@'
PELUX_TYPELIB_ID='@PELUX_TYPELIB_ID@'
PELUX_BUTTON_ID='@PELUX_BUTTON_ID@'
" @ONLY)
