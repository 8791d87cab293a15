# Installing and packaging. `cmake --install build --prefix P` puts the executable, Quintara.CFG
# and the default skin together in P/lib/quintara (the player reads its configuration beside
# itself, wherever that is), a link P/bin/quintara to it, and the desktop entry, the hicolor
# icons and the AppStream metainfo under P/share. `cpack -G DEB` makes the Debian package.
include(GNUInstallDirs)

set(QUINTARA_APP_ID com.halvex.Quintara)
set(QUINTARA_INSTALL_APPDIR ${CMAKE_INSTALL_LIBDIR}/quintara)

install(TARGETS quintara RUNTIME DESTINATION ${QUINTARA_INSTALL_APPDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/Quintara.CFG DESTINATION ${QUINTARA_INSTALL_APPDIR})
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/resources/skin DESTINATION ${QUINTARA_INSTALL_APPDIR})

# A relative link, so that the tree works under any prefix and inside the package.
file(RELATIVE_PATH QUINTARA_LINK_TARGET /${CMAKE_INSTALL_BINDIR} /${QUINTARA_INSTALL_APPDIR}/quintara)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/install-link)
file(CREATE_LINK ${QUINTARA_LINK_TARGET} ${CMAKE_CURRENT_BINARY_DIR}/install-link/quintara SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/install-link/quintara DESTINATION ${CMAKE_INSTALL_BINDIR})

set(QUINTARA_DESKTOP_DIR ${CMAKE_CURRENT_SOURCE_DIR}/resources/desktop)
install(FILES ${QUINTARA_DESKTOP_DIR}/${QUINTARA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUINTARA_DESKTOP_DIR}/${QUINTARA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The Debian package: its library dependencies found by dpkg-shlibdeps; Qt's platform plugins
# are only recommended by Qt's libraries, yet without them no window opens.
set(CPACK_PACKAGE_NAME quintara)
set(CPACK_PACKAGE_VENDOR Halvex)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Video player for MPEG files and Video CDs with a skinned control panel")
set(CPACK_PACKAGE_CONTACT "Halvex <quintara@halvex.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udisks2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quintara plays MPEG files, AVI and MP4 files and Video CDs from a play list, behind a\n bitmap-skinned control panel with an LED display and a separately skinned video window.")
include(CPack)
