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
# the package is for the CPU the program was built for, not the one building it
string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" cpu)
set(debarch_x86_64 amd64)
set(debarch_amd64 amd64)
set(debarch_aarch64 arm64)
set(debarch_arm64 arm64)
set(debarch_i386 i386)
set(debarch_i686 i386)
set(debarch_s390x s390x)
set(debarch_ppc64le ppc64el)
if(NOT DEFINED debarch_${cpu})
	message(FATAL_ERROR "no Debian architecture known for the processor ${CMAKE_SYSTEM_PROCESSOR}")
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${debarch_${cpu}})
if(NOT CMAKE_CROSSCOMPILING)
	set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
	# dpkg-shlibdeps knows only the host's C library: the dependency comes
	# from the newest glibc symbol version that the program uses (debdepends.cmake)
	set(VEXSUM_PROGRAM ${PROJECT_BINARY_DIR}/vexsum)
	configure_file(${PROJECT_SOURCE_DIR}/cmake/debdepends.cmake.in debdepends.cmake @ONLY)
	set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/debdepends.cmake)
endif()
