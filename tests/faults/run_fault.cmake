# Runs one scenario of the fault host in a fresh run directory that holds the
# host program, both plugins and our own host library, and nothing else:
#   cmake -DRUN_DIR=... -DFAULT_HOST=... -DSTART_PLUGIN=... -DSTEP_PLUGIN=... -DHOST_LIBRARY=...
#         -DSCENARIO=... [-DEMULATOR=wine] -P run_fault.cmake
# For "read-only" the host first writes the game files, and the main
# configuration file is then also made immutable where chattr can do so. For
# "full-disk" the run directory is a tmpfs of 16 MB, which the host fills.
file(REMOVE_RECURSE "${RUN_DIR}")
file(MAKE_DIRECTORY "${RUN_DIR}")
if(SCENARIO STREQUAL "full-disk")
  execute_process(COMMAND mount -t tmpfs -o size=16m tmpfs "${RUN_DIR}" RESULT_VARIABLE mount_status ERROR_QUIET)
  if(NOT mount_status EQUAL 0)
    message(FATAL_ERROR "cannot mount a tmpfs here")
  endif()
endif()
file(COPY "${FAULT_HOST}" "${START_PLUGIN}" "${STEP_PLUGIN}" "${HOST_LIBRARY}" DESTINATION "${RUN_DIR}")
get_filename_component(host_name "${FAULT_HOST}" NAME)
set(ENV{CQAPI_RECORD} posted.txt)
function(run_host what)
  execute_process(COMMAND ${EMULATOR} "${RUN_DIR}/${host_name}" ${what}
                  WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "fault scenario ${what} ended with ${status}")
  endif()
endfunction()

set(immutable "")
if(SCENARIO STREQUAL "read-only")
  run_host(write-files)
  set(immutable "${RUN_DIR}/config/Veldrin/生存配置.ini")
  execute_process(COMMAND chattr +i "${immutable}" RESULT_VARIABLE chattr_status ERROR_QUIET)
  if(NOT chattr_status EQUAL 0)
    set(immutable "")
  endif()
endif()
execute_process(COMMAND ${EMULATOR} "${RUN_DIR}/${host_name}" ${SCENARIO}
                WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE status)
if(immutable)
  execute_process(COMMAND chattr -i "${immutable}")
endif()
if(SCENARIO STREQUAL "full-disk")
  execute_process(COMMAND umount -l "${RUN_DIR}")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "fault scenario ${SCENARIO} ended with ${status}")
endif()
file(REMOVE_RECURSE "${RUN_DIR}")
