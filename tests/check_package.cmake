# Builds the Debian package and checks that it holds the program and its
# manual page under /usr.
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND cpack -G DEB -B "${WORK}" WORKING_DIRECTORY "${BUILD}" OUTPUT_VARIABLE log
  ERROR_VARIABLE log RESULT_VARIABLE failed)
file(GLOB package "${WORK}/*.deb")
if(failed OR NOT package)
  message(FATAL_ERROR "cpack made no package:\n${log}")
endif()
execute_process(COMMAND dpkg -c ${package} OUTPUT_VARIABLE contents RESULT_VARIABLE failed)
foreach(path ./usr/bin/payment_calculator ./usr/share/man/man1/payment_calculator.1)
  string(REPLACE "." "\\." pattern "${path}")
  if(failed OR NOT contents MATCHES " ${pattern}\n")
    message(FATAL_ERROR "the package lacks ${path}:\n${contents}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
