# Fails when the program loads more than the C library: not the C++ runtime,
# whose loading costs every run its start-up, and not the maths library, whose
# functions round differently on every platform.
execute_process(COMMAND readelf -d "${PROGRAM}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "readelf could not read ${PROGRAM}")
endif()
if(dynamic MATCHES "libstdc\\+\\+|libgcc_s|libm\\.")
  message(FATAL_ERROR "${PROGRAM} needs more than the C library:\n${dynamic}")
endif()
