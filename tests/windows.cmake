# The Windows build's own slow test, run from Linux under wine (tools/wine):
# the zip package, unpacked and its program run. strace cannot see wine's
# calls, so the kill test is Linux's; the property test runs the Linux
# build's generator against this program (.ci/run).
add_test(NAME package COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/winpackage.sh ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(package PROPERTIES LABELS slow)

# a wine process that outlives its run hangs a test: fail in minutes, not ctest's 25
set_tests_properties(golden unit examples faults faults-root large package PROPERTIES TIMEOUT 300)
