# doxygen runs doxel-hhc as its HTML Help compiler and finishes cleanly
# only when it exits 1 with the help file written; the binary contents and
# index are then in it.
find_program(DOXYGEN doxygen)
if(NOT DOXYGEN)
  message("doxygen is not installed: skipped")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/config" "${WORK}/src")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_DATA_HOME} "${WORK}/data")
file(WRITE "${WORK}/src/tide.h" "/** @file tide.h The tides. */
/** A harbour with its tides. */
class Harbour {
public:
    /** The height of the water now, in metres. */
    double height() const;
    /** Sets the chart datum. @param datum metres below mean sea level */
    void setDatum(double datum);
};
")
file(WRITE "${WORK}/Doxyfile" "PROJECT_NAME = Tides
INPUT = src
OUTPUT_DIRECTORY = out
GENERATE_LATEX = NO
GENERATE_HTMLHELP = YES
CHM_FILE = ../tides.chm
HHC_LOCATION = \"${DOXEL_HHC}\"
BINARY_TOC = YES
QUIET = YES
HAVE_DOT = NO
CLASS_GRAPH = NO
")
execute_process(COMMAND "${DOXYGEN}" Doxyfile WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "doxygen failed (${status}):\n${out}\n${err}")
endif()
string(FIND "${out}${err}" "failed to run html help compiler" failed)
if(NOT failed EQUAL -1)
  message(FATAL_ERROR "doxygen took doxel-hhc's exit status as a failure:\n${out}\n${err}")
endif()
if(NOT EXISTS "${WORK}/out/tides.chm")
  message(FATAL_ERROR "doxygen's run wrote no help file:\n${out}\n${err}")
endif()
file(READ "${WORK}/out/tides.chm" head LIMIT 4 HEX)
if(NOT head STREQUAL "49545346")
  message(FATAL_ERROR "out/tides.chm is no help file")
endif()
