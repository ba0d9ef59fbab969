# The browser: vexsum.html, the page, beside vexsum.css and vexsum.js, which
# holds the console program's own code compiled to WebAssembly (inlined, so
# that the page works opened from disk too), the engine that runs it on
# bytes (web/engine.js) and the page's script (web/page.js). No inline
# script or style: the page keeps a strict Content-Security-Policy. cpack
# makes vexsum-VERSION-web.zip: the page, its style and script, and the
# licence. vexsum.mjs is the same program and engine as an ES module, for
# scripts in a browser or in Node.
set_target_properties(vexsum PROPERTIES OUTPUT_NAME vexsum-engine SUFFIX .js)
# Debian's emscripten runs node with the modules that Debian's node finds
# itself, in /usr/share/nodejs; another node needs to be told
if(EXISTS /usr/share/nodejs)
	set(nodepath /usr/share/nodejs)
	if(NOT "$ENV{NODE_PATH}" STREQUAL "")
		string(APPEND nodepath ":$ENV{NODE_PATH}")
	endif()
	set_target_properties(vexsum mklib PROPERTIES CXX_LINKER_LAUNCHER "env;NODE_PATH=${nodepath}")
endif()
set_property(TARGET vexsum APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/web/engine.js)
target_link_options(vexsum PRIVATE
	--extern-post-js ${PROJECT_SOURCE_DIR}/web/engine.js
	-sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_NAME=createVexsum
	-sINVOKE_RUN=0 -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1
	-sEXPORTED_RUNTIME_METHODS=FS,callMain
	-sSINGLE_FILE=1 -sDYNAMIC_EXECUTION=0)
# one link, so that the page and the module hold the same WebAssembly
file(WRITE ${PROJECT_BINARY_DIR}/export.mjs "export { check };\n")
add_custom_command(OUTPUT vexsum.js
	COMMAND ${CMAKE_COMMAND} -E cat $<TARGET_FILE:vexsum> ${PROJECT_SOURCE_DIR}/web/page.js >vexsum.js
	DEPENDS vexsum ${PROJECT_SOURCE_DIR}/web/page.js)
add_custom_command(OUTPUT vexsum.mjs
	COMMAND ${CMAKE_COMMAND} -E cat $<TARGET_FILE:vexsum> ${PROJECT_BINARY_DIR}/export.mjs >vexsum.mjs
	DEPENDS vexsum ${PROJECT_BINARY_DIR}/export.mjs)
add_custom_target(scripts ALL DEPENDS vexsum.js vexsum.mjs)
configure_file(web/vexsum.html vexsum.html COPYONLY)
configure_file(web/vexsum.css vexsum.css COPYONLY)

install(FILES ${PROJECT_BINARY_DIR}/vexsum.html ${PROJECT_BINARY_DIR}/vexsum.css ${PROJECT_BINARY_DIR}/vexsum.js
	LICENSE DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME vexsum-${PROJECT_VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
