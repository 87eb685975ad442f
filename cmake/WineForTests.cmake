# The tests of a Windows build that runs on Linux under Wine. Every Windows
# program runs in a private Wine prefix in the build tree, without Wine's
# debug output and without the Mono and Gecko installers, through the
# emulator that the toolchain found (CMAKE_CROSSCOMPILING_EMULATOR). The
# prefix is made here, at configure time, since the build already runs the
# test programs to list their tests.
find_program(BILIJAR_WINESERVER NAMES wineserver64 wineserver HINTS /usr/lib/wine REQUIRED)
set(BILIJAR_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
set(bilijar_wine_environment
  WINEPREFIX=${BILIJAR_WINEPREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
set(bilijar_wine ${CMAKE_CROSSCOMPILING_EMULATOR})
if(NOT EXISTS ${BILIJAR_WINEPREFIX}/system.reg)
  message(STATUS "Making the Wine prefix ${BILIJAR_WINEPREFIX}")
  # Output to files, not pipes: the Wine services that the first program
  # starts keep its output open, and a pipe would be waited on until they end.
  # Wine writes the registry when its server ends; wait for that.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${bilijar_wine_environment} ${bilijar_wine} wineboot --init
    COMMAND_ECHO NONE OUTPUT_FILE /dev/null ERROR_FILE /dev/null RESULT_VARIABLE result)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${bilijar_wine_environment} ${BILIJAR_WINESERVER} -w
    OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
  if(NOT result EQUAL 0 OR NOT EXISTS ${BILIJAR_WINEPREFIX}/system.reg)
    message(FATAL_ERROR "wineboot --init could not make the Wine prefix ${BILIJAR_WINEPREFIX}")
  endif()
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${bilijar_wine_environment} ${bilijar_wine})

# A persistent Wine server for the whole test run, its services started by
# one program whose output goes nowhere: otherwise each test's first Windows
# program starts them, they inherit its output, and CTest waits for them.
# Every test requires this fixture. When BILIJAR_WINE_DISPLAY_FILE is set,
# the services start on the X server whose display number that file holds
# when the tests run, so that Windows programs started with that DISPLAY
# show their windows there.
set(wine_fixture ${CMAKE_CURRENT_LIST_DIR}/../tests/support/wine-fixture.cmake)
foreach(mode start stop)
  add_test(NAME wine.${mode} COMMAND ${CMAKE_COMMAND}
    "-DWINE=${bilijar_wine}" "-DWINESERVER=${BILIJAR_WINESERVER}" "-DWINEPREFIX=${BILIJAR_WINEPREFIX}"
    "-DDISPLAY_FILE=${BILIJAR_WINE_DISPLAY_FILE}" -DMODE=${mode} -P ${wine_fixture})
endforeach()
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
