# What an install lays out beside the programs (which src/app installs into bin/,
# with their help and images in share/arkivo/). The programs find their data as
# ../share/arkivo relative to their own directory, so the install stays relocatable
# as long as bin/ and share/ are siblings.
include(GNUInstallDirs)

if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
    message(FATAL_ERROR "The programs look for their data in ../share/arkivo beside bin/: "
        "CMAKE_INSTALL_BINDIR must be bin and CMAKE_INSTALL_DATADIR share")
endif()

set(ARKIVO_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

# The manual page, compressed as Debian wants it (gzip -9n keeps no name or time,
# so the output depends on the text alone).
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/arkivo.1.gz
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/docs/arkivo.1 > ${PROJECT_BINARY_DIR}/arkivo.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/arkivo.1)
add_custom_target(arkivo_compressed_docs ALL DEPENDS ${PROJECT_BINARY_DIR}/arkivo.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/arkivo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

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
