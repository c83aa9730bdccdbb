# Shared by the mingw-w64 toolchain files: set SYMTEXT_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${SYMTEXT_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${SYMTEXT_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${SYMTEXT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SYMTEXT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no C++ runtime or threading DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the process-level tests through wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine CACHE STRING "Runs the Windows program")
