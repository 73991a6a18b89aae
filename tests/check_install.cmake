# Installs the build into a scratch prefix and checks the tree: the program
# runs from there, and its manual page renders without a warning.
set(prefix "${WORK}/prefix")
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}" OUTPUT_QUIET
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

file(GLOB_RECURSE installed RELATIVE "${prefix}" "${prefix}/*")
list(SORT installed)
set(expected bin/payment_calculator share/man/man1/payment_calculator.1)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed ${installed}, expected ${expected}")
endif()

file(WRITE "${WORK}/answers" "1000 1 12\n")
execute_process(COMMAND "${prefix}/bin/payment_calculator" INPUT_FILE "${WORK}/answers"
  OUTPUT_VARIABLE dialogue RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT dialogue MATCHES "Monthly Payment       : \\$88\\.85\n\nEnd Program\n$")
  message(FATAL_ERROR "the installed program answered (${status}):\n${dialogue}")
endif()

set(page "${prefix}/share/man/man1/payment_calculator.1")
execute_process(COMMAND groff -ww -z -man -Tutf8 "${page}" ERROR_VARIABLE warnings RESULT_VARIABLE failed)
if(failed OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff warns about the manual page:\n${warnings}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env MANPAGER=cat MANWIDTH=80 man -l "${page}"
  OUTPUT_VARIABLE rendered ERROR_VARIABLE warnings RESULT_VARIABLE failed)
foreach(section NAME SYNOPSIS DESCRIPTION "EXIT STATUS" EXAMPLES)
  if(NOT rendered MATCHES "\n${section}\n")
    message(FATAL_ERROR "man -l shows no ${section} section:\n${rendered}")
  endif()
endforeach()
if(failed OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "man -l failed or warned:\n${warnings}")
endif()
file(REMOVE_RECURSE "${WORK}")
