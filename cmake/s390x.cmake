# Cross-compiling for IBM Z, big-endian with Debian's g++-s390x-linux-gnu:
#   cmake -S . -B build-s390x --toolchain cmake/s390x.cmake
# The tests run the programs under qemu-user (Debian's qemu-user).
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(triple s390x-linux-gnu)
set(qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
