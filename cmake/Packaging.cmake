# Packages, made by cpack (scripts/package.sh makes both): on Linux a .deb of the editor and
# recwright-cli, with its desktop entry and icons, depending on the Qt 6 runtime packages; on
# Windows a .zip of recwright.exe with the Qt it needs, recwright-cli.exe, the README and the
# licence texts. Recwright itself is under the GNU GPL, version 3 or any later (LICENSE): the
# .deb says so in its copyright file, the .zip with the full text in licences/.
include(GNUInstallDirs)
set(CPACK_PACKAGE_NAME recwright)
set(CPACK_PACKAGE_VENDOR "Recwright")
set(CPACK_PACKAGE_CONTACT "Recwright developers <recwright@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor of a game server's item, magic and monster tables")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licences RENAME recwright-GPL-3.0-or-later.txt)
  if(TARGET recwright)
    include(cmake/WindowsDeployment.cmake)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME recwright-${PROJECT_VERSION}-windows-x64)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
  # Debian's machine-readable form, which points to the system's copy of the GPL's text.
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian-copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME}
          RENAME copyright)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # All four parts of the version, as the program and the zip give it.
  set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Editor of a game server's item, magic and monster tables\n Opens, edits, compares, exports and imports the tables stditem.dat, magic.dat and\n monster.dat; recwright-cli does the same from the command line.")
  # The libraries from what the programs link (dpkg-shlibdeps); the window system's plugin
  # and a font with Chinese characters are loaded, not linked, so they are named here.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk")
endif()
include(CPack)
