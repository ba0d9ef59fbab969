# The Windows build's tests, run from Linux under wine (tests/wine): the
# golden table with Windows' own system texts, the unit tests, the sample
# maker, the standard stream cases, a read-only file as an unprivileged
# user, and the zip package. strace cannot see wine's calls, so fault
# injection and the kill test are Linux's; the property test runs the Linux
# build's generator against this program (.ci/run).
set(wine ${CMAKE_CURRENT_SOURCE_DIR}/wine)
foreach(prog vexsum mklib)
	file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${prog}
		CONTENT "#!/bin/sh\nexec ${wine} $<TARGET_FILE:${prog}> \"$@\"\n"
		FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
			WORLD_READ WORLD_EXECUTE)
endforeach()
set(vexsum ${CMAKE_CURRENT_BINARY_DIR}/vexsum)

add_test(NAME golden COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/golden.sh ${vexsum} ${PROJECT_VERSION}
	${CMAKE_CURRENT_SOURCE_DIR}/golden.txt ${CMAKE_CURRENT_SOURCE_DIR}/windows.txt)

# Debian ships GoogleTest as source, to be built with the program's compiler
add_subdirectory(/usr/src/googletest googletest EXCLUDE_FROM_ALL SYSTEM)
set(unitsources ${libobjsources})
list(FILTER unitsources EXCLUDE REGEX "/exits\\.cpp$")
add_executable(unit_test crc_test.cpp walk_test.cpp ends.cpp ${unitsources})
target_include_directories(unit_test PRIVATE ${PROJECT_SOURCE_DIR}/libobj)
target_link_libraries(unit_test PRIVATE gtest)
add_test(NAME unit COMMAND unit_test)

add_test(NAME examples
	COMMAND ${PROJECT_SOURCE_DIR}/examples/make.sh ${CMAKE_CURRENT_BINARY_DIR}/mklib --check)

add_test(NAME streams COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/faults.sh ${vexsum} ${PROJECT_VERSION}
	"missing read-only stdout-full stdout-closed closed-notlib closed-missing" crlf)

add_test(NAME package COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/winpackage.sh ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})

# a wine process that outlives its run hangs a test: fail in minutes, not ctest's 25
set_tests_properties(golden unit examples streams package PROPERTIES TIMEOUT 300)
