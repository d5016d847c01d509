# Runs marsh-keeper-sim once and checks what it did.
#   SIM       the simulator
#   ARGS      its arguments, separated by spaces
#   GOLDEN    file the standard output must equal (exit status 0, no standard error), or
#   EXPECT_ERROR  set: exit status 2, one line on standard error, nothing on standard output
#   ERROR_MATCH   optional regular expression the error line must match
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${SIM} ${args}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)

if(EXPECT_ERROR)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "exit status ${rc}, expected 2 (stderr: ${err})")
  endif()
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "standard output is not empty:\n${out}")
  endif()
  string(REGEX MATCHALL "\n" newlines "${err}")
  list(LENGTH newlines lines)
  if(NOT lines EQUAL 1 OR NOT err MATCHES "\n$")
    message(FATAL_ERROR "standard error is not one line:\n${err}")
  endif()
  if(ERROR_MATCH AND NOT err MATCHES "${ERROR_MATCH}")
    message(FATAL_ERROR "error line does not match '${ERROR_MATCH}':\n${err}")
  endif()
  message(STATUS "refused as expected: ${err}")
  return()
endif()

if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit status ${rc}: ${err}")
endif()
if(NOT err STREQUAL "")
  message(FATAL_ERROR "unexpected standard error: ${err}")
endif()
file(READ ${GOLDEN} expected)
if(NOT out STREQUAL expected)
  get_filename_component(name ${GOLDEN} NAME)
  set(actual ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
  file(WRITE ${actual} "${out}")
  message(FATAL_ERROR "trace differs from ${GOLDEN}; this run's trace is in ${actual} (diff them to see where)")
endif()
