# Cross build for Windows with MinGW-w64, for the target TRIVO_MINGW_ARCH names: i686, the 32-bit
# program that is the product, or x86_64, the same program for machines that run only 64-bit code
# (and the build the Windows tests use there). The -posix compilers are used throughout: GoogleTest
# needs their thread model. Everything is linked statically so the programs need no runtime DLLs.
if(NOT TRIVO_MINGW_ARCH MATCHES "^(i686|x86_64)$")
  message(FATAL_ERROR "TRIVO_MINGW_ARCH must be i686 or x86_64, not '${TRIVO_MINGW_ARCH}'")
endif()
# Checks that CMake compiles on its own read this file again and need the target too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TRIVO_MINGW_ARCH)
set(triplet ${TRIVO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TRIVO_MINGW_ARCH})
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
