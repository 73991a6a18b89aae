# Fails when the program loads the C++ runtime: it needs only libc and libm,
# and loading libstdc++ costs every run its start-up.
execute_process(COMMAND readelf -d "${PROGRAM}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "readelf could not read ${PROGRAM}")
endif()
if(dynamic MATCHES "libstdc\\+\\+|libgcc_s")
  message(FATAL_ERROR "${PROGRAM} needs the C++ runtime:\n${dynamic}")
endif()
