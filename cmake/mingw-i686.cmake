# 32-bit Windows, the program's own platform, with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SYMTEXT_MINGW_TRIPLE i686-w64-mingw32)
set(SYMTEXT_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
