# What `cmake --install` lays out, and the Debian package `cpack -G DEB` makes of it:
#   bin/talvikcfg, bin/talvik-sim
#   share/applications/<id>.desktop, share/metainfo/<id>.metainfo.xml
#   share/icons/hicolor/{scalable,16x16,...,256x256}/apps/talvikcfg.{svg,png}
#   share/man/man1/talvikcfg.1.gz, talvik-sim.1.gz
#   share/doc/talvikcfg/copyright, changelog.gz
# Everything names its version from project(); the release date goes with it.
set(TALVIK_RELEASE_DATE 2026-12-10 CACHE STRING "Date of the release of PROJECT_VERSION (YYYY-MM-DD)")
set(TALVIK_HOMEPAGE_URL "https://talvik.example/talvikcfg" CACHE STRING "The program's home page")
set(TALVIK_SCREENSHOT_URL "${TALVIK_HOMEPAGE_URL}/main-window.png" CACHE STRING
    "Where software centres fetch docs/main-window.png from")
set(TALVIK_COPYRIGHT "2026 TALVIK" CACHE STRING "Copyright line of the package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TALVIK <support@talvik.example>" CACHE STRING "Maintainer of the package")

set(pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(pkg_out ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS talvikcfg talvik-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${pkg_src}/${TALVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${pkg_src}/${TALVIK_APP_ID}.metainfo.xml.in ${pkg_out}/${TALVIK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${pkg_out}/${TALVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the drawing itself, and the sizes the icon theme looks in first (48x48 at least).
set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${pkg_src}/icons/talvikcfg.svg DESTINATION ${icon_dir}/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${pkg_src}/icons/talvikcfg-${size}.png DESTINATION ${icon_dir}/${size}x${size}/apps
          RENAME talvikcfg.png)
endforeach()

# Manual pages and the changelog are installed compressed, without a time stamp in the gzip header
# (the package is then the same for the same sources).
string(REPLACE "-" ";" date_parts "${TALVIK_RELEASE_DATE}")
list(GET date_parts 0 y)
list(GET date_parts 1 m)
list(GET date_parts 2 d)
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR month_index "${m} - 1")
list(GET month_names ${month_index} month_name)
set(TALVIK_RELEASE_DATE_RFC2822 "${d} ${month_name} ${y} 12:00:00 +0000")
set(gz_files "")
foreach(page talvikcfg talvik-sim)
  configure_file(${pkg_src}/man/${page}.1.in ${pkg_out}/${page}.1 @ONLY)
  list(APPEND gz_files ${pkg_out}/${page}.1)
endforeach()
configure_file(${pkg_src}/changelog.in ${pkg_out}/changelog @ONLY)
configure_file(${pkg_src}/copyright ${pkg_out}/copyright @ONLY)
list(APPEND gz_files ${pkg_out}/changelog)
set(gz_outputs "")
foreach(f ${gz_files})
  add_custom_command(OUTPUT ${f}.gz COMMAND gzip -9 -n -k -f ${f} DEPENDS ${f} VERBATIM)
  list(APPEND gz_outputs ${f}.gz)
endforeach()
add_custom_target(packaging_docs ALL DEPENDS ${gz_outputs})
install(FILES ${pkg_out}/talvikcfg.1.gz ${pkg_out}/talvik-sim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg_out}/copyright ${pkg_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvikcfg)

# The Debian package. dpkg-shlibdeps finds the libraries the programs link; Qt's Russian
# translation (the standard buttons of every question) and its X11/Wayland platform plugins are
# loaded at run time, so no linker sees them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvikcfg)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR TALVIK)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator of TALVIK dispatcher and intercom networks")
# The extended description; cpack puts the summary above it and indents it as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A service engineer connects the PC to a TALVIK network (a PD head unit,
BC line units and their AL subscriber lines) through one serial port, keeps
the network as a project file, reads and writes the devices, scans the bus,
manages device files and uploads firmware. The user interface is in Russian.

The package also holds talvik-sim, a simulated network on a pseudo-terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TALVIK_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian's place whatever the build's own prefix; the program tells it is installed by its layout.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 0)
include(CPack)
