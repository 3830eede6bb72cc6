# Writes the manual page from its template, with the command names that
# batch mode knows, as `tallix --list-commands` prints them, so the page
# cannot fall behind the program.
#   cmake -DTALLIX=... -DTEMPLATE=... -DOUTPUT=... -DPROJECT_VERSION=... -P make_manpage.cmake
execute_process(COMMAND ${TALLIX} --list-commands
                OUTPUT_VARIABLE names RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR names STREQUAL "")
  message(FATAL_ERROR "tallix --list-commands failed: ${rc}")
endif()
string(REPLACE "\r" "" names "${names}")
string(REGEX REPLACE "\n$" "" names "${names}")
string(REPLACE "\n" ";" names "${names}")
set(words "")
foreach(name IN LISTS names)
  # roff escapes: the backslash, a hyphen that must stay a minus sign, and
  # the two operator signs outside ASCII.
  string(REPLACE "\\" "\\e" w "${name}")
  string(REPLACE "-" "\\-" w "${w}")
  string(REPLACE "×" "\\(mu" w "${w}")
  string(REPLACE "÷" "\\(di" w "${w}")
  if(NOT w MATCHES "^[!-~]+$")
    message(FATAL_ERROR "command name '${name}' needs a roff escape in make_manpage.cmake")
  endif()
  list(APPEND words "\\fB${w}\\fR")
endforeach()
# One name a line, after \& so that none starts a request.
list(JOIN words "\n\\&" TALLIX_COMMANDS)
set(TALLIX_COMMANDS "\\&${TALLIX_COMMANDS}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
