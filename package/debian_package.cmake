# The Debian package print-station_<version>_<arch>.deb, made by `make deb` from a
# Release build configured for the prefix /usr (see the Makefile).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME print-station)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Print station developers <print-station@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "unattended PDF print station for libraries")
set(CPACK_PACKAGE_DESCRIPTION [=[
The station polls spool folders on an FTP or SFTP store, or in a local
folder tree, fetches every PDF document, prints it through CUPS on the
printer of its folder and removes it. Everything it does is written to
its activity log. An FTP store can be reached over TLS (explicit FTPS,
"TLS verwenden (FTPS) ?"), with the server's certificate checked against
the system's certificate authorities and the store's host name, or
against a certificate the user chose to trust.

Two programs come from the same sources: kv_print, the mode of a
document-delivery service with fixed categories, and ts_print, a list of
spool folders each with its printer. The menu starts them in a station
folder of the user's own, prepared from the administrator's template in
/etc/print-station.]=])
# The launcher writes the installed paths at install time: it is installed with the
# final prefix below the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries the programs link come from dpkg-shlibdeps: Qt, libssh, OpenSSL, and for
# pdf_print libcups2 and libqpdf29 (its damaged-PDF check). Named here is what no binary
# links: the SVG image plug-in of the icons, the German Qt texts loaded at start, the
# log's font, the certificate authorities that FTPS checks a store's certificate
# against. Printers are queues of a CUPS scheduler, set up with its tools.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n, fonts-liberation, ca-certificates")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups, cups-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/compress_documents.cmake)

set(docdir ${CMAKE_INSTALL_DATADIR}/doc/print-station)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in changelog @ONLY)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog
        DESTINATION ${docdir})

include(CPack)
