# Shared by the Linux cross toolchain files: set CMAKE_SYSTEM_PROCESSOR,
# SYMTEXT_LINUX_TRIPLE, SYMTEXT_DEBIAN_ARCH (Debian's name of the
# architecture, for the package) and, optionally, SYMTEXT_QEMU_LIBRARIES and
# SYMTEXT_QEMU_ARCH (qemu-user's name of the architecture, where it is not
# CMAKE_SYSTEM_PROCESSOR) first.
#
# Debian's cross compilers (g++-<triple>) link against the target's C library
# and C++ runtime under /usr/<triple>, and ctest runs the target's programs
# here under qemu-user: with those same libraries when SYMTEXT_QEMU_LIBRARIES
# names them, or else with the target's own from Debian's multiarch packages
# (libc6:<architecture> and so on). One or the other, never both: qemu's
# library prefix falls back to this machine's folders, so with the multiarch
# libraries installed it would start a program with one C library's loader
# and another's libc, and a program that forks then hangs. The same holds of
# this machine's library cache, which qemu's prefix falls back to as well: it
# names the 32-bit x86 C library of Debian's libc6-i386 (which clang's runtime
# brings in) in /lib32, so the loader is told to look in the cross compiler's
# folder first.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${SYMTEXT_LINUX_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${SYMTEXT_LINUX_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${SYMTEXT_LINUX_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT SYMTEXT_QEMU_ARCH)
  set(SYMTEXT_QEMU_ARCH ${CMAKE_SYSTEM_PROCESSOR})
endif()
if(SYMTEXT_QEMU_LIBRARIES)
  set(emulator qemu-${SYMTEXT_QEMU_ARCH} -L ${SYMTEXT_QEMU_LIBRARIES}
      -E LD_LIBRARY_PATH=${SYMTEXT_QEMU_LIBRARIES}/lib)
else()
  set(emulator qemu-${SYMTEXT_QEMU_ARCH})
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${emulator} CACHE STRING "Runs the target's programs")
