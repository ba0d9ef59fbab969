# The browser: vexsum.html, the page, beside vexsum.js and vexsum.wasm, the
# console program's own code; each file gets a fresh instance of the program
# (web/shell.html). cpack makes vexsum-VERSION-web.zip: the page, its
# script and program, and the licence.
set_target_properties(vexsum PROPERTIES SUFFIX .html)
# Debian's emscripten runs node with the modules that Debian's node finds
# itself, in /usr/share/nodejs; another node needs to be told
if(EXISTS /usr/share/nodejs)
	set(nodepath /usr/share/nodejs)
	if(NOT "$ENV{NODE_PATH}" STREQUAL "")
		string(APPEND nodepath ":$ENV{NODE_PATH}")
	endif()
	set_target_properties(vexsum mklib PROPERTIES CXX_LINKER_LAUNCHER "env;NODE_PATH=${nodepath}")
endif()
set_property(TARGET vexsum APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/web/shell.html)
target_link_options(vexsum PRIVATE
	--shell-file ${PROJECT_SOURCE_DIR}/web/shell.html
	-sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_NAME=createVexsum
	-sINVOKE_RUN=0 -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1
	-sEXPORTED_RUNTIME_METHODS=FS,callMain
	-sMINIFY_HTML=0) # the page as written; Debian's emscripten 3.1.6 fails to minify it

install(FILES ${PROJECT_BINARY_DIR}/vexsum.html ${PROJECT_BINARY_DIR}/vexsum.js
	${PROJECT_BINARY_DIR}/vexsum.wasm LICENSE DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME vexsum-${PROJECT_VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
