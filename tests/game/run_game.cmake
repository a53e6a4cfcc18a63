# Runs one scenario of the game test host in a fresh run directory:
#   cmake -DRUN_DIR=... -DGAME_HOST=... -DSTART_PLUGIN=... -DSTEP_PLUGIN=... [-DHOST_LIBRARY=...]
#         -DEXAMPLES=... -DSCENARIO=... [-DEXPECT_EXIT=255 -DPOSTED=n] [-DEMULATOR=wine]
#         -P run_game.cmake
# The run directory gets the host program, the plugins, the host library
# (none for the missing-library case) and the example game files. A scenario
# expected to end in the fatal report is followed by "check-reset", which
# also counts the death notices that reached our host library (POSTED).
file(REMOVE_RECURSE "${RUN_DIR}")
file(MAKE_DIRECTORY "${RUN_DIR}")
file(COPY "${GAME_HOST}" "${START_PLUGIN}" "${STEP_PLUGIN}" DESTINATION "${RUN_DIR}")
if(HOST_LIBRARY)
  file(COPY "${HOST_LIBRARY}" DESTINATION "${RUN_DIR}")
endif()
file(COPY "${EXAMPLES}/config" DESTINATION "${RUN_DIR}")
get_filename_component(host_name "${GAME_HOST}" NAME)
set(ENV{CQAPI_RECORD} posted.txt)
if(NOT DEFINED EXPECT_EXIT)
  set(EXPECT_EXIT 0)
endif()

execute_process(COMMAND ${EMULATOR} "${RUN_DIR}/${host_name}" ${SCENARIO}
                WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE status)
if(NOT "${status}" STREQUAL "${EXPECT_EXIT}")
  message(FATAL_ERROR "scenario ${SCENARIO} ended with ${status}, expected ${EXPECT_EXIT}")
endif()
if(NOT EXPECT_EXIT EQUAL 0)
  execute_process(COMMAND ${EMULATOR} "${RUN_DIR}/${host_name}" check-reset ${POSTED}
                  WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "after the fatal report: check-reset ended with ${status}")
  endif()
endif()
