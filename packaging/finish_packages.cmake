# finish_packages.cmake - run by CPack after the packages are built.
#
# Library packages: CPack gives a package with a library in /usr/lib postinst and postrm
# scripts that call ldconfig. Debian runs ldconfig through a trigger (the
# package's "triggers" file says activate-noawait ldconfig), and scripts
# calling it are flagged as outdated. Scripts that only call ldconfig are
# removed here and the package is rebuilt with its other contents unchanged.
#
# Debug-symbol packages: CPack lists their files in md5sums by the absolute
# path of its scratch folder, so dpkg could not verify them, and gives them
# no documentation folder. Here md5sums is written again with the paths in
# the package, and /usr/share/doc/<package>-dbgsym becomes a link to the
# folder of the package the symbols belong to, as Debian's tools do.
find_program(DPKG_DEB dpkg-deb REQUIRED)
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.d?deb$")
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND ${DPKG_DEB} -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  set(changed FALSE)
  file(STRINGS ${tree}/DEBIAN/control package_line REGEX "^Package: ")
  string(REGEX REPLACE "^Package: " "" package "${package_line}")
  if(deb MATCHES "\\.ddeb$" AND package MATCHES "^(.*)-dbgsym$")
    set(owner ${CMAKE_MATCH_1})
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${tree} ${tree}/usr/*)
    list(SORT files)
    set(sums "")
    foreach(f IN LISTS files)
      if(NOT IS_SYMLINK ${tree}/${f})
        file(MD5 ${tree}/${f} sum)
        string(APPEND sums "${sum}  ${f}\n")
      endif()
    endforeach()
    file(WRITE ${tree}/DEBIAN/md5sums "${sums}")
    file(MAKE_DIRECTORY ${tree}/usr/share/doc)
    file(CREATE_LINK ${owner} ${tree}/usr/share/doc/${package} SYMBOLIC)
    set(changed TRUE)
  endif()
  foreach(script postinst postrm)
    set(path ${tree}/DEBIAN/${script})
    if(EXISTS ${path})
      file(READ ${path} body)
      # Anything beyond the shell line, "set -e", ldconfig and the tests
      # around it would be lost; such a script is kept.
      string(REGEX REPLACE "#![^\n]*\n" "" rest "${body}")
      string(REGEX REPLACE "(set -e|ldconfig|if|then|fi|\\[|\\]|\"\\$1\"|=|\"configure\"|\"remove\"|;|[ \t\n])" "" rest "${rest}")
      if(rest STREQUAL "" AND EXISTS ${tree}/DEBIAN/triggers)
        file(REMOVE ${path})
        set(changed TRUE)
      endif()
    endif()
  endforeach()
  if(changed)
    execute_process(COMMAND ${DPKG_DEB} --root-owner-group -Zxz -b ${tree} ${deb}
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    message(STATUS "CPack: ${deb}: finished")
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()
