# Runs every *.in scenario through batch mode and compares standard output,
# standard error and the exit status with the matching *.out file:
#   the stack lines, then "--- stderr", the error lines, then "--- exit N".
file(GLOB cases "${GOLDEN_DIR}/*.in")
set(failed 0)
foreach(case IN LISTS cases)
  get_filename_component(name "${case}" NAME_WE)
  file(READ "${case}" input)
  set(args "")
  if(input MATCHES "^#! *([^\n]*)\n")
    separate_arguments(args UNIX_COMMAND "${CMAKE_MATCH_1}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANG=C ${TALLIX} --batch ${args}
                  INPUT_FILE "${case}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  set(actual "${out}--- stderr\n${err}--- exit ${rc}\n")
  file(READ "${GOLDEN_DIR}/${name}.out" expected)
  if(NOT actual STREQUAL expected)
    message(SEND_ERROR "golden case ${name} differs.\n--- expected\n${expected}--- actual\n${actual}")
    math(EXPR failed "${failed} + 1")
  endif()
endforeach()
list(LENGTH cases total)
if(failed)
  message(FATAL_ERROR "${failed} of ${total} golden cases failed")
endif()
message(STATUS "${total} golden cases passed")
