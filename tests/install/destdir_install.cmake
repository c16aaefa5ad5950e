# Installs the build into a scratch root (DESTDIR) with the prefix /usr,
# checks that every file a desktop expects is there, then runs the installed
# program with --version and --compile on a copy of the sample with a
# scratch home, and checks that it wrote nothing but the project's files and
# files in the user's folders: not into the installation, not into the
# folder it was started from, not into the temporary folder.
file(REMOVE_RECURSE "${WORK}")
set(root "${WORK}/root")
set(home "${WORK}/home")
foreach(folder root home/config home/data project cwd tmp)
  file(MAKE_DIRECTORY "${WORK}/${folder}")
endforeach()
file(COPY "${SAMPLE}/" DESTINATION "${WORK}/project")

set(ENV{DESTDIR} "${root}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix /usr
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
unset(ENV{DESTDIR})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${out}\n${err}")
endif()

set(share "${root}/usr/share")
set(expected "${root}/usr/bin/doxel" "${root}/usr/bin/doxel-hhc"
  "${root}/usr/lib/html-doxel/modules/doxel_web_browser.so"
  "${share}/doc/html-doxel/examples/sample/sample.dxp"
  "${share}/doc/html-doxel/examples/sample/welcome.htm"
  "${share}/html-doxel/blank.htm"
  "${share}/html-doxel/doxel.chm"
  "${share}/applications/html-doxel.desktop"
  "${share}/mime/packages/html-doxel.xml"
  "${share}/man/man1/doxel.1.gz"
  "${share}/man/man1/doxel-hhc.1.gz"
  "${share}/doc/html-doxel/copyright"
  "${share}/html-doxel/icons/html-doxel.svg"
  "${share}/icons/hicolor/scalable/apps/html-doxel.svg"
  "${share}/icons/hicolor/scalable/mimetypes/application-x-htmldoxel-project.svg")
# The manual and the manual page in every language the window speaks.
foreach(language de es fr ru)
  list(APPEND expected "${share}/html-doxel/doxel-${language}.chm" "${share}/man/${language}/man1/doxel.1.gz")
endforeach()
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected "${share}/icons/hicolor/${size}x${size}/apps/html-doxel.png"
                       "${share}/icons/hicolor/${size}x${size}/mimetypes/application-x-htmldoxel-project.png")
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB metainfo "${share}/metainfo/*.metainfo.xml")
if(NOT metainfo)
  message(FATAL_ERROR "no metainfo file in ${share}/metainfo")
endif()

# The project type, recognised by its name and by its first line.
find_program(update_mime update-mime-database)
find_program(gio gio)
if(update_mime AND gio)
  execute_process(COMMAND "${update_mime}" "${share}/mime" RESULT_VARIABLE status)
  file(COPY_FILE "${WORK}/project/sample.dxp" "${WORK}/project-without-extension")
  set(ENV{XDG_DATA_DIRS} "${share}")
  set(ENV{XDG_DATA_HOME} "${home}/data")
  foreach(file "${WORK}/project/sample.dxp" "${WORK}/project-without-extension")
    execute_process(COMMAND "${gio}" info -a standard::content-type "${file}" OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT out MATCHES "application/x-htmldoxel-project")
      message(FATAL_ERROR "${file} is not seen as a project:\n${out}\n${err}")
    endif()
  endforeach()
  file(REMOVE "${WORK}/project-without-extension")
endif()

# Every file outside the project and the home folder, with its hash.
function(snapshot result)
  file(GLOB_RECURSE files LIST_DIRECTORIES true RELATIVE "${WORK}" "${WORK}/*")
  set(lines "")
  foreach(file IN LISTS files)
    if(file MATCHES "^(project|home)(/|$)")
      continue()
    endif()
    set(hash "folder")
    if(NOT IS_DIRECTORY "${WORK}/${file}" AND NOT IS_SYMLINK "${WORK}/${file}")
      file(SHA1 "${WORK}/${file}" hash)
    endif()
    list(APPEND lines "${file} ${hash}")
  endforeach()
  set(${result} "${lines}" PARENT_SCOPE)
endfunction()
snapshot(before)

set(ENV{HOME} "${home}")
set(ENV{XDG_CONFIG_HOME} "${home}/config")
set(ENV{XDG_DATA_HOME} "${home}/data")
set(ENV{TMPDIR} "${WORK}/tmp")
unset(ENV{XDG_DATA_DIRS})
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
unset(ENV{DOXEL_CHMCMD})

execute_process(COMMAND "${root}/usr/bin/doxel" --version WORKING_DIRECTORY "${WORK}/cwd"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "^HTML Doxel [0-9]")
  message(FATAL_ERROR "--version: exit status ${status}\n${out}\n${err}")
endif()

execute_process(COMMAND "${root}/usr/bin/doxel" --compile "${WORK}/project/sample.dxp" WORKING_DIRECTORY "${WORK}/cwd"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/project/sample.chm")
  message(FATAL_ERROR "--compile: exit status ${status}\n${out}\n${err}")
endif()

snapshot(after)
if(NOT before STREQUAL after)
  list(REMOVE_ITEM after ${before})
  list(REMOVE_ITEM before ${after})
  message(FATAL_ERROR "the installed program changed files outside the project and the home folder:\n"
    "new or changed: ${after}\ngone or changed: ${before}")
endif()
