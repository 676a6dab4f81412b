# What an install lays out beside the programs (which src/app installs into bin/,
# with their help and images in share/arkivo/), and the Debian package CPack makes
# of it (cpack -G DEB). The programs find their data as ../share/arkivo relative to
# their own directory, so the install stays relocatable as long as bin/ and share/
# are siblings.
include(GNUInstallDirs)

if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
    message(FATAL_ERROR "The programs look for their data in ../share/arkivo beside bin/: "
        "CMAKE_INSTALL_BINDIR must be bin and CMAKE_INSTALL_DATADIR share")
endif()

set(ARKIVO_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

# Manual page and Debian changelog, compressed as Debian wants them (gzip -9n keeps
# no name or time, so the output depends on the text alone).
set(man_page ${PROJECT_BINARY_DIR}/arkivo.1.gz)
set(debian_changelog ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${man_page}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/docs/arkivo.1 > ${man_page}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/arkivo.1)
add_custom_command(OUTPUT ${debian_changelog}
    COMMAND gzip -9n -c ${ARKIVO_PACKAGING}/debian/changelog > ${debian_changelog}
    DEPENDS ${ARKIVO_PACKAGING}/debian/changelog)
add_custom_target(arkivo_compressed_docs ALL DEPENDS ${man_page} ${debian_changelog})
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ARKIVO_PACKAGING}/debian/copyright ${debian_changelog}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/arkivo)

# The two windowed programs: a desktop entry and AppStream metainfo each (named by
# their component ID), and the program icon they share, drawn as SVG and rendered
# to PNG with rsvg-convert -w N -h N.
if(ARKIVO_WINDOWS)
    foreach(program IN ITEMS ArkivoNav ArkivoIE)
        install(FILES ${ARKIVO_PACKAGING}/desktop/org.quenlow.${program}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES ${ARKIVO_PACKAGING}/desktop/org.quenlow.${program}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    endforeach()
    set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${ARKIVO_PACKAGING}/desktop/org.quenlow.Arkivo.svg DESTINATION ${icons}/scalable/apps)
    foreach(size IN ITEMS 48 128 256)
        install(FILES ${ARKIVO_PACKAGING}/desktop/org.quenlow.Arkivo-${size}.png
            DESTINATION ${icons}/${size}x${size}/apps RENAME org.quenlow.Arkivo.png)
    endforeach()
endif()

# The Debian package. Its revision and maintainer come from the top entry of the
# Debian changelog, which must be for this version.
file(STRINGS ${ARKIVO_PACKAGING}/debian/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^arkivo \\(${PROJECT_VERSION}-([0-9]+)\\)")
    message(FATAL_ERROR "packaging/debian/changelog has no entry for ${PROJECT_VERSION} on top")
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_1})
file(STRINGS ${ARKIVO_PACKAGING}/debian/changelog changelog_signature REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- (.*>).*" "\\1" CPACK_PACKAGE_CONTACT "${changelog_signature}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME arkivo)
set(CPACK_PACKAGE_VENDOR Quenlow)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rescue old web-browser disk caches into offline archives")
set(CPACK_PACKAGE_DESCRIPTION [[
Arkivo reads the disk cache of Netscape Navigator 1 to 4 (FAT, FAT.DB) or of
Internet Explorer (index.dat), shows the cached items grouped by web site,
and archives the chosen items into a browsable offline copy whose pages
link to each other. Archives can be searched by address and page text, and
chosen items can be deleted from the cache.

This package holds ArkivoNav (Netscape caches), ArkivoIE (Internet Explorer
caches) and arkivo, the command-line tool over the same core.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# OpenDocument hands archives and files to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
