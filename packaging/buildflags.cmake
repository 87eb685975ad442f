# The Debian package's compiler and linker flags, as dpkg-buildflags gives
# them with every hardening feature: -D_FORTIFY_SOURCE=2,
# -fstack-protector-strong, -Wl,-z,relro -Wl,-z,now (and PIE, the
# compiler's default), with -O2 -g. Asked from the source directory, its
# -ffile-prefix-map maps that directory to ".", so that no build path
# reaches the binary, its debug information or its build ID. The options of
# bilijar_options (-ffp-contract=off among them) come on top, as for every
# build.
find_program(BILIJAR_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${BILIJAR_DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE bilijar_${kind}
    OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
set(CMAKE_CXX_FLAGS "${bilijar_CPPFLAGS} ${bilijar_CXXFLAGS}")
set(CMAKE_EXE_LINKER_FLAGS "${bilijar_LDFLAGS}")
message(STATUS "Debian build flags: ${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
