# IBM Z Linux (Debian's g++-s390x-linux-gnu), the big-endian target: tests run
# under qemu-s390x.
set(CROSS_TRIPLET s390x-linux-gnu)
set(CROSS_EMULATOR qemu-s390x)
set(CMAKE_SYSTEM_PROCESSOR s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
