# 64-bit ARM Linux (Debian's g++-aarch64-linux-gnu), tests run under qemu-aarch64.
set(CROSS_TRIPLET aarch64-linux-gnu)
set(CROSS_EMULATOR qemu-aarch64)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
