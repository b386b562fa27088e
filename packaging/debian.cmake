# The Debian package: everything the install step puts in place, under /usr, with the
# copyright file and change log Debian expects. Build it with "cpack -G DEB" in the build
# folder; its dependencies are found from the shared libraries the programs link.

# The change log, compressed as Debian's tools do (no name or time stamp inside).
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog
            ${PROJECT_BINARY_DIR}/packaging/changelog
    COMMAND gzip -9 -n -f ${PROJECT_BINARY_DIR}/packaging/changelog
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(verbanta_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
              ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The help page, registered for the system's documentation browsers.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/doc-base DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base
        RENAME verbanta)

# Symbols bound at start, so that the whole table of their addresses can be made read-only.
foreach(program verbanta verbanta-cli)
    if(TARGET ${program} AND NOT VERBANTA_SANITIZE)
        target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verbanta)
set(CPACK_PACKAGE_VENDOR "Quandel Soft")
set(CPACK_PACKAGE_CONTACT "Quandel Soft <verbanta@quandelsoft.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SAMI subtitle editor with a Korean user interface")
set(CPACK_PACKAGE_DESCRIPTION
"Verbanta edits SAMI subtitle files (.smi) side by side with their video: play
the video and stamp the playback position into the captions with single keys,
edit texts, end syncs and comments in a list, and keep up to ten languages in
one file. It repairs timing with range tools, imports SubRip, MicroDVD,
SubViewer, SSA/ASS, VPlayer, Xombie and plain text, splits, merges and
restyles files, and saves safely with a backup.
.
The package also holds verbanta-cli, the same file work from the command line
for scripts and batch jobs.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://verbanta.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the shared libraries cannot tell: Qt's platform plugins (without them
# the window cannot open), and what makes the Korean texts look right and checks their spelling.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-nanum | fonts-noto-cjk, qt6-translations-l10n, hunspell-ko, hunspell-en-us")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
