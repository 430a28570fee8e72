# packaging.cmake - the Debian packages, built with `cpack -G DEB` from a
# configured and built tree:
#
#   vistrel             the program, desktop entry, icons, AppStream data, man page,
#                       the command-line tool tyxctl with its man page and completion
#   vistrel-simulators  the simulated camera and board libraries and their manual
#   libclsertyx1        the Camera Link serial library (versioned SONAME)
#   libclsertyx-dev     its header and unversioned link
#
# plus one -dbgsym package per package with binaries, holding the debug
# information the installed files are stripped of.

set(VISTREL_DEB_REVISION 1 CACHE STRING "Debian revision of the packages")
# The address of the people who answer for the packages; a packager of
# another distribution sets their own.
set(VISTREL_MAINTAINER "vistrel developers <maintainers@users.noreply.c-seed-b995ae66.example>"
  CACHE STRING "Maintainer field of the Debian packages")
set(VISTREL_HOMEPAGE "" CACHE STRING "Homepage field of the packages (empty: none)")

set(pkg_src ${CMAKE_CURRENT_LIST_DIR})
set(pkg_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${pkg_out})

# --- Documents every package carries ---------------------------------------

# The copyright file in Debian's machine-readable format, made from LICENSE
# so the two can never disagree.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
set(license_body "")
set(license_holder "")
foreach(line IN LISTS license_lines)
  if(line MATCHES "^Copyright \\(c\\) (.*)$")
    set(license_holder "${CMAKE_MATCH_1}")
  endif()
endforeach()
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
# Debian's format indents every line by one space and writes an empty line
# as " ."; the title line is the licence's name, given by the License field.
string(REGEX REPLACE "^MIT License\n\n" "" license_text "${license_text}")
string(REGEX REPLACE "\n+$" "" license_text "${license_text}")
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text "${license_text}")
file(WRITE ${pkg_out}/copyright
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: ${PROJECT_NAME}\n"
  "Upstream-Contact: ${VISTREL_MAINTAINER}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${license_holder}\n"
  "License: Expat\n"
  "\n"
  "License: Expat\n"
  " ${license_text}\n")

# Compressed the way Debian's tools do (-n: no name or time stamp, so the
# packages are reproducible).
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(pkg_gz_outputs "")
macro(pkg_gzip src dst)
  add_custom_command(OUTPUT ${dst}
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${src} > ${dst}
    DEPENDS ${src} VERBATIM)
  list(APPEND pkg_gz_outputs ${dst})
endmacro()
pkg_gzip(${pkg_src}/changelog ${pkg_out}/changelog.Debian.gz)
pkg_gzip(${pkg_src}/vistrel.1 ${pkg_out}/vistrel.1.gz)
pkg_gzip(${pkg_src}/tyxctl.1 ${pkg_out}/tyxctl.1.gz)
pkg_gzip(${pkg_src}/vistrel-simulators.7 ${pkg_out}/vistrel-simulators.7.gz)
add_custom_target(package_documents ALL DEPENDS ${pkg_gz_outputs})

set(VISTREL_PACKAGES vistrel vistrel-simulators libclsertyx1 libclsertyx-dev)
set(component_of_vistrel vistrel)
set(component_of_vistrel-simulators simulators)
set(component_of_libclsertyx1 libclsertyx1)
set(component_of_libclsertyx-dev libclsertyx-dev)
foreach(package IN LISTS VISTREL_PACKAGES)
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/${package})
  install(FILES ${pkg_out}/copyright ${pkg_out}/changelog.Debian.gz DESTINATION ${doc}
    COMPONENT ${component_of_${package}})
  if(EXISTS ${pkg_src}/lintian/${package})
    install(FILES ${pkg_src}/lintian/${package}
      DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT ${component_of_${package}})
  endif()
endforeach()

# --- The program's desktop integration -------------------------------------

install(FILES ${PROJECT_SOURCE_DIR}/resources/vistrel.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT vistrel)
install(FILES ${pkg_src}/io.github.vistrel.vistrel.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT vistrel)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/vistrel_${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    COMPONENT vistrel RENAME vistrel.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/vistrel.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT vistrel)
install(FILES ${pkg_out}/vistrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT vistrel)

# The command-line tool's manual and its completion, in the folder bash
# loads completions from on demand.
install(FILES ${pkg_out}/tyxctl.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT vistrel)
install(FILES ${pkg_src}/tyxctl.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  COMPONENT vistrel RENAME tyxctl)

# --- The simulators' manual --------------------------------------------------

install(FILES ${pkg_out}/vistrel-simulators.7.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man7 COMPONENT simulators)
install(FILES ${PROJECT_SOURCE_DIR}/sim/tyxcamera/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vistrel-simulators RENAME README.tyxcamera.md COMPONENT simulators)
install(FILES ${PROJECT_SOURCE_DIR}/sim/tyxapi32/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vistrel-simulators RENAME README.tyxapi32.md COMPONENT simulators)
install(FILES ${PROJECT_SOURCE_DIR}/clser/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libclsertyx1 RENAME README.md COMPONENT libclsertyx1)

# --- CPack -------------------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistrel)
set(CPACK_PACKAGE_VENDOR "The vistrel developers")
set(CPACK_PACKAGE_CONTACT "${VISTREL_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL vistrel simulators libclsertyx1 libclsertyx-dev)
# The debug-symbol step strips the installed files itself (and keeps what
# it takes away in the -dbgsym packages); stripping before it would leave
# nothing to keep.
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VISTREL_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# clsertyx links the board library; until it loads it at run time the
# simulated one is a private dependency found among the built files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(VISTREL_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VISTREL_HOMEPAGE})
endif()
set(deb_version "${PROJECT_VERSION}-${VISTREL_DEB_REVISION}")

set(CPACK_DEBIAN_VISTREL_PACKAGE_NAME vistrel)
set(CPACK_DEBIAN_VISTREL_PACKAGE_SECTION graphics)
# The interface shows Chinese labels in English too; without a CJK font
# they are empty boxes.
set(CPACK_DEBIAN_VISTREL_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_VISTREL_PACKAGE_RECOMMENDS "vistrel-simulators (= ${deb_version})")
set(CPACK_DEBIAN_VISTREL_PACKAGE_SUGGESTS "xvfb, xauth")
set(CPACK_COMPONENT_VISTREL_DESCRIPTION
"control panel for industrial cameras and frame grabbers
Vistrel sets up the maker's area-scan, line-scan, USB, network and PAL/NTSC
cameras over their serial, Camera Link, USB and network links: exposure,
gain, black level, trigger modes, partial windows, gamma and colour
correction, memories and configuration files. It shows live video from the
camera or through a frame-grabber board and saves pictures as BMP or PNG
files.

The interface is in English or Simplified Chinese, following the system
locale. The program uses the maker's camera library (libtyxcamera.so) and
board library (libtyxapi32.so) when they are installed, and the simulated
ones from vistrel-simulators otherwise; it says which on start.")

set(CPACK_DEBIAN_SIMULATORS_PACKAGE_NAME vistrel-simulators)
set(CPACK_DEBIAN_SIMULATORS_PACKAGE_SECTION misc)
set(CPACK_COMPONENT_SIMULATORS_DESCRIPTION
"simulated camera and frame-grabber libraries for vistrel
Stand-ins for the maker's camera library and its 32-bit and 64-bit board
libraries. They model a set of cameras on serial, Camera Link, USB and
network ports closely enough that every page of vistrel does something
visible, and a frame grabber that delivers moving video.

They let vistrel and Camera Link software run without hardware, for trying
the program, training and tests. Commands in TYXCAM_SIM, TYXAPI32_SIM and
the TYXAPI64_SIM_* variables place cameras and boards and inject faults; see
vistrel-simulators(7). A maker's library installed on the system's library
path is preferred over these.")

set(CPACK_DEBIAN_LIBCLSERTYX1_PACKAGE_NAME libclsertyx1)
set(CPACK_DEBIAN_LIBCLSERTYX1_PACKAGE_SECTION libs)
# The library loads the board library at run time and lists no ports without
# it; the simulated one is only found when the user puts its folder on the
# library path, so it is a suggestion, never a silent fall-back.
set(CPACK_DEBIAN_LIBCLSERTYX1_PACKAGE_SUGGESTS "vistrel-simulators (= ${deb_version})")
# The shlibs file tells dpkg-shlibdeps of programs linking the library which
# package and version to depend on.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBCLSERTYX1_PACKAGE_CONTROL_EXTRA ${pkg_src}/libclsertyx1/triggers)
set(CPACK_COMPONENT_LIBCLSERTYX1_DESCRIPTION
"Camera Link serial library for the maker's frame grabbers
clsertyx implements the Camera Link serial interface (clSerialInit,
clSerialRead, clSerialWrite, clSetBaudRate and the other calls of the
standard) over the maker's 64-bit board library, so that imaging software
can talk to a camera's serial port through the frame grabber.

Besides the versioned library, the package installs the clsertyx.so name
that Camera Link loaders look for and the small program that shows the
\"Select a serial device\" dialog in a process of its own. The maker's
board library is loaded at run time, from beside the library first, then
from the system's library path; without it no ports are listed.")

set(CPACK_DEBIAN_LIBCLSERTYX-DEV_PACKAGE_NAME libclsertyx-dev)
set(CPACK_DEBIAN_LIBCLSERTYX-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBCLSERTYX-DEV_PACKAGE_DEPENDS "libclsertyx1 (= ${deb_version})")
set(CPACK_COMPONENT_LIBCLSERTYX-DEV_DESCRIPTION
"Camera Link serial library for the maker's frame grabbers (development files)
clsertyx implements the Camera Link serial interface over the maker's
64-bit board library.

This package holds the header clser/clsertyx.h and the link to build
programs against the library.")

# Finishing touches CPack cannot be told to make: the ldconfig trigger in
# place of its ldconfig scripts, valid debug-symbol packages.
set(CPACK_POST_BUILD_SCRIPTS ${pkg_src}/finish_packages.cmake)

include(CPack)
