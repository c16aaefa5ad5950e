# `doxel --compile` and `doxel-hhc` on help projects of other tools: a
# contents entry whose page is missing gives a warning and a help file; a
# missing [FILES] file gives none and keeps the old one; doxel-hhc exits 1
# when it wrote the help file and 0 when not.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/config" "${WORK}/project")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_DATA_HOME} "${WORK}/data")

function(run expected_status)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${WORK}/project"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL ${expected_status})
    message(FATAL_ERROR "${ARGN}: exit status ${status}, expected ${expected_status}\n${out}\n${err}")
  endif()
  set(out "${out}${err}" PARENT_SCOPE)
endfunction()

function(expect_in text what)
  string(FIND "${text}" "${what}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${what}\" in:\n${text}")
  endif()
endfunction()

set(p "${WORK}/project")
file(WRITE "${p}/a.htm" "<html><head><title>A</title></head><body>a</body></html>")
file(WRITE "${p}/help.hhc" "<HTML><BODY><UL>
<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"First\"><param name=\"Local\" value=\"a.htm\"></OBJECT>
<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Never written\"><param name=\"Local\" value=\"gone.htm\"></OBJECT>
</UL></BODY></HTML>
")
set(options "[OPTIONS]\nCompiled file=help.chm\nContents file=help.hhc\nDefault topic=a.htm\nTitle=T\n\n")
file(WRITE "${p}/help.hhp" "${options}[FILES]\na.htm\n")

foreach(command "${DOXEL};--compile;help.hhp" "${DOXEL_HHC};help.hhp")
  file(REMOVE "${p}/help.chm")
  run(1 ${command})
  expect_in("${out}" "Warning: Contents entry \"Never written\" leads to gone.htm, which does not exist")
  if(NOT EXISTS "${p}/help.chm")
    message(FATAL_ERROR "${command} wrote no help file:\n${out}")
  endif()
endforeach()

# A missing [FILES] file: no help file, the old one kept, and doxel-hhc says
# so with 0.
file(WRITE "${p}/help.hhp" "${options}[FILES]\na.htm\nmissing.htm\n")
file(WRITE "${p}/help.chm" "the old help file")
run(0 "${DOXEL_HHC}" help.hhp)
expect_in("${out}" "Error: Topic file missing.htm does not exist")
file(READ "${p}/help.chm" kept)
if(NOT kept STREQUAL "the old help file")
  message(FATAL_ERROR "the old help file was replaced")
endif()

run(0 "${DOXEL_HHC}" --help)
expect_in("${out}" "1 when the help file was written")
run(0 "${DOXEL_HHC}")
