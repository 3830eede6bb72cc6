# Batch mode on another build (Windows, run through Wine) against the Linux
# build on the accuracy set: the cases of the MPFR accuracy test, written as
# batch lines by the Linux accuracy test, each pushing one result. Results
# are compared byte for byte (CR LF read as LF); any difference fails.
#   cmake -DLINUX_BUILD=... -DTALLIX=... -DEMULATOR=... -DWORK_DIR=...
#         -P accuracy_set_compare.cmake
cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY "${WORK_DIR}")
set(set_file "${WORK_DIR}/accuracy_set.txt")
if(NOT EXISTS "${LINUX_BUILD}/tests/tallix_accuracy_tests" OR NOT EXISTS "${LINUX_BUILD}/tallix")
  message(FATAL_ERROR "build the Linux tree first: ${LINUX_BUILD}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env TALLIX_ACCURACY_SET=${set_file}
                        ${LINUX_BUILD}/tests/tallix_accuracy_tests
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the Linux accuracy test failed: ${rc}")
endif()
file(STRINGS "${set_file}" cases)
list(LENGTH cases total)
if(total LESS 1000)
  message(FATAL_ERROR "accuracy set too small: ${total} cases")
endif()

set(run ${CMAKE_COMMAND} -E env LC_ALL=C LANG=C)
execute_process(COMMAND ${run} ${LINUX_BUILD}/tallix --raw --batch INPUT_FILE "${set_file}"
                OUTPUT_VARIABLE linux_out ERROR_VARIABLE linux_err RESULT_VARIABLE linux_rc)
execute_process(COMMAND ${run} ${EMULATOR} ${TALLIX} --raw --batch INPUT_FILE "${set_file}"
                OUTPUT_VARIABLE other_out ERROR_VARIABLE other_err RESULT_VARIABLE other_rc)
string(REPLACE "\r\n" "\n" other_out "${other_out}")
string(REPLACE "\r\n" "\n" other_err "${other_err}")
if(NOT linux_err STREQUAL other_err OR NOT linux_rc EQUAL other_rc)
  message(SEND_ERROR "messages differ:\n--- Linux (${linux_rc})\n${linux_err}--- other (${other_rc})\n${other_err}")
endif()
string(REPLACE ";" "\\;" linux_out "${linux_out}")
string(REPLACE ";" "\\;" other_out "${other_out}")
string(REPLACE "\n" ";" linux_lines "${linux_out}")
string(REPLACE "\n" ";" other_lines "${other_out}")
list(LENGTH linux_lines n)
list(LENGTH other_lines m)
if(NOT n EQUAL m)
  message(FATAL_ERROR "${n} result lines on Linux, ${m} on the other build")
endif()
math(EXPR last "${n} - 2") # the output ends in a line break
set(identical 0)
set(different "")
foreach(i RANGE 0 ${last})
  list(GET linux_lines ${i} a)
  list(GET other_lines ${i} b)
  if(a STREQUAL b)
    math(EXPR identical "${identical} + 1")
    continue()
  endif()
  list(GET cases ${i} c)
  string(APPEND different "  ${c}: ${a} | ${b}\n")
endforeach()
message(STATUS "${total} cases: ${identical} identical")
if(different)
  message(FATAL_ERROR "results differ from Linux (case: Linux | other):\n${different}")
endif()
