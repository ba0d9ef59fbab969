# Windows' own cases under wine: a path in another script on a console,
# devices and names Windows takes for them, a file held by another program,
# a named pipe, a path past 260 characters, the program's resources
add_executable(winhelper winhelper.cpp)
target_link_options(winhelper PRIVATE -municode)
add_test(NAME windows COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows.sh $<TARGET_FILE:vexsum>
	$<TARGET_FILE:winhelper> ${PROJECT_VERSION})
set_tests_properties(windows PROPERTIES LABELS quick SKIP_RETURN_CODE 77 ENVIRONMENT "ERRTEXT=${runerrtext}")

# The Windows build's own slow test, run from Linux under wine (tools/wine):
# the zip package, unpacked and its program run. strace cannot see wine's
# calls, so the kill test is Linux's; the property test runs the Linux
# build's generator against this program (.ci/run).
add_test(NAME winpackage COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/winpackage.sh ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(winpackage PROPERTIES LABELS slow)

# a wine process that outlives its run hangs a test: fail in minutes, not ctest's 25
set_tests_properties(golden unit examples faults faults-root large windows winpackage PROPERTIES TIMEOUT 300)
