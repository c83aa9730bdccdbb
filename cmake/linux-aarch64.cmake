# 64-bit ARM Linux (little-endian, no SSE2), with Debian's g++-aarch64-linux-gnu.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(SYMTEXT_LINUX_TRIPLE aarch64-linux-gnu)
set(SYMTEXT_DEBIAN_ARCH arm64)
# Its programs run with Debian's arm64 libraries (libc6:arm64, libstdc++6:arm64),
# which the package's Depends are read from too.
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
