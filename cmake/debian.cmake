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
# the package is for the CPU the program was built for, not the one building
# it: Debian's name for each name the system or a toolchain file gives it.
# A CPU missing here still builds; only cpack -G DEB then stops and says so.
string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" cpu)
foreach(pair x86_64=amd64 amd64=amd64 aarch64=arm64 arm64=arm64 i386=i386 i686=i386
		armv7l=armhf armhf=armhf armv6l=armel armv5tel=armel armel=armel riscv64=riscv64
		ppc64le=ppc64el mips64=mips64el mips64el=mips64el loongarch64=loong64 s390x=s390x)
	string(REPLACE "=" ";" pair ${pair})
	list(GET pair 0 name)
	list(GET pair 1 debarch_${name})
endforeach()
set(VEXSUM_DEBIAN_ARCH "${debarch_${cpu}}" CACHE STRING
	"the packages' Debian architecture, where the processor's name has none")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "${VEXSUM_DEBIAN_ARCH}")
if(NOT CMAKE_CROSSCOMPILING)
	set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
# cpack -G DEB runs this (debpackage.cmake): the architecture checked, and in
# a cross build the dependency on libc6, which dpkg-shlibdeps cannot give
set(VEXSUM_PROGRAM ${PROJECT_BINARY_DIR}/vexsum)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debpackage.cmake.in debpackage.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/debpackage.cmake)
