# Shared by the mingw-w64 toolchain files: set SYMTEXT_MINGW_TRIPLE,
# SYMTEXT_BITS (32 or 64) and SYMTEXT_MINGW_LINK (the target's own linker
# flags) first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: the win32 one of Debian's GCC 12 has no std::mutex,
# which the unit tests' GoogleTest needs. symtext itself starts no thread, and
# -static below keeps the executable free of the threading DLL.
set(CMAKE_C_COMPILER ${SYMTEXT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SYMTEXT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SYMTEXT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SYMTEXT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no C++ runtime or threading DLL beside it.
# Windows may load it at any address (ASLR) and keeps its data from being
# run (DEP); its header carries no link time, so that a rebuild gives the same
# bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT
  "-static -static-libgcc -static-libstdc++ -Wl,--dynamicbase,--nxcompat,--no-insert-timestamp ${SYMTEXT_MINGW_LINK}")

# ctest runs the tests through wine, which tools/wine.sh finds.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine.sh run ${SYMTEXT_BITS}
    CACHE STRING "Runs the Windows program")
