# The window lives in a module beside the program: through it the program
# shows its window and keeps running; a program without it says why and
# exits with status 2 instead of crashing.
file(REMOVE_RECURSE "${WORK}")
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/sample")
set(ENV{QT_QPA_PLATFORM} offscreen)

execute_process(COMMAND "${DOXEL}" "${WORK}/sample/sample.dxp" TIMEOUT 4
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status MATCHES "timeout")
  message(FATAL_ERROR "the window did not stay open (${status}): ${out}\n${err}")
endif()

file(COPY "${DOXEL}" DESTINATION "${WORK}/alone")
execute_process(COMMAND "${WORK}/alone/doxel" "${WORK}/sample/sample.dxp" TIMEOUT 20
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2 OR NOT err MATCHES "module cannot be loaded")
  message(FATAL_ERROR "a program without its window module should say so and exit with 2, got ${status}: ${err}")
endif()
