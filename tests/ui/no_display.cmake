# Without a display the program says so and falls back to the export job,
# and with no project named it explains what it needs.
file(REMOVE_RECURSE "${WORK}")
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/sample")
set(no_display ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM)

execute_process(COMMAND ${no_display} "${DOXEL}" "${WORK}/sample/sample.dxp"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the fallback export failed (${status}): ${err}")
endif()
string(FIND "${err}" "no display" noted)
if(noted EQUAL -1)
  message(FATAL_ERROR "the missing display is not mentioned: ${err}")
endif()
foreach(ext hhk hhp hhc)
  if(NOT EXISTS "${WORK}/sample/sample.${ext}")
    message(FATAL_ERROR "sample.${ext} was not written; printed: ${out}")
  endif()
endforeach()

execute_process(COMMAND ${no_display} "${DOXEL}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "without a display and a project the exit status should be 2, got ${status}")
endif()
string(FIND "${err}" "Usage:" usage)
if(usage EQUAL -1)
  message(FATAL_ERROR "the usage should be shown: ${err}")
endif()
