# Runs the calculator (through EMULATOR, if any) on INPUT, in which \n and \t
# stand for a newline and a tab, and compares its whole output with the report
# (REPORT, a template) for AMOUNT, RATE and PAYMENT, its standard error with nothing and its exit
# status with 0. Windows ends its lines with \r\n; they count as \n.
string(REPLACE "\\n" "\n" input "${INPUT}")
string(REPLACE "\\t" "\t" input "${input}")
file(REMOVE_RECURSE "${WORK}")
file(WRITE "${WORK}/input" "${input}")
execute_process(COMMAND ${EMULATOR} "${PROGRAM}" INPUT_FILE "${WORK}/input" OUTPUT_VARIABLE output
  ERROR_VARIABLE errors RESULT_VARIABLE status)
string(REPLACE "\r\n" "\n" output "${output}")

file(READ "${REPORT}" report)
string(CONFIGURE "${report}" expected @ONLY)
if(NOT output STREQUAL expected OR NOT errors STREQUAL "" OR NOT status STREQUAL "0")
  message(FATAL_ERROR "status ${status}, standard error:\n${errors}\noutput:\n${output}\nexpected:\n${expected}")
endif()
file(REMOVE_RECURSE "${WORK}")
