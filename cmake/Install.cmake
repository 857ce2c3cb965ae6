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
install(FILES ${_data}/man/tessaly.1 ${_data}/man/tessaly-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "Tessaly")
set(CPACK_PACKAGE_CONTACT "Tessaly <support@tessaly.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chinese fortune-telling readings with a lunar calendar")
set(CPACK_PACKAGE_DESCRIPTION "Tessaly works out the five grids of a name, the lifetime bone weight,\nthis year's zodiac and star-sign forecasts and more, and shows them as one\npage to restyle, print or save. A lunar month calendar picks the birthday.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the shared libraries: the window system plugins, the multimedia
# backend for the click sound, the fonts the pages are set in, and Qt's own
# texts in Chinese (the buttons of the message boxes, the file dialog).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6multimedia6, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
