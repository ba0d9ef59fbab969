# Cross-compiling for 64-bit ARM (Raspberry Pi 3 and later, ARM servers) with Debian's g++-aarch64-linux-gnu:
#   cmake -S . -B build-aarch64 --toolchain cmake/aarch64.cmake
# The tests run the programs under qemu-user (Debian's qemu-user).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(triple aarch64-linux-gnu)
set(qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
