# The browser: vexsum.html, the page, beside vexsum.css and vexsum.js, one
# classic script that esbuild bundles from the page's modules (web/page/),
# the engine that runs the program on bytes (web/engine.js), the console
# program's own code compiled to WebAssembly (inside, so that the page
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
# the program as an ES module whose default export makes an instance, and
# its WebAssembly beside it; web/engine.js imports them as vexsum-program
# and vexsum-wasm (which the bundle holds, so that nothing is fetched: the
# page works opened from disk, and under a policy that allows no fetch; and
# the program does not look for it beside its script, which bundlers warn of),
# and puts the program's memory and stack back before each run (where
# they lie, and their state before one)
set_target_properties(vexsum PROPERTIES OUTPUT_NAME vexsum-program SUFFIX .mjs)
target_link_options(vexsum PRIVATE
	-sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createVexsum
	-sINVOKE_RUN=0 -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1
	-sEXPORTED_RUNTIME_METHODS=FS,callMain,stackSave,stackRestore
	-sEXPORTED_FUNCTIONS=_main,_sbrk,_emscripten_stack_get_base,_emscripten_stack_get_end
	-sUSE_ES6_IMPORT_META=0 -sDYNAMIC_EXECUTION=0)
# esbuild and fflate, from the npm registry at pinned versions: esbuild
# joins the modules, fflate writes the page's zip of every corrected file
# (its licence goes beside the page)
set(esbuild 0.28.2)
set(fflate 0.8.2)
# and eslint, with its rules and the table of globals, for its test
# (tests/eslint.sh), which installs them when it runs
set(eslint 9.39.2)
set(eslintglobals 16.5.0)
set(js ${PROJECT_BINARY_DIR}/js-${esbuild}-${fflate})
add_custom_command(OUTPUT ${js}/node_modules/.bin/esbuild fflate-LICENSE
	COMMAND npm install --prefix ${js} --no-audit --no-fund --silent esbuild@${esbuild} fflate@${fflate}
	COMMAND ${CMAKE_COMMAND} -E copy ${js}/node_modules/fflate/LICENSE fflate-LICENSE
	WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
# one link, so that the page and the module hold the same WebAssembly; the
# page's script a classic one, which a page opened from disk can load
set(bundle env NODE_PATH=${js}/node_modules ${js}/node_modules/.bin/esbuild --bundle --log-level=warning --target=es2020
	--alias:vexsum-program=./$<TARGET_FILE_NAME:vexsum> --alias:vexsum-wasm=./vexsum-program.wasm --loader:.wasm=binary)
file(GLOB pagemodules CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/page/*.js)
add_custom_command(OUTPUT vexsum.js
	COMMAND ${bundle} --format=iife --outfile=vexsum.js ${PROJECT_SOURCE_DIR}/web/page/page.js
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
configure_file(web/npm/README.md npm/README.md COPYONLY)
configure_file(web/npm/vexsum.d.mts npm/vexsum.d.mts COPYONLY)
configure_file(${PROJECT_BINARY_DIR}/vexsum.1 npm/vexsum.1 COPYONLY)
# the icons of the installed page, drawn by web/tools/icons.js
find_program(NODE node REQUIRED)
add_custom_command(OUTPUT icon.svg icon-192.png icon-512.png
	COMMAND ${NODE} ${PROJECT_SOURCE_DIR}/web/tools/icons.js ${PROJECT_BINARY_DIR}
	DEPENDS ${PROJECT_SOURCE_DIR}/web/tools/icons.js VERBATIM)
add_custom_target(icons ALL DEPENDS icon.svg icon-192.png icon-512.png)
configure_file(web/page/vexsum.webmanifest vexsum.webmanifest COPYONLY)
configure_file(web/page/vexsum.html vexsum.html @ONLY)
# a served folder's root is the page too, rather than a listing of files
configure_file(web/page/vexsum.html index.html @ONLY)
# the manual beside the page, as HTML
add_custom_command(OUTPUT manual.html
	COMMAND ${PROJECT_SOURCE_DIR}/web/tools/manual.sh vexsum.1 manual.html
	DEPENDS ${PROJECT_BINARY_DIR}/vexsum.1 ${PROJECT_SOURCE_DIR}/web/tools/manual.sh VERBATIM)
add_custom_target(manual ALL DEPENDS manual.html)
configure_file(web/page/vexsum.css vexsum.css COPYONLY)
configure_file(LICENSE LICENSE COPYONLY)

# The page's own files, the one list of them: its service worker keeps
# these for a visit offline, and the web zip holds them, the worker and
# the licences (tests/webpackage.sh is given both lists)
set(pagefiles vexsum.html vexsum.css vexsum.js vexsum.webmanifest icon.svg icon-192.png icon-512.png manual.html index.html)
set(webfiles ${pagefiles} sw.js LICENSE fflate-LICENSE)
# the worker, with the list and the name of its cache: the version and a
# hash of the files, so that a new build is a new worker with a cache of
# its own (web/tools/worker.cmake)
list(TRANSFORM pagefiles PREPEND ${PROJECT_BINARY_DIR}/ OUTPUT_VARIABLE pagepaths)
add_custom_command(OUTPUT sw.js
	COMMAND ${CMAKE_COMMAND} -DWORKER=${PROJECT_SOURCE_DIR}/web/page/sw.js -DOUT=sw.js
		-DVERSION=${PROJECT_VERSION} "-DFILES=${pagefiles}" -P ${PROJECT_SOURCE_DIR}/web/tools/worker.cmake
	DEPENDS ${pagepaths} ${PROJECT_SOURCE_DIR}/web/page/sw.js ${PROJECT_SOURCE_DIR}/web/tools/worker.cmake VERBATIM)
add_custom_target(worker ALL DEPENDS sw.js)
add_dependencies(worker scripts icons manual)
list(TRANSFORM webfiles PREPEND ${PROJECT_BINARY_DIR}/ OUTPUT_VARIABLE webpaths)
install(FILES ${webpaths} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME vexsum-${PROJECT_VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
