# The Debian package, built with CPack from the installation rules
# (scripts/package runs it on a release build). The shared libraries the
# program links decide most of Depends; chmcmd is a program, not a library,
# so its package is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME html-doxel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "HTML Doxel developers")
set(CPACK_PACKAGE_CONTACT "${DOXEL_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DOXEL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The built-in compiler writes help files; chmcmd is the second compiler.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "kchmviewer, fp-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(DOXEL_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${DOXEL_HOMEPAGE_URL}")
endif()
# The first line is the short description; the rest, the long one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "authoring tool for HTML Help (CHM) files
HTML Doxel keeps the project around the HTML pages of a help file: the
table of contents as a tree of books and pages, the keyword index, the
help window's settings and the list of files. It compiles the project
into one .chm file with its own help compiler (full-text search in every
script; Free Pascal's chmcmd is the second choice), checks pages, links
and pictures, and shows the result in the desktop's CHM viewer.
.
It also turns plain text files into pages, searches and replaces across
many pages, imports existing help projects and help files, and compiles
from the command line for scripted builds.")

include(CPack)
