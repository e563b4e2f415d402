# Installs the bash completion and the Debian documentation files, and
# sets up CPack so that `cpack -G DEB` in the build folder writes
# quillmark_<version>_<arch>.deb. Included from the top CMakeLists.txt
# after every install() rule of the program.
include(GNUInstallDirs)

set(QUILLMARK_PACKAGE_MAINTAINER "Quillmark maintainers <maintainers@quillmark.invalid>"
    CACHE STRING "Maintainer named in the Debian package (Name <address>)")
set(QUILLMARK_HOMEPAGE "https://github.com/quillmark/quillmark"
    CACHE STRING "Project home page named in the packages")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillmark-scan.bash
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        RENAME quillmark-scan)

# Debian wants a copyright file and a changelog compressed with gzip -9n in
# /usr/share/doc/<package>. The date follows SOURCE_DATE_EPOCH when it is set.
string(TIMESTAMP QUILLMARK_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
find_program(QUILLMARK_GZIP gzip)
set(quillmark_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillmark)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${quillmark_docdir})
if(QUILLMARK_GZIP)
  execute_process(COMMAND ${QUILLMARK_GZIP} -9nc ${PROJECT_BINARY_DIR}/packaging/changelog
                  OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${quillmark_docdir})
endif()

set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "The Quillmark authors")
set(CPACK_PACKAGE_CONTACT "${QUILLMARK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QUILLMARK_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find the Japanese string literals in C and C++ sources")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillmark walks every C and C++ source file below a folder, reads each one
as Shift_JIS, EUC-JP or UTF-8, or in the encoding it detects for that file,
and lists every string or character literal outside comments that holds
Japanese text, with its line and path.
.
The package holds the desktop program quillmark (wxWidgets) and the
command-line scanner quillmark-scan, which writes its findings as grep-style
lines, JSON, CSV, SARIF or a gettext catalogue for scripts and CI.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_LIST_DIR}/copyright)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLMARK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLMARK_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program draws its Japanese text with a CJK font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Compresses the manual pages in the staging folder (`cmake --install`
# leaves them plain).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/compress-manpages.cmake)

include(CPack)
