# Installation and the Debian package (cpack -G DEB): the programs in bin/; the program folder's
# templates in share/smsv48, from which each user's program folder is made at the first start
# (store/DataRoot.cpp finds them as ../share/smsv48 beside the program, so a relocated tree works);
# desktop entry, AppStream metadata, the profile's MIME type, icons, manual pages, shell
# completion, the licence (machine-readable copyright) and the changelog.
include(GNUInstallDirs)
set(SMSV48_APP_ID io.github.smsv48.Tool)
set(SMSV48_TEMPLATES ${CMAKE_INSTALL_DATADIR}/smsv48)
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(SMSV48_HOMEPAGE "https://smsv48.example.org/")

install(TARGETS sms_switch_vantor smsv48ctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET smsv48-sim)
  install(TARGETS smsv48-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The templates. The database is the pristine one built from store/sql, never the build tree's
# bin/Datenbank: running the programs there changes that copy (a site's phone book and
# passwords would end up in the package).
install(FILES ${DB_PRISTINE} DESTINATION ${SMSV48_TEMPLATES}/Datenbank)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/UserProfile ${CMAKE_SOURCE_DIR}/data/help DESTINATION ${SMSV48_TEMPLATES}
        PATTERN ".keep" EXCLUDE)
install(DIRECTORY DESTINATION ${SMSV48_TEMPLATES}/Download/Config)
install(DIRECTORY DESTINATION ${SMSV48_TEMPLATES}/Download/Firmware)

install(FILES ${PACKAGING_DIR}/${SMSV48_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PACKAGING_DIR}/${SMSV48_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/${SMSV48_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${SMSV48_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PACKAGING_DIR}/icons/${SMSV48_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PACKAGING_DIR}/icons/${SMSV48_APP_ID}-256.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME ${SMSV48_APP_ID}.png)
install(FILES ${PACKAGING_DIR}/completion/smsv48ctl DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
# The profile files' type (application/x-smsv48-profile) and its icon; the package's triggers
# of shared-mime-info and the icon cache take them up.
install(FILES ${PACKAGING_DIR}/${SMSV48_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${SMSV48_APP_ID}.xml)
install(FILES ${PACKAGING_DIR}/icons/${SMSV48_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-smsv48-profile.svg)
# The licence in Debian's machine-readable form and the changelog (compressed as Debian has it).
install(FILES ${PACKAGING_DIR}/copyright ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/smsv48)

# Manual pages, with the version filled in, compressed as Debian installs them.
find_program(GZIP_PROGRAM gzip)
set(MAN_PAGES)
foreach(page smsv48ctl.1 smsv48-sim.1 sms_switch_vantor.1)
  configure_file(${PACKAGING_DIR}/man/${page}.in ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
      COMMAND ${GZIP_PROGRAM} -9nkf ${CMAKE_BINARY_DIR}/man/${page}
      DEPENDS ${CMAKE_BINARY_DIR}/man/${page})
    list(APPEND MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
  else()
    list(APPEND MAN_PAGES ${CMAKE_BINARY_DIR}/man/${page})
  endif()
endforeach()
set(CHANGELOG ${PACKAGING_DIR}/changelog)
if(GZIP_PROGRAM)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
    COMMAND ${GZIP_PROGRAM} -9nc ${PACKAGING_DIR}/changelog > ${CMAKE_BINARY_DIR}/doc/changelog.gz
    DEPENDS ${PACKAGING_DIR}/changelog)
  set(CHANGELOG ${CMAKE_BINARY_DIR}/doc/changelog.gz)
endif()
add_custom_target(manpages ALL DEPENDS ${MAN_PAGES} ${CHANGELOG})
install(FILES ${CHANGELOG} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/smsv48)
install(FILES ${MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# ---- the Debian package ---------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME smsv48)
set(CPACK_PACKAGE_VENDOR "SMSV48 tool developers")
set(CPACK_PACKAGE_CONTACT "SMSV48 tool developers <support@smsv48.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${SMSV48_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for the SMSV48 GSM SMS switching unit")
set(CPACK_PACKAGE_DESCRIPTION
"A desktop tool for installers of the SMSV48 GSM SMS switching and alarm unit:
edit the unit's configuration (recipients of the input and relay SMS, texts,
alarm input, power-on message, default relay states, phone book), keep it in
profile files, send it to the unit over a serial port and read it back, watch
inputs and relays, switch relays, update the firmware, and print reports, in
German, English, Italian or French.
.
Also contains smsv48ctl, a command-line tool for scripted and batch work, and
smsv48-sim, a simulated unit on a pseudo-terminal for trying the tool without
hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the SQLite driver, the SVG icon and
# image plugins, Qt's own translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6svg6, qt6-translations-l10n")
# The native Wayland platform (without it Qt uses X11 through XWayland); xdg-open for the
# help pages' links and the mail address in the About box.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
