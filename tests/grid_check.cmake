# The grid (grid.txt) through the built program, for builds with no
# GoogleTest: each recorded input typed into PROGRAM (through EMULATOR, if
# any), and what the run gives compared with the record as grid_test.cpp
# writes it: the report's figures, the message on standard error and a
# status other than 0, a line each.
set(amount_label "Total Borrowed Amount : \\$")
set(rate_label "Monthly Interest Rate : ")
set(payment_label "Monthly Payment       : \\$")

function(outcome input result)
  file(WRITE "${WORK}" "${input}\n")
  execute_process(COMMAND ${EMULATOR} "${PROGRAM}" INPUT_FILE "${WORK}" OUTPUT_VARIABLE output
    ERROR_VARIABLE errors RESULT_VARIABLE status)
  string(REPLACE "\r\n" "\n" output "${output}")
  set(lines "")
  foreach(name amount rate payment)
    if(output MATCHES "${${name}_label}([^\n]*)")
      string(APPEND lines "${input}\t${name}\t${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
  string(REGEX REPLACE "[\r\n]+$" "" errors "${errors}")
  if(NOT errors STREQUAL "")
    string(APPEND lines "${input}\terror\t${errors}\n")
  endif()
  if(NOT status STREQUAL "0")
    string(APPEND lines "${input}\tstatus\t${status}\n")
  endif()
  set(${result} "${lines}" PARENT_SCOPE)
endfunction()

# An input's lines follow each other; a last round past the end closes the
# last input's.
file(STRINGS "${GRID}" lines)
set(inputs 0)
set(differences 0)
set(report "")
set(input "\n") # no input's
set(expected "")
foreach(line IN LISTS lines ITEMS "\n")
  string(FIND "${line}" "\t" tab)
  string(SUBSTRING "${line}" 0 ${tab} next)
  if(NOT next STREQUAL input)
    if(NOT input STREQUAL "\n")
      math(EXPR inputs "${inputs} + 1")
      outcome("${input}" actual)
      if(NOT actual STREQUAL expected)
        math(EXPR differences "${differences} + 1")
        string(APPEND report "recorded:\n${expected}here:\n${actual}")
      endif()
    endif()
    set(input "${next}")
    set(expected "")
  endif()
  string(APPEND expected "${line}\n")
endforeach()
file(REMOVE "${WORK}")
if(differences GREATER 0)
  message(FATAL_ERROR "${differences} of ${inputs} inputs differ:\n${report}")
endif()
