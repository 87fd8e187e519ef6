# The Debian package (CPack's DEB generator): the executable, the full dictionaries with their
# prepared images, the extension, and the browsers' native-messaging host manifests.
# scripts/package.sh prepares the dictionaries and the host manifests, and runs cpack;
# PELUX_PACKAGE_DICT_DIR names the dictionaries.

set(PELUX_PACKAGE_DICT_DIR "" CACHE PATH "The full dictionaries and their images to put in the package")
# The extension's version is the project's: a package whose parts disagree is refused here.
file(READ ${CMAKE_SOURCE_DIR}/extension/manifest.json PELUX_EXTENSION_MANIFEST)
string(JSON PELUX_EXTENSION_VERSION GET "${PELUX_EXTENSION_MANIFEST}" version)
if(NOT PELUX_EXTENSION_VERSION STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "extension/manifest.json has version ${PELUX_EXTENSION_VERSION}, "
                      "CMakeLists.txt has ${PROJECT_VERSION}: make them agree")
endif()

set(PELUX_HOST_NAME "com.tandrel.peluxbar")
set(PELUX_MAINTAINER "PeluxBar developers <peluxbar@tandrel.com>")
# The host manifests are peluxbar's own (`peluxbar install --print-manifest`), which
# scripts/package.sh writes here before it runs cpack.
set(package_dir ${CMAKE_BINARY_DIR}/packaging)

# The copyright file: each dictionary source's licence, and PeluxBar's own from LICENSE.
if(EXISTS ${CMAKE_SOURCE_DIR}/LICENSE)
  file(READ ${CMAKE_SOURCE_DIR}/LICENSE own_license)
else()
  set(own_license "No licence file accompanies the PeluxBar sources yet. Until one does, the\n\
PeluxBar developers reserve all rights in PeluxBar's own files.")
endif()
string(STRIP "${own_license}" own_license)
string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" own_license "${own_license}")
string(REPLACE "\n" "\n " PELUX_OWN_LICENSE " ${own_license}")
set(PELUX_CEDICT_PACKAGE_VERSION "2.4.0")
set(PELUX_CEDICT_DATE "2019-05-27")
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${package_dir}/copyright @ONLY)

string(TIMESTAMP PELUX_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
# The version carries no Debian revision (a native package), so the changelog is changelog.gz.
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${package_dir}/changelog @ONLY)
execute_process(COMMAND gzip -9nfk ${package_dir}/changelog COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/peluxbar.1 ${package_dir}/peluxbar.1 COPYONLY)
execute_process(COMMAND gzip -9nfk ${package_dir}/peluxbar.1 COMMAND_ERROR_IS_FATAL ANY)

# Files under /etc are the administrator's to edit; an upgrade asks before replacing them.
set(chromium_manifest_dirs /etc/chromium/native-messaging-hosts /etc/opt/chrome/native-messaging-hosts)
set(conffiles "")
foreach(dir ${chromium_manifest_dirs})
  install(FILES ${package_dir}/chromium/${PELUX_HOST_NAME}.json DESTINATION ${dir} COMPONENT package EXCLUDE_FROM_ALL)
  string(APPEND conffiles "${dir}/${PELUX_HOST_NAME}.json\n")
endforeach()
file(WRITE ${package_dir}/conffiles "${conffiles}")
install(FILES ${package_dir}/firefox/${PELUX_HOST_NAME}.json DESTINATION /usr/lib/mozilla/native-messaging-hosts
        COMPONENT package EXCLUDE_FROM_ALL)

install(TARGETS peluxbar RUNTIME DESTINATION bin COMPONENT package EXCLUDE_FROM_ALL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/extension/ DESTINATION share/peluxbar/extension COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${package_dir}/copyright ${package_dir}/changelog.gz DESTINATION share/doc/peluxbar
        COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${package_dir}/peluxbar.1.gz DESTINATION share/man/man1 COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides
        RENAME peluxbar COMPONENT package EXCLUDE_FROM_ALL)
if(PELUX_PACKAGE_DICT_DIR)
  set(dict_files cedict_ts.uni UNICHIN.TXT edict.uni kanjidic.uni irregularverbs.txt
      peluxbar-chinese.image peluxbar-japanese.image)
  list(TRANSFORM dict_files PREPEND ${PELUX_PACKAGE_DICT_DIR}/)
  install(FILES ${dict_files} DESTINATION share/peluxbar/dict COMPONENT package EXCLUDE_FROM_ALL)
endif()

# cpack installs what scripts/package.sh built (peluxbar alone), without building every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME peluxbar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
set(CPACK_COMPONENTS_ALL package)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};PeluxBar;package;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "${PELUX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PELUX_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${package_dir}/conffiles)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese and Japanese translation under the mouse pointer")
# Lines of at most 80 columns, as Debian's control files want them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "PeluxBar shows the dictionary entry of the Chinese or Japanese word under\n"
    "the mouse pointer in a band at the top of each browser tab, and finds\n"
    "English words the other way round. This package holds the command-line\n"
    "tool and native messaging host peluxbar, the CC-CEDICT, EDICT and KANJIDIC\n"
    "dictionaries, the browser extension to load into Chromium or Firefox, and\n"
    "the host manifests that let the extension start peluxbar.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
include(CPack)
