# Installation and the Debian package (`make package`): the two programs in bin, the help in
# share/rur, the desktop entry, icon and AppStream metainfo, the manual pages and the Debian
# documents. The installed programs find everything from their own folder; no path of the
# build tree is compiled in.
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

install(TARGETS rur rur-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the sections nothing needs at run time, as
# Debian's own packages do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program rur rur-cli)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note --strip-unneeded
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")
install(FILES help/topics.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/rur/help)
install(DIRECTORY help/topics DESTINATION ${CMAKE_INSTALL_DATADIR}/rur/help FILES_MATCHING PATTERN "*.html")
install(FILES packaging/cz.tervik.rur.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/cz.tervik.rur.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/cz.tervik.rur.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian wants manual pages and the changelog compressed without a time stamp in the header.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(RUR_GZIPPED)
foreach(source rur.1 rur-cli.1 changelog.Debian)
  set(gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/${source}.gz)
  add_custom_command(OUTPUT ${gz}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
                     COMMAND sh -c "\"$0\" -9nc \"$1\" > \"$2\"" ${GZIP_EXECUTABLE}
                             ${CMAKE_CURRENT_SOURCE_DIR}/packaging/${source} ${gz}
                     DEPENDS packaging/${source} VERBATIM)
  list(APPEND RUR_GZIPPED ${gz})
endforeach()
add_custom_target(rur_packaging_files ALL DEPENDS ${RUR_GZIPPED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/rur.1.gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/rur-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rur)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rur)
set(CPACK_PACKAGE_VENDOR Tervik)
set(CPACK_PACKAGE_VERSION 17.00)
set(CPACK_PACKAGE_CONTACT "Tervik <rur@tervik.cz>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.tervik.cz/rur/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The printed forms are measured in the Liberation fonts; Qt's own dialogs and menus speak
# Czech through Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "VAT return program for Czech VAT payers and their accountants\n\
RUR keeps the figures of the Czech VAT return for any number of taxpayers,\n\
one tax period at a time: it rounds the bases and taxes, totals the deductions,\n\
applies the deduction coefficient and computes the own tax or excess deduction.\n\
It prints the two pages of the official form, writes the DPHDP3 file for\n\
electronic filing, backs the data up to ZIP archives and offers all of its\n\
procedures on the command line (rur-cli). The program speaks Czech.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
