# Installing and packaging: `cmake --install` lays the game out as a Linux
# desktop application (the program in bin/, its data in share/korvelt/, the
# desktop entry, icons, AppStream metainfo and manual page beside), and
# `cpack -G DEB` makes a Debian package from the same rules. The developer
# tools, tests and benchmarks are not installed.

include(GNUInstallDirs)

set(KORVELT_DATA_DIR "" CACHE PATH
    "Where the installed game looks for its data when no other place holds it (empty: <prefix>/share/korvelt)")
# Worked out on every configure, so a changed install prefix is followed.
set(korvelt_data_dir "${KORVELT_DATA_DIR}")
if(NOT korvelt_data_dir)
  set(korvelt_data_dir "${CMAKE_INSTALL_FULL_DATADIR}/korvelt")
endif()
# Only the file that searches for the data folder learns it, so changing it
# rebuilds one file.
set_source_files_properties(${CMAKE_SOURCE_DIR}/game/app/GameFolderLookup.cpp PROPERTIES
  COMPILE_DEFINITIONS "KORVELT_CONFIGURED_DATA_DIR=\"${korvelt_data_dir}\"")

# The version has one home, the game's own header.
file(STRINGS ${CMAKE_SOURCE_DIR}/game/app/Version.h korvelt_version_line REGEX "KorveltVersion = \"")
string(REGEX REPLACE ".*\"([^\"]*)\".*" "\\1" KORVELT_VERSION "${korvelt_version_line}")

# Where the metainfo's screenshots are published (docs/screenshots/ of the
# repository); AppStream asks for web addresses.
set(KORVELT_SCREENSHOT_URL "https://wendmoor.example/korvelt/screenshots" CACHE STRING
    "Web folder that serves docs/screenshots/ for the AppStream metainfo")

set(KORVELT_APP_ID com.wendmoor.Korvelt)
set(KORVELT_DIST_DIR ${CMAKE_SOURCE_DIR}/dist/linux)

if(TARGET korvelt)
  install(TARGETS korvelt RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(KORVELT_ASSETS)
  # The folders the manifest reads from, and nothing else of the game
  # folder: no contact sheet, mock-ups, icons or stamps (all named "_..."),
  # no demos, screenshots or logs a developer's run left there.
  foreach(folder fonts images levels music properties sounds)
    install(DIRECTORY ${KORVELT_GAME_DIR}/${folder} DESTINATION ${CMAKE_INSTALL_DATADIR}/korvelt
            PATTERN "_*" EXCLUDE PATTERN ".*" EXCLUDE)
  endforeach()
  foreach(size 48 64 128 256)
    install(FILES ${CMAKE_BINARY_DIR}/icons/korvelt-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME korvelt.png)
  endforeach()
endif()

configure_file(${KORVELT_DIST_DIR}/${KORVELT_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/dist/${KORVELT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dist/${KORVELT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KORVELT_DIST_DIR}/${KORVELT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Manual pages are installed compressed, as Debian's policy and man-db expect;
# -n keeps the name and time out of the archive so the package is reproducible.
configure_file(${KORVELT_DIST_DIR}/korvelt.6.in ${CMAKE_BINARY_DIR}/dist/korvelt.6 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/korvelt.6.gz
  COMMAND sh -c "gzip -9n -c korvelt.6 > korvelt.6.gz"
  DEPENDS ${CMAKE_BINARY_DIR}/dist/korvelt.6
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/dist VERBATIM)
add_custom_target(korvelt_manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/dist/korvelt.6.gz)
if(TARGET korvelt)
  # Packaging builds only the game's targets, so the page comes with the game.
  add_dependencies(korvelt korvelt_manpage)
endif()
install(FILES ${CMAKE_BINARY_DIR}/dist/korvelt.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The Debian package: the same files under /usr, its library dependencies
# worked out by dpkg-shlibdeps from the program itself.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvelt)
set(CPACK_PACKAGE_VERSION ${KORVELT_VERSION})
set(CPACK_PACKAGE_VENDOR Wendmoor)
set(CPACK_PACKAGE_CONTACT "Wendmoor <games@wendmoor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "domino puzzle game with fish tiles")
set(CPACK_PACKAGE_DESCRIPTION "Korvelt is a domino puzzle game: take open fish tiles from stacked layers\nand lay them on the play line, in drag mode (50 levels) or click mode\n(60 levels), with a stage map, player profiles, high scores and saved\ngames. The texts are in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
