# The help ids of a project on the command line: --help-ids lists them from
# the settings file beside the project, --export writes their header, and a
# damaged settings file is named without stopping either.
file(REMOVE_RECURSE "${WORK}")
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/sample")
file(WRITE "${WORK}/sample/sample.dxs"
  "# HTML Doxel keeps this file beside the project file of the same name.\n"
  "[Help ids]\n"
  "IDH_TOUR=1002,pages/tour.htm#start\n"
  "IDH_INSTALL=1001,pages/installing.htm\n"
  "IDH_GONE=1003,pages/gone.htm\n")
execute_process(COMMAND "${DOXEL}" --help-ids "${WORK}/sample/sample.dxp"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "--help-ids failed (${status}): ${err}")
endif()
set(expected "IDH_TOUR\t1002\tpages/tour.htm#start\nIDH_INSTALL\t1001\tpages/installing.htm\nIDH_GONE\t1003\tpages/gone.htm\n")
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "--help-ids printed:\n${out}")
endif()

execute_process(COMMAND "${DOXEL}" --export "${WORK}/sample/sample.dxp"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "export failed (${status}): ${err}")
endif()
file(READ "${WORK}/sample/sample_ids.h" header)
string(REPLACE "\r" "" header "${header}")
string(FIND "${header}" "\n#define IDH_INSTALL 1001\n#define IDH_TOUR 1002\n#define IDH_GONE 1003\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the header holds:\n${header}")
endif()
string(FIND "${err}" "Warning: The help id IDH_GONE leads to" warned)
if(warned EQUAL -1)
  message(FATAL_ERROR "the export did not warn of IDH_GONE: ${err}")
endif()

file(APPEND "${WORK}/sample/sample.dxs" "IDH_TWICE=1001\n")
execute_process(COMMAND "${DOXEL}" --help-ids "${WORK}/sample/sample.dxp"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT out STREQUAL expected OR NOT err MATCHES "sample.dxs, line 6: the number 1001")
  message(FATAL_ERROR "a damaged settings file gave ${status}:\n${out}\n${err}")
endif()

execute_process(COMMAND "${DOXEL}" --help-ids "${WORK}/absent.dxp"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "a missing project gave ${status}: ${err}")
endif()
