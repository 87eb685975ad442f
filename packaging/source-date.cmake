# Read by cpack before it makes the package. CPack's DEB generator gives
# every file in the package and every member of its archives the time that
# SOURCE_DATE_EPOCH names, and then two builds of one commit, in any
# directory and at any time, make the same .deb byte for byte. That time is
# the environment's SOURCE_DATE_EPOCH when it has one, else the time of the
# source's last commit; without either, the files carry the time of the
# packaging.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND CPACK_BILIJAR_GIT)
  execute_process(
    COMMAND ${CPACK_BILIJAR_GIT} -C ${CPACK_BILIJAR_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE bilijar_commit_time
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET)
  if(bilijar_commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${bilijar_commit_time})
  endif()
endif()
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(WARNING "neither SOURCE_DATE_EPOCH nor a git commit: the package carries today's time")
endif()
