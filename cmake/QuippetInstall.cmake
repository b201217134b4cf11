# Install rules, the menu entry, icons, AppStream metadata, the manual page and the Debian
# package. The installed program tells it is installed by this layout (bin/ beside
# share/applications/<app id>.desktop), so nothing here compiles a path into the binary.
include(GNUInstallDirs)

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)

set(quippet_data ${PROJECT_SOURCE_DIR}/data)
set(quippet_generated ${PROJECT_BINARY_DIR}/install)

# PNG icons rendered from our own SVG at the sizes desktops look for.
set(quippet_icon_sizes 48 64 128 256)
set(quippet_icon_pngs)
foreach(size IN LISTS quippet_icon_sizes)
  set(png ${quippet_generated}/icons/${size}/${QUIPPET_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${quippet_generated}/icons/${size}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --keep-aspect-ratio
            --output ${png} ${PROJECT_SOURCE_DIR}/resources/quippet.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/quippet.svg
    COMMENT "Rendering the ${size} px icon" VERBATIM)
  list(APPEND quippet_icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants manual pages and the changelog compressed, reproducibly (-n: no time stamp).
function(quippet_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP} -9 -n -c ${source} > ${output}
    DEPENDS ${source} COMMENT "Compressing ${output}" VERBATIM)
endfunction()
quippet_gzip(${quippet_data}/quippet.1 ${quippet_generated}/quippet.1.gz)
quippet_gzip(${quippet_data}/changelog ${quippet_generated}/changelog.gz)

add_custom_target(quippet_install_data ALL
  DEPENDS ${quippet_icon_pngs} ${quippet_generated}/quippet.1.gz ${quippet_generated}/changelog.gz)

install(TARGETS quippet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${quippet_data}/${QUIPPET_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${quippet_data}/${QUIPPET_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/quippet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUIPPET_APP_ID}.svg)
install(FILES ${quippet_generated}/quippet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${quippet_data}/copyright ${quippet_generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# cpack -G DEB in the optimised build: quippet_<version>_<arch>.deb with files under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quippet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Team Quippet")
set(CPACK_PACKAGE_CONTACT "Team Quippet <team@quippet.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keep reusable text snippets at hand")
# The synopsis is the summary above; CPack indents these lines itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Quippet keeps a personal list of reusable text snippets in a small window
and moves text between that list, the clipboard, other programs and plain
text files by drag and drop.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Team Quippet <team@quippet.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://quippet.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, so shlibdeps cannot see them: the platform plugins and themes beyond X
# (which comes with libqt6gui6), the SVG icon engine and image format, and Wayland.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
