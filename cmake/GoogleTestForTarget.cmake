# GoogleTest for the test suites, as the targets GTest::gtest and
# GTest::gtest_main. A native build uses the installed package
# (libgtest-dev). A cross build cannot: that package holds libraries for the
# build machine only, and cannot be installed for another architecture
# beside them. Then, or when no package is installed, GoogleTest is built
# from its sources (the Debian package googletest puts them in
# /usr/src/googletest) with the project's own compiler and flags, so that
# it links with any target, Windows included.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest QUIET)
endif()
if(NOT TARGET GTest::gtest_main)
  set(BILIJAR_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest's sources, built when no installed GoogleTest fits the target")
  if(NOT EXISTS ${BILIJAR_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest for this target: install the Debian package googletest "
      "(its sources in /usr/src/googletest), or set BILIJAR_GOOGLETEST_SOURCE_DIR to GoogleTest's sources")
  endif()
  message(STATUS "Building GoogleTest from ${BILIJAR_GOOGLETEST_SOURCE_DIR}")
  # GoogleTest alone, and nothing of it installed with the program.
  set(BUILD_GMOCK OFF CACHE BOOL "Build GoogleMock with GoogleTest" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "Install GoogleTest with the program" FORCE)
  add_subdirectory(${BILIJAR_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
