# The desktop integration and the Debian package: menu entry, icon, AppStream data, manual
# page, and CPack's settings (`cmake --build build --target package` or scripts/package.sh).
set(paket_dir ${CMAKE_CURRENT_LIST_DIR})

install(FILES ${paket_dir}/de.tovo.raumverw.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${paket_dir}/de.tovo.raumverw.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${paket_dir}/tovo-raumverw.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian ships manual pages and changelogs compressed, without time stamps.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(paket_gz ${CMAKE_BINARY_DIR}/paket)
add_custom_command(
    OUTPUT ${paket_gz}/tovo-raumverw.1.gz ${paket_gz}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${paket_gz}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${paket_dir}/tovo-raumverw.1 > ${paket_gz}/tovo-raumverw.1.gz
    COMMAND ${GZIP_EXECUTABLE} -9nc ${paket_dir}/changelog > ${paket_gz}/changelog.gz
    DEPENDS ${paket_dir}/tovo-raumverw.1 ${paket_dir}/changelog
    VERBATIM)
add_custom_target(tovo_paket_dateien ALL
                  DEPENDS ${paket_gz}/tovo-raumverw.1.gz ${paket_gz}/changelog.gz)
install(FILES ${paket_gz}/tovo-raumverw.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${paket_dir}/copyright ${paket_gz}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovo-raumverw)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovo-raumverw)
set(CPACK_PACKAGE_VENDOR Tovo)
set(CPACK_PACKAGE_CONTACT "Tovo <raumverwaltung@musterwerke-rheinland.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "room reservations for meeting and event rooms")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tovo Raumverwaltung shows the occupancy of rooms over time, takes bookings\n"
    "with set-up and clear-down times and series, checks them for conflicts,\n"
    "prints overviews and usage statistics with charts, and exchanges bookings\n"
    "with the intranet request portal.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tovo-raumverw)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so invisible to dpkg-shlibdeps: the database drivers, the window-system
# and SVG plugins, Qt's German texts and the fonts of the reports.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-mysql, libqt6sql6-psql, qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n, fonts-dejavu-core")
include(CPack)
