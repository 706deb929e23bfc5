# The Debian package (`make package`, or `cpack -G DEB` in the build folder): the installed
# layout of the programs plus what a Debian desktop expects beside them — manual pages,
# AppStream metadata, a udev rule for serial adapters, changelog and copyright.

set(MERVEX_APPSTREAM_ID org.example.mervex)
set(MERVEX_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Where the serial adapter udev rule is installed (relative to the prefix)")

find_program(MERVEX_GZIP gzip REQUIRED)
set(mervex_pkg_out ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_LIST_DIR}/${MERVEX_APPSTREAM_ID}.metainfo.xml.in
               ${mervex_pkg_out}/${MERVEX_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${mervex_pkg_out}/changelog @ONLY)

# Debian wants manual pages and the changelog compressed, without a time stamp (-n).
set(mervex_gz_files)
foreach(src man/mervex.1 man/mervex-cli.1 man/mervex-meter-sim.1 ${mervex_pkg_out}/changelog)
    get_filename_component(name ${src} NAME)
    get_filename_component(abs ${src} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_LIST_DIR})
    add_custom_command(OUTPUT ${mervex_pkg_out}/${name}.gz
        COMMAND ${MERVEX_GZIP} -9n -c ${abs} > ${mervex_pkg_out}/${name}.gz
        DEPENDS ${abs} VERBATIM)
    list(APPEND mervex_gz_files ${mervex_pkg_out}/${name}.gz)
endforeach()
add_custom_target(mervex_package_files ALL DEPENDS ${mervex_gz_files})

install(FILES ${mervex_pkg_out}/mervex.1.gz ${mervex_pkg_out}/mervex-cli.1.gz
              ${mervex_pkg_out}/mervex-meter-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${mervex_pkg_out}/${MERVEX_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/70-mervex-serial.rules DESTINATION ${MERVEX_UDEV_RULES_DIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${mervex_pkg_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mervex)

# Settings.ini is the administrator's to edit: a dpkg configuration file in /etc/mervex, kept
# on upgrade; share/mervex keeps the shipped defaults. The place follows the program's lookup:
# /etc/mervex for the /usr prefix, PREFIX/etc/mervex for any other.
install(CODE "
    string(REGEX REPLACE \"/usr/?$\" \"\" mervex_root \"\${CMAKE_INSTALL_PREFIX}\")
    file(INSTALL \"${CMAKE_SOURCE_DIR}/resources/Settings.ini\"
         DESTINATION \"\${mervex_root}/etc/mervex\")
")
file(WRITE ${mervex_pkg_out}/conffiles "/etc/mervex/Settings.ini\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mervex)
set(CPACK_PACKAGE_VENDOR "The Mervex developers")
set(CPACK_PACKAGE_CONTACT "The Mervex developers <mervex@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data of portable laboratory photometers and turbidimeters")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mervex finds a portable photometer or turbidimeter on a serial port, imports\n\
its stored measurements, saves them as dataset files, exports them as\n\
spreadsheets and prints them. It manages the meter's user-defined programs\n\
with a calibration line calculator and keeps its calibration protocols.\n\
The package holds the desktop program, the command line program mervex-cli\n\
and the meter emulator mervex-meter-sim.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The measurement archive loads its database drivers as plugins, which the library scan
# cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
# Qt's own buttons and dialogs speak the program's language only with Qt's translations;
# the help opens in a browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${mervex_pkg_out}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://mervex.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the package creates get the usual 0755, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
