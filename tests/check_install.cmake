# Installs the build into a scratch prefix and checks the tree: the program
# runs from there, the README's example builds against it with pkg-config
# and with find_package and runs, and the manual pages render without a
# warning.
set(prefix "${WORK}/prefix")
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}" OUTPUT_QUIET
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

file(GLOB_RECURSE installed RELATIVE "${prefix}" "${prefix}/*")
list(SORT installed)
string(TOLOWER "${CONFIG}" config)
if(config STREQUAL "")
  set(config noconfig)
endif()
set(package "${LIBDIR}/cmake/ConsoleIOUtility/ConsoleIOUtilityConfig")
set(expected "${BINDIR}/payment_calculator" "${INCLUDEDIR}/Console_IO_Utility.h" "${package}-${config}.cmake"
  "${package}.cmake" "${package}Version.cmake" "${LIBDIR}/libconsole_io_utility.a"
  "${LIBDIR}/pkgconfig/console_io_utility.pc" "${MANDIR}/man1/payment_calculator.1"
  "${MANDIR}/man3/console_io_utility.3")
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed ${installed}, expected ${expected}")
endif()

execute_process(COMMAND bash "${SMOKE_TEST}" ${EMULATOR} "${prefix}/${BINDIR}/payment_calculator"
  OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the installed program:\n${said}")
endif()

# The example, built as a user would with the compiler and flags of this
# build, against the scratch tree alone: the pkg-config file must name it.
set(pkg_config ${CMAKE_COMMAND} -E env "PKG_CONFIG_LIBDIR=${prefix}/${LIBDIR}/pkgconfig" pkg-config)
execute_process(COMMAND ${pkg_config} --cflags console_io_utility OUTPUT_VARIABLE cflags
  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
execute_process(COMMAND ${pkg_config} --libs console_io_utility OUTPUT_VARIABLE libs OUTPUT_STRIP_TRAILING_WHITESPACE)
string(FIND "${cflags} ${libs}" "${prefix}/" at)
if(failed OR at EQUAL -1)
  message(FATAL_ERROR "pkg-config does not give the scratch prefix ${prefix} (${failed}): ${cflags} ${libs}")
endif()
separate_arguments(cflags UNIX_COMMAND "${cflags}")
separate_arguments(libs UNIX_COMMAND "${libs}")
separate_arguments(compile UNIX_COMMAND "${CXXFLAGS}")
separate_arguments(link UNIX_COMMAND "${LDFLAGS}")
execute_process(COMMAND ${CXX} ${compile} ${cflags} -c "${EXAMPLE}/greet.cpp" -o "${WORK}/greet.o"
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CXX} ${compile} ${link} "${WORK}/greet.o" ${libs} -o "${WORK}/greet-pkg-config"
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -S "${EXAMPLE}" -B "${WORK}/greet-cmake" -G "${GENERATOR}"
  "-DCMAKE_CXX_COMPILER=${CXX}" "-DCMAKE_CXX_FLAGS=${CXXFLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LDFLAGS}"
  "-DCMAKE_PREFIX_PATH=${prefix}" -DCMAKE_FIND_USE_CMAKE_SYSTEM_PATH=OFF
  "-DCMAKE_LIBRARY_ARCHITECTURE=${LIBRARY_ARCHITECTURE}" OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build "${WORK}/greet-cmake" OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(WRITE "${WORK}/name" "  Ada\n")
foreach(greet greet-pkg-config greet-cmake/greet)
  execute_process(COMMAND ${EMULATOR} "${WORK}/${greet}" INPUT_FILE "${WORK}/name" OUTPUT_VARIABLE greeted
    RESULT_VARIABLE failed)
  if(failed OR NOT greeted STREQUAL "Your name: Hello,        Ada!\n")
    message(FATAL_ERROR "${greet} built against the scratch tree (${failed}): ${greeted}")
  endif()
endforeach()

foreach(page man1/payment_calculator.1 man3/console_io_utility.3)
  set(page "${prefix}/${MANDIR}/${page}")
  execute_process(COMMAND groff -ww -z -man -Tutf8 "${page}" ERROR_VARIABLE warnings RESULT_VARIABLE failed)
  if(failed OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "groff warns about ${page} (${failed}):\n${warnings}")
  endif()
  execute_process(COMMAND mandoc -Tlint "${page}" OUTPUT_VARIABLE warnings ERROR_VARIABLE warnings
    RESULT_VARIABLE failed)
  if(failed OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "mandoc finds fault with ${page} (${failed}):\n${warnings}")
  endif()
  # man-db filters in a seccomp sandbox, in which a faked clock (libfaketime,
  # as reproducible-build checks use) makes every filter fail: do without it.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env MANPAGER=cat MANWIDTH=80 MAN_DISABLE_SECCOMP=1 man -l "${page}"
    OUTPUT_VARIABLE rendered ERROR_VARIABLE warnings RESULT_VARIABLE failed)
  foreach(section NAME SYNOPSIS DESCRIPTION EXAMPLES)
    if(NOT rendered MATCHES "\n${section}\n")
      message(FATAL_ERROR "man -l shows no ${section} section in ${page}:\n${rendered}")
    endif()
  endforeach()
  if(failed OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "man -l failed or warned on ${page}:\n${warnings}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
