# Installing and packaging (cmake --install, cpack -G DEB). Included after every target is
# defined.
#
#   <prefix>/lib/brimlet/         brimlet, brimlet-cli, BrimletCEUsersManual.pdf, Elements.ini,
#                                 Codes.ini
#   <prefix>/bin/                 links to both programs
#   <prefix>/share/applications/  brimlet.desktop
#   <prefix>/share/icons/hicolor/scalable/apps/brimlet.svg
#   <prefix>/share/mime/packages/ brimlet-x12.xml, the X12 file type
#   <prefix>/share/doc/brimlet/   copyright (the licence), changelog.gz
#
# Elements.ini and Codes.ini are installed by data/ into BRIMLET_INSTALL_PROGRAMDIR (see
# InstallDirs.cmake).

set(brimlet_programs brimlet-cli brimlet)
install(TARGETS ${brimlet_programs} RUNTIME DESTINATION ${BRIMLET_INSTALL_PROGRAMDIR})

# The programs find their data beside their real place: on Linux the executable's folder is
# that of the link's target. Relative links keep the installation movable as a whole.
file(RELATIVE_PATH brimlet_bin_to_programs
    /${CMAKE_INSTALL_BINDIR} /${BRIMLET_INSTALL_PROGRAMDIR})
set(brimlet_links ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${brimlet_links})
foreach(program IN LISTS brimlet_programs)
    file(CREATE_LINK ${brimlet_bin_to_programs}/${program} ${brimlet_links}/${program} SYMBOLIC)
    install(FILES ${brimlet_links}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${CMAKE_BINARY_DIR}/bin/BrimletCEUsersManual.pdf
    DESTINATION ${BRIMLET_INSTALL_PROGRAMDIR})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/packaging/brimlet.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/packaging/brimlet.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The file type that the desktop entry names, the same definition the Tools menu writes for the
# user; the MIME database's own package refreshes the database when it lands.
install(FILES ${PROJECT_SOURCE_DIR}/settings/brimlet-x12.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# What a Debian package carries in its documentation folder: the licence, as the License window
# shows it, and the changelog, compressed as Debian's tools expect (the most, with no name or
# time stamp, so that the same source gives the same package).
set(brimlet_docdir ${CMAKE_INSTALL_DATADIR}/doc/brimlet)
install(FILES ${PROJECT_SOURCE_DIR}/settings/License.txt
    DESTINATION ${brimlet_docdir} RENAME copyright)
find_program(BRIMLET_GZIP gzip REQUIRED)
set(brimlet_changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
add_custom_command(OUTPUT ${brimlet_changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/packaging/changelog ${brimlet_changelog}
    COMMAND ${BRIMLET_GZIP} -9nf ${brimlet_changelog}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(brimlet_changelog ALL DEPENDS ${brimlet_changelog}.gz)
install(FILES ${brimlet_changelog}.gz DESTINATION ${brimlet_docdir})

# cpack -G DEB in the build folder makes brimlet_<version>_<arch>.deb. Library dependencies come
# from dpkg-shlibdeps; what the viewer loads at run time without linking it is listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brimlet)
set(CPACK_PACKAGE_VENDOR Zudozazir)
set(CPACK_PACKAGE_CONTACT "Brimlet maintainers <maintainers@brimlet.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://brimlet.example/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for ASC X12 EDI interchange files")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Brimlet shows ASC X12 interchange files one segment per line, names the element under\n"
    "the cursor, navigates by line and segment type, finds and prints, and searches folders\n"
    "for interchanges holding a text. Files of several gigabytes open in seconds. The\n"
    "package also holds brimlet-cli, which reads interchanges without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# update-desktop-database and update-mime-database, which the Tools menu's desktop integration
# runs when present.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info")
# The display plug-ins and the font the windows fall back to are loaded, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
include(CPack)
