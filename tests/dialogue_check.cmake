# Runs the calculator (through EMULATOR, if any) on INPUT, in which \n and \t
# stand for a newline and a tab, and compares its whole output, standard
# error and exit status with what they must be:
# - with AMOUNT, RATE and PAYMENT, the input in a file: the report (REPORT,
#   a template) for those figures, nothing, and 0;
# - with PROMPTS and ERROR, an answer that cannot be read, the input on a
#   pipe (or, for INPUT "<directory>", a directory as standard input): the
#   report up to its PROMPTS-th prompt and a newline, the line ERROR, and 2.
# Windows ends its lines with \r\n; they count as \n.
string(REPLACE "\\n" "\n" input "${INPUT}")
string(REPLACE "\\t" "\t" input "${input}")
file(REMOVE_RECURSE "${WORK}")
file(WRITE "${WORK}/input" "${input}")
file(READ "${REPORT}" report)
set(results OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT DEFINED ERROR)
  execute_process(COMMAND ${EMULATOR} "${PROGRAM}" INPUT_FILE "${WORK}/input" ${results})
  string(CONFIGURE "${report}" expected @ONLY)
  set(expected_errors "")
  set(expected_status 0)
else()
  if(INPUT STREQUAL "<directory>")
    execute_process(COMMAND ${EMULATOR} "${PROGRAM}" INPUT_FILE "${WORK}" ${results})
  else()
    execute_process(COMMAND ${CMAKE_COMMAND} -E cat "${WORK}/input" COMMAND ${EMULATOR} "${PROGRAM}" ${results})
  endif()
  # Each prompt ends in "): ".
  set(expected "")
  foreach(prompt RANGE 1 ${PROMPTS})
    string(FIND "${report}" "): " end)
    math(EXPR end "${end} + 3")
    string(SUBSTRING "${report}" 0 ${end} shown)
    string(SUBSTRING "${report}" ${end} -1 report)
    string(APPEND expected "${shown}")
  endforeach()
  string(APPEND expected "\n")
  set(expected_errors "${ERROR}\n")
  set(expected_status 2)
endif()
string(REPLACE "\r\n" "\n" output "${output}")
string(REPLACE "\r\n" "\n" errors "${errors}")
if(NOT output STREQUAL expected OR NOT errors STREQUAL expected_errors OR NOT status STREQUAL expected_status)
  message(FATAL_ERROR "status ${status} (expected ${expected_status}), standard error:\n${errors}\n"
    "expected:\n${expected_errors}\noutput:\n${output}\nexpected:\n${expected}")
endif()
file(REMOVE_RECURSE "${WORK}")
