# What `cmake --install` puts where the freedesktop and Debian conventions
# expect it: the program in bin/, its read-only files in share/html-doxel/,
# the desktop entry, the project file type, icons, AppStream data, the manual
# page and the package's documentation. The files made from the sources
# (icon sizes, compressed manual page) are built with the program.
include(GNUInstallDirs)

set(DOXEL_APPSTREAM_ID "io.github.tervanis.HtmlDoxel" CACHE STRING
    "AppStream component id (reverse domain name) of the metainfo file")
set(DOXEL_HOMEPAGE_URL "" CACHE STRING "Public web address of the program, for the metainfo and the package")
set(DOXEL_SCREENSHOT_URLS "" CACHE STRING
    "Public https addresses of screenshots for the metainfo (list; the first is the default one)")

set(DOXEL_PACKAGE_MAINTAINER "HTML Doxel developers <html-doxel@tervanis.invalid>" CACHE STRING
    "Maintainer of the Debian package, \"Name <address>\"")
# The day of this version's release, for the metainfo and the change log.
set(DOXEL_RELEASE_DATE 2026-12-07)
set(DOXEL_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 12:00:00 +0000")

set(doxel_share ${CMAKE_INSTALL_DATADIR}/html-doxel)
set(doxel_gen ${CMAKE_BINARY_DIR}/install-files)
set(doxel_icons ${PROJECT_SOURCE_DIR}/data/icons)
file(MAKE_DIRECTORY ${doxel_gen})

install(TARGETS doxel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# doxel-hhc: the program under the name build tools run as a help compiler,
# a link beside it (installed as the link it is).
install(FILES ${CMAKE_BINARY_DIR}/doxel-hhc DESTINATION ${CMAKE_INSTALL_BINDIR})
# The window, and the preview's web engine: modules the program loads from
# ../lib/html-doxel/modules/ beside its bin/ folder, the one when it opens
# its window, the other the first time it shows a page. Not directly in a
# folder the dynamic linker searches (lib/ or one below it): they are
# nobody's libraries, and the package then needs no ldconfig run, nor
# maintainer scripts at all.
install(TARGETS doxel_window LIBRARY DESTINATION lib/html-doxel/modules)
if(TARGET doxel_web_browser)
  install(TARGETS doxel_web_browser LIBRARY DESTINATION lib/html-doxel/modules)
endif()

# Read-only files other parts of the build make (the blank preview page, the
# program's own manual): taken from the first place that holds them when
# installing, and left out when none does, so the installation never fails
# for their lack. The program looks for them in share/html-doxel/.
foreach(name blank.htm doxel.chm doxel-de.chm doxel-es.chm doxel-fr.chm doxel-ru.chm)
  install(CODE "
    foreach(candidate \"${CMAKE_BINARY_DIR}/${name}\" \"${CMAKE_BINARY_DIR}/data/${name}\"
                      \"${PROJECT_SOURCE_DIR}/data/${name}\" \"${PROJECT_SOURCE_DIR}/data/preview/${name}\")
      if(EXISTS \"\${candidate}\")
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${doxel_share}\" TYPE FILE
             PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ FILES \"\${candidate}\")
        break()
      endif()
    endforeach()
    if(NOT EXISTS \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${doxel_share}/${name}\")
      message(STATUS \"Not installed (not built): ${name}\")
    endif()")
endforeach()
# The program's picture for the association a program run from elsewhere
# writes; its folder also tells the program that it is installed.
install(FILES ${doxel_icons}/app/html-doxel.svg DESTINATION ${doxel_share}/icons)

# Desktop entry and project file type.
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/html-doxel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/html-doxel.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# AppStream metainfo; screenshots and the web address go in only when they
# have a public address (AppStream accepts only web addresses there).
set(DOXEL_METAINFO_EXTRA "")
if(DOXEL_HOMEPAGE_URL)
  string(APPEND DOXEL_METAINFO_EXTRA "  <url type=\"homepage\">${DOXEL_HOMEPAGE_URL}</url>\n")
endif()
if(DOXEL_SCREENSHOT_URLS)
  string(APPEND DOXEL_METAINFO_EXTRA "  <screenshots>\n")
  set(type " type=\"default\"")
  foreach(url IN LISTS DOXEL_SCREENSHOT_URLS)
    string(APPEND DOXEL_METAINFO_EXTRA "    <screenshot${type}><image>${url}</image></screenshot>\n")
    set(type "")
  endforeach()
  string(APPEND DOXEL_METAINFO_EXTRA "  </screenshots>\n")
endif()
set(DOXEL_METAINFO ${doxel_gen}/${DOXEL_APPSTREAM_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/desktop/html-doxel.metainfo.xml.in ${DOXEL_METAINFO} @ONLY)
install(FILES ${DOXEL_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icons: the scalable pictures, and PNGs at the usual sizes rendered from
# them (the 16 px ones from pictures drawn on a 16 px grid).
add_executable(doxel_render_png ${doxel_icons}/render_png.cpp)
find_package(Qt6 6.4 REQUIRED COMPONENTS Gui Svg)
target_link_libraries(doxel_render_png PRIVATE Qt6::Gui Qt6::Svg)
doxel_warnings(doxel_render_png)
set(doxel_pngs "")
foreach(size 16 22 24 32 48 64 128 256)
  foreach(kind apps mimetypes)
    if(kind STREQUAL "apps")
      set(name html-doxel)
      set(source ${doxel_icons}/app/html-doxel.svg)
      set(small ${doxel_icons}/desktop/html-doxel-16.svg)
    else()
      set(name application-x-htmldoxel-project)
      set(source ${doxel_icons}/desktop/application-x-htmldoxel-project.svg)
      set(small ${doxel_icons}/desktop/application-x-htmldoxel-project-16.svg)
    endif()
    if(size EQUAL 16)
      set(source ${small})
    endif()
    set(png ${doxel_gen}/hicolor/${size}x${size}/${kind}/${name}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${doxel_gen}/hicolor/${size}x${size}/${kind}
      COMMAND doxel_render_png ${size} ${source} ${png}
      DEPENDS doxel_render_png ${source} VERBATIM)
    list(APPEND doxel_pngs ${png})
  endforeach()
endforeach()
install(DIRECTORY ${doxel_gen}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${doxel_icons}/app/html-doxel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${doxel_icons}/desktop/application-x-htmldoxel-project.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)

# The manual page and the package's change log, compressed as Debian wants
# them (gzip -n: the same bytes on every build).
find_program(DOXEL_GZIP gzip REQUIRED)
# Each translation of the manual page goes where man looks for that locale
# (share/man/de/man1/).
configure_file(${PROJECT_SOURCE_DIR}/data/man/doxel.1 ${doxel_gen}/doxel.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/man/doxel-hhc.1 ${doxel_gen}/doxel-hhc.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/package/changelog ${doxel_gen}/changelog @ONLY)
set(doxel_gzipped doxel.1 doxel-hhc.1 changelog)
set(doxel_man_languages de es fr ru)
foreach(language IN LISTS doxel_man_languages)
  configure_file(${PROJECT_SOURCE_DIR}/data/man/${language}/doxel.1 ${doxel_gen}/man-${language}/doxel.1 @ONLY)
  list(APPEND doxel_gzipped man-${language}/doxel.1)
endforeach()
set(doxel_gz)
foreach(file IN LISTS doxel_gzipped)
  add_custom_command(OUTPUT ${doxel_gen}/${file}.gz
    COMMAND ${DOXEL_GZIP} -9 -n -f -k ${doxel_gen}/${file}
    DEPENDS ${doxel_gen}/${file} VERBATIM)
  list(APPEND doxel_gz ${doxel_gen}/${file}.gz)
endforeach()
install(FILES ${doxel_gen}/doxel.1.gz ${doxel_gen}/doxel-hhc.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(language IN LISTS doxel_man_languages)
  install(FILES ${doxel_gen}/man-${language}/doxel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}/man1)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/data/package/copyright ${doxel_gen}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/html-doxel)
# The sample project the manual and the manual page start from; File >
# Open... starts there until a project was opened or saved.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/sample DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/html-doxel/examples
        PATTERN "README.md" EXCLUDE)

add_custom_target(doxel_install_files ALL DEPENDS ${doxel_pngs} ${doxel_gz})
