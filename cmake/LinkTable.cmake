# Which of our libraries each of our targets may link: the layers, from the
# project model at the bottom to the program at the top. Configure fails on
# a link this table does not name, and on a library of ours it has no row
# for, so that a layer never comes to lean on one that drives it.
set(DOXEL_MAY_LINK_doxel_core "")
set(DOXEL_MAY_LINK_doxel_formats doxel_core)
set(DOXEL_MAY_LINK_doxel_output doxel_core doxel_formats)
set(DOXEL_MAY_LINK_doxel_editing doxel_core doxel_formats)
set(DOXEL_MAY_LINK_doxel_tools doxel_core)
set(DOXEL_MAY_LINK_doxel_env doxel_core)
set(DOXEL_MAY_LINK_doxel_env_addresses "")
set(DOXEL_MAY_LINK_doxel_http doxel_core doxel_env)
set(DOXEL_MAY_LINK_doxel_import doxel_core doxel_formats)
set(DOXEL_MAY_LINK_doxel_fulltext doxel_core doxel_formats)
# The compiler still takes the page scan from output/ and the page titles
# from editing/; both are to move down into formats/.
set(DOXEL_MAY_LINK_doxel_compiler doxel_core doxel_formats doxel_fulltext doxel_output doxel_editing)
set(DOXEL_MAY_LINK_doxel_platform doxel_core)
set(DOXEL_MAY_LINK_doxel_chm_tools doxel_core doxel_output doxel_env doxel_compiler)
set(DOXEL_MAY_LINK_doxel_ui_logic doxel_core doxel_editing doxel_output doxel_env_addresses)
set(DOXEL_MAY_LINK_doxel_ui doxel_ui_logic doxel_platform doxel_chm_tools doxel_import doxel_tools doxel_env doxel_http
    doxel_env_addresses)
set(DOXEL_MAY_LINK_doxel_web_browser "")
# The build tool that renders the icons.
set(DOXEL_MAY_LINK_doxel_render_png "")
set(DOXEL_MAY_LINK_doxel_window doxel_ui doxel_tools)
set(DOXEL_MAY_LINK_doxel doxel_platform doxel_output doxel_chm_tools doxel_import doxel_ui_logic doxel_tools doxel_env
    doxel_http doxel_env_addresses doxel_core doxel_formats doxel_compiler)

function(_doxel_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    # Tests, benchmarks and fuzz targets link whatever they exercise.
    if(NOT sub MATCHES "/(tests|bench|fuzz)(/|$)")
      _doxel_targets_below(${sub} found)
      list(APPEND targets ${found})
    endif()
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(doxel_check_link_table)
  # What the tests of the logic link: every logic library.
  set(DOXEL_MAY_LINK_doxel_logic ${DOXEL_LOGIC_TARGETS})
  _doxel_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT target MATCHES "^doxel" OR type STREQUAL "UTILITY")
      continue()
    endif()
    if(NOT DEFINED DOXEL_MAY_LINK_${target})
      message(FATAL_ERROR "${target} has no row in cmake/LinkTable.cmake: name the libraries it may link")
    endif()
    get_target_property(libs ${target} LINK_LIBRARIES)
    get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
    foreach(lib IN LISTS libs ilibs)
      if(lib MATCHES "^doxel" AND NOT lib IN_LIST DOXEL_MAY_LINK_${target})
        message(FATAL_ERROR "${target} links ${lib}, which cmake/LinkTable.cmake does not let it")
      endif()
    endforeach()
  endforeach()
endfunction()
