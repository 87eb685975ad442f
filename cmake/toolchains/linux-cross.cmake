# Shared by the Linux cross toolchains: the target's libraries and
# pkg-config files come from Debian's multiarch directories, and the target's
# programs run on this machine either directly (when the kernel can start
# them, as x86-64 kernels usually can start 32-bit x86 programs) or through
# qemu's user-mode emulator. Expects bilijar_triplet (the compiler prefix),
# bilijar_multiarch (the library directory's name), bilijar_loader (the
# target's dynamic loader) and bilijar_qemu (the emulator) to be set.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${bilijar_triplet}-gcc)
set(CMAKE_CXX_COMPILER ${bilijar_triplet}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${bilijar_multiarch})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${bilijar_multiarch}/pkgconfig:/usr/share/pkgconfig)

# Starting the target's own loader tells whether the kernel runs the
# target's programs: an exec format error means it cannot.
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
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR "${bilijar_emulator}" CACHE FILEPATH
    "Runs the target's programs on this machine (empty: the kernel runs them)")
endif()
