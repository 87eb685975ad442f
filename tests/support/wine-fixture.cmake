# Starts (MODE=start) or stops (MODE=stop) a persistent Wine server for the
# prefix WINEPREFIX, as the setup and cleanup of the tests' fixture. With
# DISPLAY_FILE, Wine's services start on the X server whose display number
# that file holds.
#   cmake -DWINE=wine64 -DWINESERVER=wineserver -DWINEPREFIX=dir [-DDISPLAY_FILE=file] -DMODE=start|stop
#         -P wine-fixture.cmake
set(ENV{WINEPREFIX} ${WINEPREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
if(MODE STREQUAL "stop")
  execute_process(COMMAND ${WINESERVER} -k OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
  return()
endif()
if(NOT MODE STREQUAL "start")
  message(FATAL_ERROR "MODE must be start or stop, not '${MODE}'")
endif()
if(DISPLAY_FILE)
  file(STRINGS ${DISPLAY_FILE} number LIMIT_COUNT 1 REGEX "^[0-9]+$")
  if(number STREQUAL "")
    message(FATAL_ERROR "no display number in ${DISPLAY_FILE}")
  endif()
  set(ENV{DISPLAY} :${number})
endif()
# A server that is still up (one that listing the tests started and that
# lingers for a few seconds, or this fixture's own when ctest --repeat runs
# the setup again) has its services on another display or none: stop it.
execute_process(COMMAND ${WINESERVER} -k OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
# The server puts itself in the background and stays until it is stopped.
# Output goes to /dev/null, not to CTest's pipe, which the server and the
# services started next would keep open.
execute_process(COMMAND ${WINESERVER} -p OUTPUT_FILE /dev/null ERROR_FILE /dev/null RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${WINESERVER} -p failed (${result})")
endif()
execute_process(COMMAND ${WINE} cmd /c exit 0 OUTPUT_FILE /dev/null ERROR_FILE /dev/null RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Wine cannot run a Windows program in ${WINEPREFIX} (${result})")
endif()
message(STATUS "Wine server up for ${WINEPREFIX}")
