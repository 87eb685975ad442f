# clang-format over the project's C++ sources, as .clang-format says:
# the target format-check fails on any file that clang-format would change
# and names it; the target format rewrites them. Build preset 'format' runs
# the check.
find_program(BILIJAR_CLANG_FORMAT clang-format)
if(BILIJAR_CLANG_FORMAT)
  set(bilijar_format_globs)
  foreach(dir geometry scene desktop billiard tests fuzz web)
    list(APPEND bilijar_format_globs ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
  endforeach()
  file(GLOB_RECURSE bilijar_format_files CONFIGURE_DEPENDS ${bilijar_format_globs})
  list(SORT bilijar_format_files)
  add_custom_target(format-check
    COMMAND ${BILIJAR_CLANG_FORMAT} --dry-run --Werror ${bilijar_format_files}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Checking the format of the C++ sources"
    VERBATIM)
  add_custom_target(format
    COMMAND ${BILIJAR_CLANG_FORMAT} -i ${bilijar_format_files}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    VERBATIM)
endif()
