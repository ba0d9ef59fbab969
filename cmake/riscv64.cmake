# Cross-compiling for 64-bit RISC-V with Debian's g++-riscv64-linux-gnu:
#   cmake -S . -B build-riscv64 --toolchain cmake/riscv64.cmake
# The tests run the programs under qemu-user (Debian's qemu-user).
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(triple riscv64-linux-gnu)
set(qemu qemu-riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
