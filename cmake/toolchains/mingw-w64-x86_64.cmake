# Windows x86-64 from Debian with MinGW-w64 (package g++-mingw-w64-x86-64-posix).
# The posix thread model: the win32 one has no std::mutex, which GoogleTest
# needs. Everything links statically (libgcc, libstdc++, winpthread and, in
# the project, freeglut), so the program needs no DLL that Windows lacks.
# The tests run under Wine (package wine64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BILIJAR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BILIJAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BILIJAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BILIJAR_MINGW_PREFIX}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# Headers and libraries of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${BILIJAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian installs Wine's 64-bit loader outside PATH.
find_program(BILIJAR_WINE64 NAMES wine64 wine HINTS /usr/lib/wine)
if(BILIJAR_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BILIJAR_WINE64})
endif()
