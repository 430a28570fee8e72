# clsertyx.dll: the library's objects, the dialog template and the export
# list. Included by CMakeLists.txt when building for Windows.
#
# The board DLL is imported by ordinal through an import library made from
# its .def. The import is delay-loaded, so that clsertyx.dll loads on a
# machine without the board DLL and binds the ordinals on first use, after
# board_api_win32.cpp has found the board DLL beside our own file.
set(board_def ${CMAKE_CURRENT_SOURCE_DIR}/../abi/tyxapi64.def)
set(board_import ${CMAKE_CURRENT_BINARY_DIR}/libtyxapi64_delay.a)
add_custom_command(OUTPUT ${board_import}
  COMMAND ${CMAKE_DLLTOOL} -d ${board_def} -y ${board_import}
  DEPENDS ${board_def} VERBATIM)
add_custom_target(tyxapi64_delay_import DEPENDS ${board_import})

add_library(clsertyx SHARED $<TARGET_OBJECTS:clsertyx_objects> clsertyx.rc clsertyx.def)
set_target_properties(clsertyx PROPERTIES PREFIX "" OUTPUT_NAME clsertyx)
add_dependencies(clsertyx tyxapi64_delay_import)
target_link_libraries(clsertyx PRIVATE clser_settings ${board_import} user32)
