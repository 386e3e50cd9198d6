# Runs aerilon-sim on a bad flight script: it must run nothing (print
# nothing on standard output), exit with status 2 and name the file, the
# line and the fault on standard error.
#   TOOL, FLIGHT, MESSAGE  (the expected error line, exactly)
execute_process(COMMAND ${TOOL} --flight ${FLIGHT}
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "exit status ${status}, not 2; standard error:\n${errors}")
endif()
if(NOT output STREQUAL "")
  message(FATAL_ERROR "a refused flight printed a transcript:\n${output}")
endif()
string(STRIP "${errors}" errors)
if(NOT errors STREQUAL "aerilon-sim: ${FLIGHT}:${MESSAGE}")
  message(FATAL_ERROR "standard error was\n  ${errors}\nnot\n  aerilon-sim: ${FLIGHT}:${MESSAGE}")
endif()
