# 64-bit Windows with Debian's mingw-w64: the same sources and tests, for
# machines whose wine cannot start 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SYMTEXT_MINGW_TRIPLE x86_64-w64-mingw32)
set(SYMTEXT_BITS 64)
# A 64-bit program may be placed anywhere in its address space.
set(SYMTEXT_MINGW_LINK -Wl,--high-entropy-va)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
