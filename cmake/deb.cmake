# The Debian package (scripts/build_linux.sh: cpack -G DEB in a Release build installed under
# /usr): the program, its window module and form file, the desktop entry with its icon, and the
# file types it opens. The libraries it links are declared by dpkg-shlibdeps under Debian's own
# package names; the helper programs it runs, by name below.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/data/linux/varnix-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME varnix.xml)
# The manual page (compressed, as Debian keeps them), the shell completion bash-completion loads
# on demand, and the notices of what the program links in statically.
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/varnix.1.gz
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/data/linux/varnix.1 > ${PROJECT_BINARY_DIR}/varnix.1.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/data/linux/varnix.1 VERBATIM)
add_custom_target(varnix_manual ALL DEPENDS ${PROJECT_BINARY_DIR}/varnix.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/varnix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/linux/varnix.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME varnix)
install(FILES ${PROJECT_SOURCE_DIR}/data/linux/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnix")
set(CPACK_PACKAGE_CONTACT "Varnix <varnix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "position converter for the landscapes of a soaring flight simulator")
# The summary above is the first line; these lines follow it.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Converts latitude/longitude into the X/Y of a landscape of a soaring flight"
    "simulator: one point on the command line, a batch or a waypoint file into"
    "flight-plan lines and a .cup waypoint file, or in a small window.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Dialogs run zenity; the clipboard goes through one of three tools; the window draws with the
# metric-compatible fonts when the usual ones are missing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "zenity, xclip | xsel | wl-clipboard, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
include(CPack)
