# 32-bit x86 Linux (little-endian, 4-byte size_t and pointers), with Debian's
# g++-i686-linux-gnu. It has the 32-bit sizes of the program's own platform,
# and runs under qemu-i386 on any machine, where wine cannot run the 32-bit
# Windows build.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SYMTEXT_LINUX_TRIPLE i686-linux-gnu)
set(SYMTEXT_DEBIAN_ARCH i386)
set(SYMTEXT_QEMU_ARCH i386)
# Without SSE2, as the 32-bit Windows build, so that the portable paths run.
# It is Debian's default; naming it keeps a compiler with another default
# from taking the SSE2 paths.
set(CMAKE_C_FLAGS_INIT -march=i686)
set(CMAKE_CXX_FLAGS_INIT -march=i686)
# Its programs run with the cross compiler's own libraries, so that neither
# the kernel's 32-bit support nor Debian's i386 packages are needed.
set(SYMTEXT_QEMU_LIBRARIES /usr/i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross-common.cmake)
