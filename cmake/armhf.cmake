# Cross-compiling for 32-bit ARM with hardware floating point (Raspberry Pi
# OS, Debian armhf) with Debian's g++-arm-linux-gnueabihf:
#   cmake -S . -B build-armhf --toolchain cmake/armhf.cmake
# The tests run the programs under qemu-user (Debian's qemu-user).
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(triple arm-linux-gnueabihf)
set(qemu qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
