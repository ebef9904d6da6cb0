# Link boundaries the build enforces: tavix_forbid_links(<target> <regex>...)
# fails the configuration when <target> links, directly or through the
# libraries it links, a target whose name matches one of the expressions.
# The check runs once every folder is read, so that all targets exist.

function(tavix_forbid_links target)
  # A deferred call reads its arguments when it runs: give it the values.
  set(patterns "")
  foreach(pattern IN LISTS ARGN)
    string(APPEND patterns " [[${pattern}]]")
  endforeach()
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL
    _tavix_check_links [[${target}]]${patterns})")
endfunction()

function(_tavix_check_links target)
  set(patterns ${ARGN})
  set(queue ${target})
  set(seen ${target})
  while(queue)
    list(POP_FRONT queue current)
    set(links "")
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(more ${current} ${property})
      if(more)
        list(APPEND links ${more})
      endif()
    endforeach()
    foreach(link IN LISTS links)
      # A link-only dependency counts; other generator expressions are
      # conditions of the toolchain, not libraries of ours.
      if(link MATCHES "^\\$<LINK_ONLY:(.+)>$")
        set(link ${CMAKE_MATCH_1})
      elseif(link MATCHES "^\\$<")
        continue()
      endif()
      foreach(pattern IN LISTS patterns)
        if(link MATCHES "${pattern}")
          message(FATAL_ERROR "${target} must not link ${link} (linked by ${current})")
        endif()
      endforeach()
      if(TARGET ${link} AND NOT link IN_LIST seen)
        list(APPEND seen ${link})
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
endfunction()
