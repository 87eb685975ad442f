# GoogleTest for the test suites, as the targets GTest::gtest and
# GTest::gtest_main. A native build uses the installed package (libgtest-dev)
# when there is one. A cross build cannot: that package holds libraries for
# the build machine only, and cannot be installed for another architecture
# beside them. Then, or when no package is installed, GoogleTest is built
# from its sources (the Debian package googletest puts them in
# /usr/src/googletest) with the project's own compiler and flags, so that it
# links with any target, Windows included.
include(FetchContent)
set(BILIJAR_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest's sources, built when no installed GoogleTest fits the target")
if(CMAKE_CROSSCOMPILING)
  set(FETCHCONTENT_TRY_FIND_PACKAGE_MODE NEVER)
else()
  find_package(GTest QUIET)
endif()
if(NOT GTest_FOUND AND NOT EXISTS ${BILIJAR_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest for this target: install the Debian package googletest "
    "(its sources in /usr/src/googletest), or set BILIJAR_GOOGLETEST_SOURCE_DIR to GoogleTest's sources")
endif()
# GoogleTest alone, and nothing of it installed with the program.
set(BUILD_GMOCK OFF CACHE BOOL "Build GoogleMock with GoogleTest" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "Install GoogleTest with the program" FORCE)
FetchContent_Declare(googletest SOURCE_DIR ${BILIJAR_GOOGLETEST_SOURCE_DIR} FIND_PACKAGE_ARGS NAMES GTest)
# GoogleTest's own warnings are its maintainers' to fix, not a reason to stop
# the build.
set(bilijar_warning_as_error ${CMAKE_COMPILE_WARNING_AS_ERROR})
set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
FetchContent_MakeAvailable(googletest)
set(CMAKE_COMPILE_WARNING_AS_ERROR ${bilijar_warning_as_error})
