# tavix_chip_module(<name> SOURCES <files...> [LIBS <libs...>] [OUTPUT_DIRECTORY <dir>])
# Builds one chip module, <name>.so (eight digits for a chip), loaded by name: into the program folder,
# or into OUTPUT_DIRECTORY (test modules). Its symbols stay its own (hidden
# visibility, -Bsymbolic, static libraries excluded, no unique symbols), so
# its calls never bind to another module's export and dlclose unloads it.
# The CMake target is chip_<name>.
function(tavix_chip_module name)
  cmake_parse_arguments(ARG "" "OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  set(target chip_${name})
  add_library(${target} MODULE ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE simcore ${ARG_LIBS})
  tavix_dist(${target} NAME ${name})
  tavix_plugin_flags(${target})
  # On x86-64 no jump of the module crosses or ends on a 32-byte boundary and
  # loops start a cache line, so the speed of the hot loop does not hang on
  # where the code around it happens to place it.
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64")
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wa,-mbranches-within-32B-boundaries -falign-loops=64)
    elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      target_compile_options(${target} PRIVATE -mbranches-within-32B-boundaries -falign-loops=64)
    endif()
  endif()
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
endfunction()
