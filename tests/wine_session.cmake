# Starts (ACTION start) or ends (ACTION stop) the one wine session that the
# tests under wine share. EMULATOR is the preset's: env, its variables, then
# wine64; WORK takes the boot's messages.
#
# Debian's wine ends its server, and the services it booted, as soon as the
# last program has ended: tests run one after another booted wine again
# before most of them, and one such boot under load hung every test behind it
# (a crash in it, with wine's debugger attached). One server, kept five
# minutes past its last program, serves the whole run instead. And a crash
# prints its backtrace and ends with a failing status, without the crash
# dialogue, under which it ended with status 0 here.
list(GET EMULATOR -1 wine)
get_filename_component(folder "${wine}" DIRECTORY)
list(REMOVE_AT EMULATOR -1)
# Either way, any session there is ends first: one left by a run that was
# cut short would refuse a new server for five minutes.
execute_process(COMMAND ${EMULATOR} ${folder}/wineserver -k OUTPUT_QUIET ERROR_QUIET)
execute_process(COMMAND ${EMULATOR} ${folder}/wineserver -w OUTPUT_QUIET ERROR_QUIET)
if(ACTION STREQUAL "stop")
  return()
endif()

foreach(setting IN LISTS EMULATOR)
  if(setting MATCHES "^WINEPREFIX=(.*)")
    file(MAKE_DIRECTORY "${CMAKE_MATCH_1}") # the server starts in it
  endif()
endforeach()
file(MAKE_DIRECTORY "${WORK}")
# The server and the services stay after their command ends: given a pipe,
# they would keep it open and this script waiting on it.
execute_process(COMMAND ${EMULATOR} ${folder}/wineserver -p300 INPUT_FILE /dev/null OUTPUT_FILE /dev/null
  ERROR_FILE "${WORK}/server.log" RESULT_VARIABLE status)
file(READ "${WORK}/server.log" said)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "wineserver: status ${status}\n${said}")
endif()
execute_process(COMMAND ${EMULATOR} ${wine} wineboot --init INPUT_FILE /dev/null OUTPUT_FILE "${WORK}/boot.log"
  ERROR_FILE "${WORK}/boot.log" RESULT_VARIABLE status)
file(READ "${WORK}/boot.log" said)
message("${said}") # a new prefix says so, once
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "wineboot: status ${status}")
endif()
execute_process(COMMAND ${EMULATOR} ${wine} reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD
  /d 0 /f INPUT_FILE /dev/null OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "reg: status ${status}\n${said}")
endif()
