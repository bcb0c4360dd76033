# Builds 32-bit Windows (x86) programs on Windows with MSYS2's MINGW32 toolchain (its package
# mingw-w64-i686-gcc), found beside the MINGW64 environment whose CMake runs this.
get_filename_component(quenz_msys2 "${CMAKE_COMMAND}/../../.." ABSOLUTE)
set(CMAKE_C_COMPILER ${quenz_msys2}/mingw32/bin/gcc.exe)
set(CMAKE_CXX_COMPILER ${quenz_msys2}/mingw32/bin/g++.exe)
set(CMAKE_RC_COMPILER ${quenz_msys2}/mingw32/bin/windres.exe)
