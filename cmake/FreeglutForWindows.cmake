# freeglut for a Windows build, as the target BILIJAR_FREEGLUT_TARGET that
# bilijar_glut links: FreeGLUT::freeglut_static, which carries
# FREEGLUT_STATIC (the header needs it) and opengl32, winmm and gdi32.
# FindGLUT would take the DLL's import library and miss FREEGLUT_STATIC, so
# only freeglut's own CMake package serves.
#
# Natively on Windows that package is the one MSYS2 or vcpkg installs. A
# cross build from Debian, which packages no freeglut for Windows, gets it
# at configure time: Debian's freeglut source package, downloaded with
# apt-get through a private source list (the system's lists stay as they
# are, and no root is needed), then built with this build's toolchain and
# installed into the build tree. Later configures find it there.

# The freeglut release that the Windows build is made from, and the SHA-256
# of its source archive (the same in every Debian revision of it): another
# archive, whatever the archive serves that day, stops the configure.
set(BILIJAR_FREEGLUT_VERSION 3.4.0)
set(BILIJAR_FREEGLUT_SHA256 3c0bcb915d9b180a97edaebd011b7a1de54583a838644dcd42bb0ea0c6f3eaec)

# Reads the archive's address, suite and keyring from the system's apt
# sources (deb822 first, then the one-line form) into the named variables.
function(bilijar_debian_archive uri_var suite_var keyring_var)
  set(uri http://deb.debian.org/debian)
  set(suite bookworm)
  set(keyring /usr/share/keyrings/debian-archive-keyring.gpg)
  if(EXISTS /etc/apt/sources.list.d/debian.sources)
    file(READ /etc/apt/sources.list.d/debian.sources sources)
    # The first stanza names the main archive.
    string(REGEX REPLACE "\n[ \t]*\n.*" "" stanza "${sources}")
    if(stanza MATCHES "URIs:[ \t]*([^ \t\n]+)")
      set(uri ${CMAKE_MATCH_1})
    endif()
    if(stanza MATCHES "Suites:[ \t]*([^ \t\n]+)")
      set(suite ${CMAKE_MATCH_1})
    endif()
    if(stanza MATCHES "Signed-By:[ \t]*([^ \t\n]+)")
      set(keyring ${CMAKE_MATCH_1})
    endif()
  elseif(EXISTS /etc/apt/sources.list)
    file(STRINGS /etc/apt/sources.list lines REGEX "^deb[ \t]")
    list(GET lines 0 line)
    if(line MATCHES "signed-by=([^] \t]+)")
      set(keyring ${CMAKE_MATCH_1})
    endif()
    string(REGEX REPLACE "\\[[^]]*\\]" "" line "${line}")
    if(line MATCHES "^deb[ \t]+([^ \t]+)[ \t]+([^ \t]+)")
      set(uri ${CMAKE_MATCH_1})
      set(suite ${CMAKE_MATCH_2})
    endif()
  endif()
  set(${uri_var} ${uri} PARENT_SCOPE)
  set(${suite_var} ${suite} PARENT_SCOPE)
  set(${keyring_var} ${keyring} PARENT_SCOPE)
endfunction()

# Runs a command of the freeglut build, its output in a log; a failure stops
# the configure with the log's text.
function(bilijar_freeglut_step what log)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_FILE ${log} ERROR_FILE ${log})
  if(NOT result EQUAL 0)
    file(READ ${log} output)
    message(FATAL_ERROR "freeglut for Windows: ${what} failed (${result}):\n${output}\n"
      "Set FreeGLUT_DIR to an installed freeglut for Windows (its lib/cmake/FreeGLUT) instead.")
  endif()
endfunction()

# Downloads Debian's freeglut sources and builds them, static, into prefix.
function(bilijar_build_freeglut prefix)
  set(work ${CMAKE_BINARY_DIR}/freeglut)
  set(download ${work}/download)
  set(tarball ${download}/freeglut_${BILIJAR_FREEGLUT_VERSION}.orig.tar.gz)
  if(NOT EXISTS ${tarball})
    find_program(BILIJAR_APT_GET apt-get)
    if(NOT BILIJAR_APT_GET)
      message(FATAL_ERROR "freeglut for Windows: no apt-get to fetch Debian's freeglut sources; "
        "set FreeGLUT_DIR to an installed freeglut for Windows (its lib/cmake/FreeGLUT)")
    endif()
    bilijar_debian_archive(uri suite keyring)
    message(STATUS "Downloading Debian's freeglut sources from ${uri} ${suite}")
    file(MAKE_DIRECTORY ${work}/apt/lists/partial ${work}/apt/cache/archives/partial ${download})
    file(WRITE ${work}/apt/sources.sources
      "Types: deb-src\nURIs: ${uri}\nSuites: ${suite}\nComponents: main\nSigned-By: ${keyring}\n")
    set(apt ${BILIJAR_APT_GET} -q
      -o Dir::Etc::sourcelist=${work}/apt/sources.sources -o Dir::Etc::sourceparts=/dev/null
      -o Dir::State::Lists=${work}/apt/lists -o Dir::Cache=${work}/apt/cache)
    bilijar_freeglut_step("apt-get update" ${work}/apt/update.log ${apt} update)
    execute_process(COMMAND ${CMAKE_COMMAND} -E chdir ${download} ${apt} source --download-only freeglut
      RESULT_VARIABLE result OUTPUT_FILE ${work}/apt/source.log ERROR_FILE ${work}/apt/source.log)
    if(NOT EXISTS ${tarball})
      file(GLOB served ${download}/*)
      file(READ ${work}/apt/source.log output)
      message(FATAL_ERROR "freeglut for Windows: expected freeglut_${BILIJAR_FREEGLUT_VERSION}.orig.tar.gz, "
        "but apt-get source freeglut gave: ${served}\n${output}")
    endif()
  endif()
  file(SHA256 ${tarball} sha256)
  if(NOT sha256 STREQUAL BILIJAR_FREEGLUT_SHA256)
    message(FATAL_ERROR "freeglut for Windows: ${tarball} is not the archive this build is pinned to:\n"
      "  expected SHA-256 ${BILIJAR_FREEGLUT_SHA256}\n"
      "  came     SHA-256 ${sha256}\n"
      "Remove it to download it again, or check the archive's source.")
  endif()
  file(REMOVE_RECURSE ${work}/src ${work}/build)
  file(ARCHIVE_EXTRACT INPUT ${tarball} DESTINATION ${work}/src)
  file(GLOB source_dir ${work}/src/freeglut-*)

  message(STATUS "Building freeglut for Windows from ${tarball}")
  # No demos and no DLL; REPLACE_GLUT installs GL/glut.h beside GL/freeglut.h.
  bilijar_freeglut_step("configuring freeglut" ${work}/configure.log
    ${CMAKE_COMMAND} -S ${source_dir} -B ${work}/build -G ${CMAKE_GENERATOR}
    -DCMAKE_MAKE_PROGRAM=${CMAKE_MAKE_PROGRAM}
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${prefix}
    -DFREEGLUT_BUILD_DEMOS=OFF
    -DFREEGLUT_REPLACE_GLUT=ON
    -DFREEGLUT_BUILD_SHARED_LIBS=OFF
    -DFREEGLUT_BUILD_STATIC_LIBS=ON)
  bilijar_freeglut_step("building freeglut" ${work}/build.log ${CMAKE_COMMAND} --build ${work}/build)
  bilijar_freeglut_step("installing freeglut" ${work}/install.log
    ${CMAKE_COMMAND} --install ${work}/build)
endfunction()

find_package(FreeGLUT CONFIG QUIET)
if(NOT FreeGLUT_FOUND AND CMAKE_CROSSCOMPILING)
  set(prefix ${CMAKE_BINARY_DIR}/freeglut/install)
  if(NOT EXISTS ${prefix}/lib/cmake/FreeGLUT)
    bilijar_build_freeglut(${prefix})
  endif()
  # The build tree is not under the toolchain's find root: look there as it is.
  find_package(FreeGLUT CONFIG REQUIRED PATHS ${prefix} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
endif()
if(NOT FreeGLUT_FOUND)
  message(FATAL_ERROR "No freeglut for Windows: install its CMake package "
    "(MSYS2 UCRT64: pacman -S mingw-w64-ucrt-x86_64-freeglut; vcpkg: vcpkg install freeglut:x64-mingw-static) "
    "or set FreeGLUT_DIR to its lib/cmake/FreeGLUT")
endif()
# The viewer reads -geometry with the copy of XParseGeometry that freeglut
# for Windows carries in its static library only; the DLL does not export it.
if(NOT TARGET FreeGLUT::freeglut_static)
  message(FATAL_ERROR "freeglut in ${FreeGLUT_DIR} has no static library (FreeGLUT::freeglut_static), "
    "which the viewer needs for XParseGeometry: install freeglut's static library "
    "(vcpkg: the triplet x64-mingw-static)")
endif()
set(BILIJAR_FREEGLUT_TARGET FreeGLUT::freeglut_static)
message(STATUS "freeglut for Windows: ${BILIJAR_FREEGLUT_TARGET} from ${FreeGLUT_DIR}")
