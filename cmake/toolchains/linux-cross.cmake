# Linux on another Debian architecture, cross-built on Debian x86-64 with
# Debian's cross compiler for it. The architecture is Debian's name for it,
# from the cache variable BILIJAR_ARCH or else the environment variable of
# that name (the preset 'cross' passes it on). The target's libraries and
# pkg-config files come from Debian's multiarch directories, and the
# target's programs run on this machine either directly (when the kernel can
# start them, as x86-64 kernels usually can start 32-bit x86 programs) or
# through qemu's user-mode emulator.
if(NOT BILIJAR_ARCH)
  set(BILIJAR_ARCH "$ENV{BILIJAR_ARCH}")
endif()
set(BILIJAR_ARCH "${BILIJAR_ARCH}" CACHE STRING "The target's Debian architecture" FORCE)
# CMake's own checks build with this file again, in projects of their own.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BILIJAR_ARCH)

# Per architecture: CMAKE_SYSTEM_PROCESSOR, the compilers' prefix, the
# multiarch directory, the dynamic loader, the emulator, and whether the
# build has the window (tools/architectures.txt says why).
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../../tools/architectures.txt bilijar_architectures REGEX "^[a-z]")
set(bilijar_known "")
foreach(row IN LISTS bilijar_architectures)
  separate_arguments(row UNIX_COMMAND "${row}")
  list(GET row 0 name)
  list(APPEND bilijar_known ${name})
  if(name STREQUAL BILIJAR_ARCH)
    list(GET row 1 CMAKE_SYSTEM_PROCESSOR)
    list(GET row 2 bilijar_triplet)
    list(GET row 3 bilijar_multiarch)
    list(GET row 4 bilijar_loader)
    list(GET row 5 bilijar_qemu)
    list(GET row 6 bilijar_window)
  endif()
endforeach()
if(NOT bilijar_triplet)
  list(JOIN bilijar_known ", " bilijar_known)
  message(FATAL_ERROR "BILIJAR_ARCH is '${BILIJAR_ARCH}': set it to one of ${bilijar_known}, "
    "e.g. BILIJAR_ARCH=armhf cmake --workflow --preset cross")
endif()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${bilijar_triplet}-gcc)
set(CMAKE_CXX_COMPILER ${bilijar_triplet}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${bilijar_multiarch})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${bilijar_multiarch}/pkgconfig:/usr/share/pkgconfig)

# Without its GL packages the target builds without the window unless told
# otherwise.
if(NOT bilijar_window AND NOT DEFINED CACHE{BILIJAR_VIEWER})
  set(BILIJAR_VIEWER OFF CACHE BOOL "Build the window (GL, GLU, GLUT, X11) and the program")
endif()

# Starting the target's own loader tells whether the kernel runs the
# target's programs: an exec format error, or no loader, means it cannot.
if(NOT DEFINED CACHE{CMAKE_CROSSCOMPILING_EMULATOR})
  execute_process(COMMAND ${bilijar_loader} --help
    RESULT_VARIABLE bilijar_loader_runs OUTPUT_QUIET ERROR_QUIET)
  if(bilijar_loader_runs EQUAL 0)
    set(bilijar_emulator "")
  else()
    find_program(bilijar_emulator ${bilijar_qemu} NO_CACHE)
    if(NOT bilijar_emulator)
      message(FATAL_ERROR "This kernel cannot run ${bilijar_multiarch} programs and ${bilijar_qemu} "
        "is missing: install the Debian package qemu-user")
    endif()
    # Where the target's C library is not installed for multiarch, qemu
    # takes the loader and libraries from the cross compiler's own copy.
    # Where it is, the multiarch copy must be used alone: the cross copy's
    # loader beside the multiarch C library (another Debian revision)
    # aborts the program.
    if(NOT EXISTS /lib/${bilijar_multiarch}/libc.so.6)
      list(APPEND bilijar_emulator -L /usr/${bilijar_triplet})
    elseif(NOT EXISTS /usr/lib/${bilijar_multiarch}/libstdc++.so.6)
      message(FATAL_ERROR "libc6:${BILIJAR_ARCH} is installed without libstdc++6:${BILIJAR_ARCH}: "
        "install libstdc++6:${BILIJAR_ARCH}, or remove libc6:${BILIJAR_ARCH} so that the cross compiler's own libraries are used")
    endif()
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR "${bilijar_emulator}" CACHE STRING
    "Runs the target's programs on this machine (empty: the kernel runs them)")
endif()
