# Runs aerilon-sim and compares what it prints with an expected file.
#   TOOL      the aerilon-sim binary
#   ARGS      its arguments, separated by "|"
#   EXPECTED  the expected standard output
#   ACTUAL    where to leave the run's output when it differs
# With the environment variable AERILON_UPDATE_TRANSCRIPTS set, the run's
# output becomes the expected file instead (look at the diff before
# committing it).
string(REPLACE "|" ";" arguments "${ARGS}")
execute_process(COMMAND ${TOOL} ${arguments}
                OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "aerilon-sim ${arguments} failed (${status}):\n${errors}")
endif()
if(DEFINED ENV{AERILON_UPDATE_TRANSCRIPTS})
  file(WRITE "${EXPECTED}" "${actual}")
  message(STATUS "wrote ${EXPECTED}")
  return()
endif()
file(READ "${EXPECTED}" expected)
if(NOT actual STREQUAL expected)
  file(WRITE "${ACTUAL}" "${actual}")
  execute_process(COMMAND diff -u "${EXPECTED}" "${ACTUAL}")
  message(FATAL_ERROR "the transcript differs from ${EXPECTED}; this run's is ${ACTUAL}")
endif()
