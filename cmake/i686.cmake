# Cross-compiling for 32-bit x86 with Debian's g++-i686-linux-gnu:
#   cmake -S . -B build-i686 --toolchain cmake/i686.cmake
# The tests run the programs under qemu-user (Debian's qemu-user).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-linux-gnu)
set(qemu qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
