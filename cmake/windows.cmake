# Windows: vexsum.exe with its manifest and version resource, hardened, and
# cpack's vexsum-VERSION-win64.zip: the program, the Windows manual as HTML
# and plain text (rendered by mandoc), and the licence, all with CR LF.
foreach(part MAJOR MINOR PATCH TWEAK)
	if(NOT PROJECT_VERSION_${part})
		set(PROJECT_VERSION_${part} 0)
	endif()
endforeach()
set(VEXSUM_VERSION4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK})
string(REPLACE "." "," VEXSUM_VERSIONCOMMAS ${VEXSUM_VERSION4})
configure_file(${PROJECT_SOURCE_DIR}/pkg/vexsum.manifest.in vexsum.manifest @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/pkg/vexsum.rc.in vexsum.rc @ONLY)
target_sources(vexsum PRIVATE ${PROJECT_BINARY_DIR}/vexsum.rc)
set_property(SOURCE ${PROJECT_BINARY_DIR}/vexsum.rc APPEND PROPERTY
	OBJECT_DEPENDS ${PROJECT_BINARY_DIR}/vexsum.manifest)

# Windows 7 SP1 and later, said in the PE header
target_link_options(vexsum PRIVATE -Wl,--major-os-version,6,--minor-os-version,1
	-Wl,--major-subsystem-version,6,--minor-subsystem-version,1)

add_custom_command(OUTPUT vexsum.html vexsum.txt LICENSE.txt
	COMMAND ${PROJECT_SOURCE_DIR}/pkg/winman.sh vexsum.1 vexsum.html vexsum.txt
		${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt
	DEPENDS ${PROJECT_BINARY_DIR}/vexsum.1 ${PROJECT_SOURCE_DIR}/pkg/winman.sh ${PROJECT_SOURCE_DIR}/LICENSE)
add_custom_target(docs ALL DEPENDS vexsum.html vexsum.txt LICENSE.txt)

install(TARGETS vexsum RUNTIME DESTINATION .)
install(FILES ${PROJECT_BINARY_DIR}/vexsum.html ${PROJECT_BINARY_DIR}/vexsum.txt ${PROJECT_BINARY_DIR}/LICENSE.txt
	DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME vexsum-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
