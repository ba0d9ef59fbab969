# The browser: vexsum.html, the page, beside vexsum.css and vexsum.js, one
# classic script that esbuild bundles from the page's modules (web/page/),
# the engine that runs the program on bytes (web/engine.js), the console
# program's own code compiled to WebAssembly (inlined, so that the page
# works opened from disk too) and fflate, which makes its zips. No inline
# script or style: the page keeps a strict Content-Security-Policy. cpack
# makes vexsum-VERSION-web.zip: the page, its style and script, the
# licences; and, for a served page to be installed and opened offline, its
# manifest, icons and service worker; and the manual as HTML
# (web/tools/manual.sh). The npm package, in npm/, holds the same program
# and engine as an ES module, vexsum.mjs, for scripts in a browser or in
# Node, and the console program for Node, cli.js (npx vexsum).
# Debian's emscripten runs node with the modules that Debian's node finds
# itself, in /usr/share/nodejs; another node needs to be told (the programs
# made before this file, and all after it)
if(EXISTS /usr/share/nodejs)
	set(nodepath /usr/share/nodejs)
	if(NOT "$ENV{NODE_PATH}" STREQUAL "")
		string(APPEND nodepath ":$ENV{NODE_PATH}")
	endif()
	set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${nodepath})
	set_target_properties(vexsum mklib PROPERTIES CXX_LINKER_LAUNCHER "${CMAKE_CXX_LINKER_LAUNCHER}")
endif()
# the program as an ES module whose default export makes an instance;
# web/engine.js imports it as vexsum-program
set_target_properties(vexsum PROPERTIES OUTPUT_NAME vexsum-program SUFFIX .mjs)
target_link_options(vexsum PRIVATE
	-sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createVexsum
	-sINVOKE_RUN=0 -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1
	-sEXPORTED_RUNTIME_METHODS=FS,callMain
	-sSINGLE_FILE=1 -sDYNAMIC_EXECUTION=0)
# esbuild and fflate, from the npm registry at pinned versions: esbuild
# joins the modules, fflate writes the page's zip of every corrected file
# (its licence goes beside the page)
set(esbuild 0.28.2)
set(fflate 0.8.2)
set(js ${PROJECT_BINARY_DIR}/js-${esbuild}-${fflate})
add_custom_command(OUTPUT ${js}/node_modules/.bin/esbuild fflate-LICENSE
	COMMAND npm install --prefix ${js} --no-audit --no-fund --silent esbuild@${esbuild} fflate@${fflate}
	COMMAND ${CMAKE_COMMAND} -E copy ${js}/node_modules/fflate/LICENSE fflate-LICENSE
	WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
# one link, so that the page and the module hold the same WebAssembly; the
# page's script a classic one, which a page opened from disk can load
set(bundle env NODE_PATH=${js}/node_modules ${js}/node_modules/.bin/esbuild --bundle --log-level=warning
	--alias:vexsum-program=./$<TARGET_FILE_NAME:vexsum>)
file(GLOB pagemodules CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/page/*.js)
# (the program asks where its script is only to find a .wasm, which it holds)
add_custom_command(OUTPUT vexsum.js
	COMMAND ${bundle} --format=iife --define:import.meta.url=undefined --outfile=vexsum.js ${PROJECT_SOURCE_DIR}/web/page/page.js
	DEPENDS vexsum ${js}/node_modules/.bin/esbuild ${PROJECT_SOURCE_DIR}/web/engine.js ${pagemodules} VERBATIM)
add_custom_command(OUTPUT npm/vexsum.mjs
	COMMAND ${bundle} --format=esm --outfile=npm/vexsum.mjs ${PROJECT_SOURCE_DIR}/web/engine.js
	DEPENDS vexsum ${js}/node_modules/.bin/esbuild ${PROJECT_SOURCE_DIR}/web/engine.js VERBATIM)
add_custom_target(scripts ALL DEPENDS vexsum.js npm/vexsum.mjs fflate-LICENSE)
# the console program on Node's own file system, in one file (without, it
# would fetch() its .wasm, which Node cannot), its status Node's; what Node
# cannot do as the system does is web/npm/node.js's
add_executable(vexsum-node driver/vexsum.cpp)
target_compile_definitions(vexsum-node PRIVATE VEXSUM_VERSION="${PROJECT_VERSION}")
target_compile_options(vexsum-node PRIVATE -fno-exceptions -fno-rtti)
target_link_libraries(vexsum-node PRIVATE libobj)
set_target_properties(vexsum-node PROPERTIES OUTPUT_NAME cli SUFFIX .js
	RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/npm)
set(nodelink -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1 -sEXIT_RUNTIME=1)
target_link_options(vexsum-node PRIVATE ${nodelink}
	--extern-pre-js ${PROJECT_SOURCE_DIR}/web/npm/shebang.js --pre-js ${PROJECT_SOURCE_DIR}/web/npm/node.js)
set_property(TARGET vexsum-node APPEND PROPERTY LINK_DEPENDS
	${PROJECT_SOURCE_DIR}/web/npm/shebang.js ${PROJECT_SOURCE_DIR}/web/npm/node.js)
# the tests' sample maker writes bytes to standard output: Node's too
target_link_options(mklib PRIVATE ${nodelink})
# npm wants three numbers: 1.0 is 1.0.0
string(REGEX REPLACE "^([0-9]+\\.[0-9]+)$" "\\1.0" npmversion ${PROJECT_VERSION})
configure_file(web/npm/package.json.in npm/package.json @ONLY)
configure_file(LICENSE npm/LICENSE COPYONLY)
configure_file(${PROJECT_BINARY_DIR}/vexsum.1 npm/vexsum.1 COPYONLY)
# the icons of the installed page, drawn by web/tools/icons.js
find_program(NODE node REQUIRED)
add_custom_command(OUTPUT icon.svg icon-192.png icon-512.png
	COMMAND ${NODE} ${PROJECT_SOURCE_DIR}/web/tools/icons.js ${PROJECT_BINARY_DIR}
	DEPENDS ${PROJECT_SOURCE_DIR}/web/tools/icons.js VERBATIM)
add_custom_target(icons ALL DEPENDS icon.svg icon-192.png icon-512.png)
configure_file(web/page/vexsum.webmanifest vexsum.webmanifest COPYONLY)
configure_file(web/page/sw.js sw.js COPYONLY)
configure_file(web/page/vexsum.html vexsum.html @ONLY)
# a served folder's root is the page too, rather than a listing of files
configure_file(web/page/vexsum.html index.html @ONLY)
# the manual beside the page, as HTML
add_custom_command(OUTPUT manual.html
	COMMAND ${PROJECT_SOURCE_DIR}/web/tools/manual.sh vexsum.1 manual.html
	DEPENDS ${PROJECT_BINARY_DIR}/vexsum.1 ${PROJECT_SOURCE_DIR}/web/tools/manual.sh VERBATIM)
add_custom_target(manual ALL DEPENDS manual.html)
configure_file(web/page/vexsum.css vexsum.css COPYONLY)

install(FILES ${PROJECT_BINARY_DIR}/vexsum.html ${PROJECT_BINARY_DIR}/vexsum.css ${PROJECT_BINARY_DIR}/vexsum.js
	${PROJECT_BINARY_DIR}/fflate-LICENSE ${PROJECT_BINARY_DIR}/vexsum.webmanifest
	${PROJECT_BINARY_DIR}/sw.js ${PROJECT_BINARY_DIR}/icon.svg ${PROJECT_BINARY_DIR}/icon-192.png
	${PROJECT_BINARY_DIR}/icon-512.png ${PROJECT_BINARY_DIR}/manual.html LICENSE
	${PROJECT_BINARY_DIR}/index.html DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME vexsum-${PROJECT_VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
