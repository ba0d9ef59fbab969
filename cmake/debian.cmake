# cpack -G DEB: vexsum_VERSION_ARCH.deb, with what Debian's policy asks of a
# package: a machine-readable copyright file, a changelog, a compressed page
configure_file(${PROJECT_SOURCE_DIR}/pkg/copyright.in copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexsum)
set(CPACK_PACKAGE_CONTACT "${VEXSUM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check a calculator library object file and fill in its CRC")
set(CPACK_PACKAGE_DESCRIPTION
"vexsum reads a file holding a calculator library object, checks its header,
prologue, size and length, prints the stored 16-bit CRC beside the one the
object's content calls for, and writes the true CRC into the file in place.
A file that is not a library object is left untouched.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
