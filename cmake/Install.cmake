# SPDX-License-Identifier: GPL-3.0-or-later
# Desktop integration (entry, icons, AppStream metadata, manual pages) and the
# Debian package.

set(_data ${CMAKE_SOURCE_DIR}/data)
install(FILES ${_data}/desktop/invalid.tessaly.Tessaly.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_data}/desktop/invalid.tessaly.Tessaly.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${_data}/icons/tessaly-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tessaly.png)
endforeach()
install(FILES ${_data}/icons/tessaly.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual pages and the changelog go in compressed with 'gzip -9n' (no name,
# no time stamp), as Debian wants them; the build tree gets them where the
# prefix does.
set(TESSALY_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/tessaly)
set(_compressed)
foreach(pair IN ITEMS "man/tessaly.1=${CMAKE_INSTALL_MANDIR}/man1/tessaly.1"
                      "man/tessaly-cli.1=${CMAKE_INSTALL_MANDIR}/man1/tessaly-cli.1"
                      "debian/changelog=${TESSALY_DOC_INSTALL_DIR}/changelog")
  string(REGEX MATCH "^[^=]*" from "${pair}")
  string(REGEX REPLACE "^[^=]*=" "" to "${pair}")
  get_filename_component(dir ${to} DIRECTORY)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${to}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${_data}/${from} ${CMAKE_BINARY_DIR}/${to}
    COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/${to}
    DEPENDS ${_data}/${from}
    VERBATIM)
  install(FILES ${CMAKE_BINARY_DIR}/${to}.gz DESTINATION ${dir})
  list(APPEND _compressed ${CMAKE_BINARY_DIR}/${to}.gz)
endforeach()
add_custom_target(tessaly_docs ALL DEPENDS ${_compressed})
install(FILES ${_data}/debian/copyright DESTINATION ${TESSALY_DOC_INSTALL_DIR})
install(FILES ${_data}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tessaly)

# The changelog's latest entry is the version being built.
file(STRINGS ${_data}/debian/changelog _latest LIMIT_COUNT 1)
if(NOT _latest MATCHES "^tessaly \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "data/debian/changelog does not start with version ${PROJECT_VERSION}: ${_latest}")
endif()

set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "Tessaly")
set(CPACK_PACKAGE_CONTACT "Tessaly <support@tessaly.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese fortune-telling readings with a lunar calendar")
set(CPACK_PACKAGE_DESCRIPTION "Tessaly works out the five grids of a name, the lifetime bone weight,\nthis year's zodiac and star-sign forecasts and more, and shows them as one\npage to restyle, print or save. A lunar month calendar picks the birthday.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian keeps that section for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the shared libraries: the window system plugins, the multimedia
# backend for the click sound, the fonts the pages are set in, and Qt's own
# texts in Chinese (the buttons of the message boxes, the file dialog). The
# skin's pictures are PNG files; the SVG plugins only draw the icon theme's
# SVG icons in Qt's file dialog.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6multimedia6, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# A stripped install (the package's) also loses the compilers' .comment notes,
# as Debian's own stripping does; CPack's strip keeps them. This runs after
# every other install rule.
install(CODE "set(_tessaly_objcopy \"${CMAKE_OBJCOPY}\")
  set(_tessaly_binaries \"${CMAKE_INSTALL_BINDIR}/tessaly*;lib/tessaly/*.so\")")
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(_pattern IN LISTS _tessaly_binaries)
      file(GLOB _found "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${_pattern}")
      foreach(_binary IN LISTS _found)
        execute_process(COMMAND "${_tessaly_objcopy}" --remove-section=.comment "${_binary}"
                        COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endforeach()
  endif()
]])
include(CPack)
