# Compiles a scratch copy of the bundled sample with `doxel --compile`, then
# a copy with a missing page and a broken link, then one without a compiler,
# and checks exit status, printed lines and counts, and the files left.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/config/Tervanis")
file(WRITE "${WORK}/config/Tervanis/HTML Doxel.conf" "[General]\nLogFile=${WORK}/log.txt\n")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_DATA_HOME} "${WORK}/data")
unset(ENV{DOXEL_CHMCMD})

function(compile_copy name expected_status)
  execute_process(COMMAND "${DOXEL}" --compile "${WORK}/${name}/sample.dxp"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL ${expected_status})
    message(FATAL_ERROR "${name}: exit status ${status}, expected ${expected_status}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_in text what)
  string(FIND "${text}" "${what}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${what}\" in:\n${text}")
  endif()
endfunction()

function(expect_counts text warnings errors topics local internet graphics)
  foreach(pair "Warnings:${warnings}" "Errors:${errors}" "Topics:${topics}" "Local Links:${local}"
               "Internet Links:${internet}" "Graphics:${graphics}")
    string(REPLACE ":" ";" parts "${pair}")
    list(GET parts 0 label)
    list(GET parts 1 count)
    if(NOT text MATCHES "\n${label}: +${count}\n")
      message(FATAL_ERROR "expected ${label} ${count} in:\n${text}")
    endif()
  endforeach()
endfunction()

function(expect_input_files name present)
  foreach(ext hhp hhc hhk)
    if(present AND NOT EXISTS "${WORK}/${name}/sample.${ext}")
      message(FATAL_ERROR "${name}: sample.${ext} should have been kept")
    elseif(NOT present AND EXISTS "${WORK}/${name}/sample.${ext}")
      message(FATAL_ERROR "${name}: sample.${ext} should have been deleted")
    endif()
  endforeach()
endfunction()

# The sample as it is.
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/good")
compile_copy(good 0)
# The help file is read back as a viewer reads it: every contents entry,
# keyword and the default topic leads to a stored file.
string(FIND "${out}" "which the help file does not hold" nowhere)
if(NOT nowhere EQUAL -1)
  message(FATAL_ERROR "the help file lacks what an entry leads to:\n${out}")
endif()
expect_counts("${out}" 0 0 14 29 1 4)
expect_in("${out}" "Help file: ${WORK}/good/sample.chm")
# A project of the program's own gets the binary keyword index, which
# chmls reads back with every keyword of the index file.
find_program(CHMLS chmls)
if(CHMLS)
  execute_process(COMMAND "${CHMLS}" extractindex "${WORK}/good/sample.chm" "${WORK}/good/index.txt"
    OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND "${CHMLS}" -n list "${WORK}/good/sample.chm" OUTPUT_VARIABLE listing ERROR_QUIET)
  expect_in("${listing}" "/$WWKeywordLinks/BTree")
  file(READ "${WORK}/good/index.txt" binary_index)
  expect_in("${binary_index}" "<param name=\"Name\" value=\"tide table\">")
endif()
expect_input_files(good FALSE)
if(NOT EXISTS "${WORK}/good/sample.chm" OR NOT EXISTS "${WORK}/log.txt")
  message(FATAL_ERROR "the help file or the log file is missing")
endif()

# A missing page and a broken link: errors and warnings, no help file.
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/broken")
file(REMOVE "${WORK}/broken/pages/moorings.htm")
file(READ "${WORK}/broken/faq.htm" faq)
string(REPLACE "href=\"support.htm\"" "href=\"nothere.htm\"" faq "${faq}")
file(WRITE "${WORK}/broken/faq.htm" "${faq}")
compile_copy(broken 1)
expect_counts("${out}" 5 1 13 28 1 4)
expect_in("${out}" "Error: Topic file pages/moorings.htm does not exist\n")
expect_in("${out}" "Warning: Broken link in faq.htm: nothere.htm does not exist\n")
expect_in("${err}" "The help file was not compiled")
expect_input_files(broken FALSE)
if(EXISTS "${WORK}/broken/sample.chm")
  message(FATAL_ERROR "a project with a missing page must not reach the compiler")
endif()

# chmcmd chosen but not there: exit 2, the input files stay for a later try.
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/nocompiler")
set(ENV{DOXEL_CHMCMD} "${WORK}/no-such-chmcmd")
execute_process(COMMAND "${DOXEL}" --compile "${WORK}/nocompiler/sample.dxp" --compiler chmcmd
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "nocompiler: exit status ${status}, expected 2\n${out}\n${err}")
endif()
expect_in("${out}" "was not found")
expect_in("${err}" "could not run")
expect_input_files(nocompiler TRUE)
