# Cross-builds 32-bit Windows (x86) executables with Debian's MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUENZ_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
