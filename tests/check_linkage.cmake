# Fails when the program loads more than the C library: not the C++ runtime,
# whose loading costs every run its start-up, and not the maths library, whose
# functions round differently on every platform. A Windows program (OBJDUMP
# given) may load the system's own DLLs and nothing else, so that it runs alone.
if(OBJDUMP)
  execute_process(COMMAND ${OBJDUMP} -p "${PROGRAM}" OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
  string(REGEX MATCHALL "DLL Name: [^\n]*" dlls "${headers}")
  list(REMOVE_ITEM dlls "DLL Name: KERNEL32.dll" "DLL Name: msvcrt.dll")
  if(failed OR dlls)
    message(FATAL_ERROR "${PROGRAM} needs more than the system's DLLs (${failed}): ${dlls}")
  endif()
  return()
endif()
execute_process(COMMAND readelf -d "${PROGRAM}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "readelf could not read ${PROGRAM}")
endif()
if(dynamic MATCHES "libstdc\\+\\+|libgcc_s|libm\\.")
  message(FATAL_ERROR "${PROGRAM} needs more than the C library:\n${dynamic}")
endif()
