# cmake -DPROGRAM=doxel -DSOURCE=docs/manual/de -DCOMMON=docs/manual -DWORK=folder -DOUTPUT=doxel-de.chm
#       -P compile_manual.cmake
# COMMON, the English manual, lends its stylesheet and the pictures SOURCE
# has none of its own for.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
if(NOT COMMON)
  set(COMMON ${SOURCE})
endif()
file(GLOB common ${COMMON}/*.css)
if(EXISTS ${COMMON}/images)
  file(COPY ${COMMON}/images DESTINATION ${WORK})
endif()
file(GLOB pages ${SOURCE}/*.htm ${SOURCE}/*.css ${SOURCE}/doxel.dxp ${SOURCE}/doxel.dxs)
file(COPY ${common} ${pages} DESTINATION ${WORK})
if(EXISTS ${SOURCE}/images)
  file(COPY ${SOURCE}/images DESTINATION ${WORK})
endif()
execute_process(COMMAND ${PROGRAM} --compile ${WORK}/doxel.dxp
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The manual did not compile (status ${status}):\n${output}")
endif()
if(NOT output MATCHES "Warnings:[ \t]+0\n" OR NOT output MATCHES "Errors:[ \t]+0\n")
  message(FATAL_ERROR "The manual compiled with warnings or errors:\n${output}")
endif()
file(COPY_FILE ${WORK}/doxel.chm ${OUTPUT})
