# Windows: a UTF-8 code page for the program, so that any path can be
# opened, and cpack's vexsum-VERSION-win64.zip: the program, the manual as
# HTML and plain text (rendered by mandoc), and the licence.
target_sources(vexsum PRIVATE ${PROJECT_SOURCE_DIR}/pkg/vexsum.rc)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/pkg/vexsum.rc APPEND PROPERTY
	OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/pkg/vexsum.manifest)

add_custom_command(OUTPUT vexsum.html vexsum.txt
	COMMAND ${PROJECT_SOURCE_DIR}/pkg/winman.sh vexsum.1 vexsum.html vexsum.txt
	DEPENDS ${PROJECT_BINARY_DIR}/vexsum.1 ${PROJECT_SOURCE_DIR}/pkg/winman.sh)
add_custom_target(docs ALL DEPENDS vexsum.html vexsum.txt)

install(TARGETS vexsum RUNTIME DESTINATION .)
install(FILES ${PROJECT_BINARY_DIR}/vexsum.html ${PROJECT_BINARY_DIR}/vexsum.txt DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME vexsum-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
