# The program folder: every deliverable and data file lands in one folder, as
# the monitor finds them beside its own executable.
set(TAVIX_DIST_DIR ${CMAKE_BINARY_DIR}/dist CACHE INTERNAL "Program folder")
file(MAKE_DIRECTORY ${TAVIX_DIST_DIR})

# tavix_dist(<target> [NAME <file name>])
# Puts a shared library or program into the program folder under its
# deliverable name: no "lib" prefix, ".so" for libraries, no suffix for programs.
function(tavix_dist target)
  cmake_parse_arguments(ARG "" "NAME" "" ${ARGN})
  set(name ${target})
  if(ARG_NAME)
    set(name ${ARG_NAME})
  endif()
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${name}
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${TAVIX_DIST_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${TAVIX_DIST_DIR})
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "SHARED_LIBRARY" OR kind STREQUAL "MODULE_LIBRARY")
    set_target_properties(${target} PROPERTIES SUFFIX ".so")
  endif()
endfunction()

# tavix_plugin_flags(<target>)
# A module loaded by name keeps its symbols to itself: its own calls never bind
# to another module's export of the same name, and dlclose really unloads it.
function(tavix_plugin_flags target)
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # GCC's unique symbols would keep the module loaded; clang makes none and
  # rejects the flag.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -fno-gnu-unique)
  endif()
  target_link_options(${target} PRIVATE -Wl,-Bsymbolic -Wl,--exclude-libs,ALL)
endfunction()

# tavix_dist_data(<files...>)
# Copies data files into the program folder at build time.
function(tavix_dist_data)
  foreach(f ${ARGN})
    get_filename_component(abs ${f} ABSOLUTE)
    get_filename_component(n ${f} NAME)
    list(APPEND outs ${TAVIX_DIST_DIR}/${n})
    add_custom_command(OUTPUT ${TAVIX_DIST_DIR}/${n}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${abs} ${TAVIX_DIST_DIR}/${n}
      DEPENDS ${abs})
  endforeach()
  string(MD5 tag "${outs}")
  add_custom_target(dist_data_${tag} ALL DEPENDS ${outs})
  # One name for all data copies, so a program built alone can depend on them.
  if(NOT TARGET dist_data)
    add_custom_target(dist_data)
  endif()
  add_dependencies(dist_data dist_data_${tag})
endfunction()

# tavix_dist_beside(<folder> <files...>)
# Copies data files at build time into <folder> beside the program folder
# (build/<config>/<folder>/), where the monitor finds what lies next to its
# own folder.
function(tavix_dist_beside folder)
  get_filename_component(parent ${TAVIX_DIST_DIR} DIRECTORY)
  set(target_dir ${parent}/${folder})
  foreach(f ${ARGN})
    get_filename_component(abs ${f} ABSOLUTE)
    get_filename_component(n ${f} NAME)
    list(APPEND outs ${target_dir}/${n})
    add_custom_command(OUTPUT ${target_dir}/${n}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${target_dir}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${abs} ${target_dir}/${n}
      DEPENDS ${abs})
  endforeach()
  add_custom_target(dist_beside_${folder} ALL DEPENDS ${outs})
endfunction()
