# IBM Z Linux (big-endian), with Debian's g++-s390x-linux-gnu.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(SYMTEXT_LINUX_TRIPLE s390x-linux-gnu)
set(SYMTEXT_DEBIAN_ARCH s390x)
# Its programs run with the cross compiler's own libraries.
set(SYMTEXT_QEMU_LIBRARIES /usr/s390x-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
