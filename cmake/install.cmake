# Installing and packaging. `cmake --install build --prefix P` puts the executable in
# P/lib/quintara, and beside it links to what the player reads there (it looks for its
# configuration and skin beside itself, wherever that is): the skin, the same on every
# architecture, lies in P/share/quintara; Quintara.CFG, the administrator's, in /etc/quintara
# when P is /usr (the package's prefix, where it is a conffile), else in P/etc/quintara. A link
# P/bin/quintara leads to the player; the desktop entry, the hicolor icons, the AppStream
# metainfo, the manual page, the copyright and the changelog go under P/share.
# `cpack -G DEB` makes the Debian package.
include(GNUInstallDirs)

set(QUINTARA_APP_ID com.halvex.Quintara)
set(QUINTARA_INSTALL_APPDIR ${CMAKE_INSTALL_LIBDIR}/quintara)
set(QUINTARA_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/quintara)
# Debian's documentation folder is named for the package, not for the project.
set(QUINTARA_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quintara)
set(QUINTARA_INSTALL_LINKS ${CMAKE_CURRENT_BINARY_DIR}/install-links)
set(QUINTARA_DEBIAN_DIR ${CMAKE_CURRENT_SOURCE_DIR}/resources/debian)
# Nothing else ties the changelog to the version the package gets.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUINTARA_DEBIAN_DIR}/changelog)
file(STRINGS ${QUINTARA_DEBIAN_DIR}/changelog QUINTARA_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT QUINTARA_CHANGELOG_TOP MATCHES "^quintara \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "resources/debian/changelog has no entry on top for version ${PROJECT_VERSION}")
endif()

# Installs DESTINATION/NAME, a relative link to TARGET (both below the prefix), so that the tree
# works under any prefix and inside the package.
function(quintara_install_link destination name target)
  file(RELATIVE_PATH relative /${destination} /${target})
  file(MAKE_DIRECTORY ${QUINTARA_INSTALL_LINKS}/${destination})
  file(CREATE_LINK ${relative} ${QUINTARA_INSTALL_LINKS}/${destination}/${name} SYMBOLIC)
  install(FILES ${QUINTARA_INSTALL_LINKS}/${destination}/${name} DESTINATION ${destination})
endfunction()

install(TARGETS quintara RUNTIME DESTINATION ${QUINTARA_INSTALL_APPDIR})
quintara_install_link(${CMAKE_INSTALL_BINDIR} quintara ${QUINTARA_INSTALL_APPDIR}/quintara)
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/resources/skin DESTINATION ${QUINTARA_INSTALL_SHAREDIR})
quintara_install_link(${QUINTARA_INSTALL_APPDIR} skin ${QUINTARA_INSTALL_SHAREDIR}/skin)

# Where Quintara.CFG goes depends on the prefix, known only at install time (`--prefix`). From
# /usr to /etc the link is absolute, as Debian wants for links between top-level folders.
file(RELATIVE_PATH QUINTARA_CFG_LINK /${QUINTARA_INSTALL_APPDIR} /${CMAKE_INSTALL_SYSCONFDIR}/quintara/Quintara.CFG)
file(MAKE_DIRECTORY ${QUINTARA_INSTALL_LINKS}/relative ${QUINTARA_INSTALL_LINKS}/absolute)
file(CREATE_LINK ${QUINTARA_CFG_LINK} ${QUINTARA_INSTALL_LINKS}/relative/Quintara.CFG SYMBOLIC)
file(CREATE_LINK /etc/quintara/Quintara.CFG ${QUINTARA_INSTALL_LINKS}/absolute/Quintara.CFG SYMBOLIC)
install(CODE "set(QUINTARA_CFG \"${CMAKE_CURRENT_SOURCE_DIR}/resources/Quintara.CFG\")
  set(QUINTARA_LINKS \"${QUINTARA_INSTALL_LINKS}\")
  set(QUINTARA_APPDIR \"${QUINTARA_INSTALL_APPDIR}\")
  set(QUINTARA_SYSCONFDIR \"${CMAKE_INSTALL_SYSCONFDIR}\")")
install(CODE [[
  string(REGEX REPLACE "(.)/+$" "\\1" QUINTARA_PREFIX "${CMAKE_INSTALL_PREFIX}")
  if(QUINTARA_PREFIX STREQUAL "/usr")
    set(QUINTARA_ETC /etc/quintara)
    set(QUINTARA_LINK ${QUINTARA_LINKS}/absolute/Quintara.CFG)
  else()
    set(QUINTARA_ETC ${CMAKE_INSTALL_PREFIX}/${QUINTARA_SYSCONFDIR}/quintara)
    set(QUINTARA_LINK ${QUINTARA_LINKS}/relative/Quintara.CFG)
  endif()
  file(INSTALL ${QUINTARA_CFG} DESTINATION ${QUINTARA_ETC})
  file(INSTALL ${QUINTARA_LINK} DESTINATION ${CMAKE_INSTALL_PREFIX}/${QUINTARA_APPDIR})
]])

set(QUINTARA_DESKTOP_DIR ${CMAKE_CURRENT_SOURCE_DIR}/resources/desktop)
install(FILES ${QUINTARA_DESKTOP_DIR}/${QUINTARA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUINTARA_DESKTOP_DIR}/${QUINTARA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The manual page and the changelog, compressed as Debian wants them: at most, without a name
# or a time in the header, so that the same sources give the same bytes.
find_program(QUINTARA_GZIP gzip REQUIRED)
set(QUINTARA_GZIPPED ${CMAKE_CURRENT_BINARY_DIR}/gzipped)
set(QUINTARA_GZIP_OUTPUTS)
foreach(source resources/man/quintara.1 resources/debian/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(
    OUTPUT ${QUINTARA_GZIPPED}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${QUINTARA_GZIPPED}/${name}
    COMMAND ${QUINTARA_GZIP} -9nf ${QUINTARA_GZIPPED}/${name}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND QUINTARA_GZIP_OUTPUTS ${QUINTARA_GZIPPED}/${name}.gz)
endforeach()
add_custom_target(quintara_gzipped_docs ALL DEPENDS ${QUINTARA_GZIP_OUTPUTS})
install(FILES ${QUINTARA_GZIPPED}/quintara.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QUINTARA_GZIPPED}/changelog.gz ${QUINTARA_DEBIAN_DIR}/copyright DESTINATION ${QUINTARA_INSTALL_DOCDIR})

# The Debian package: its library dependencies found by dpkg-shlibdeps; Qt's platform plugins
# are only recommended by Qt's libraries, yet without them no window opens, and on a session
# with Wayland alone none opens without Qt's Wayland plugin.
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
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, udisks2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${QUINTARA_DEBIAN_DIR}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quintara plays MPEG files, AVI and MP4 files and Video CDs from a play list,\nbehind a bitmap-skinned control panel with an LED display and a separately\nskinned video window.")
include(CPack)
