# Writes the setup package: every file of the program folder as "bin\<name>",
# the start template as "tavix\Start.asm", and the setup's own files at the
# top; programs and libraries as zlib streams, text files as bzip2 streams,
# the small setup tables stored. Arguments: DIST, BESIDE, SETUP_FILES,
# DCSBUILD, VANSTALL, OUTPUT.
cmake_minimum_required(VERSION 3.25)
file(GLOB dist_files LIST_DIRECTORIES false ${DIST}/*)
file(GLOB beside_files LIST_DIRECTORIES false ${BESIDE}/*)
if(NOT dist_files)
  message(FATAL_ERROR "The program folder ${DIST} is empty: build the system first")
endif()

set(binary_args)
set(text_args)
foreach(f ${dist_files} ${beside_files})
  get_filename_component(name ${f} NAME)
  if(f IN_LIST beside_files)
    set(entry "${f}=tavix/${name}")
  else()
    set(entry "${f}=bin/${name}")
  endif()
  # Libraries and programs (no extension) pack with zlib, the data files with bzip2.
  if(name MATCHES "\\.so$" OR NOT name MATCHES "\\.")
    list(APPEND binary_args ${entry})
  else()
    list(APPEND text_args ${entry})
  endif()
endforeach()

set(stored_args ${SETUP_FILES}/SETUP.LNG ${SETUP_FILES}/SETUP.INI)
file(GLOB setup_libraries ${SETUP_FILES}/*.DLL)
list(APPEND binary_args ${SETUP_FILES}/RVSETUP.EXE ${setup_libraries})

set(archive ${OUTPUT}.dcs)
execute_process(
  COMMAND ${DCSBUILD} ${archive} -m 0 ${stored_args} -m 4 ${binary_args} -m 5 ${text_args}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dcsbuild failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${VANSTALL} ${archive}
  OUTPUT_FILE ${OUTPUT}.partial RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot write ${OUTPUT}")
endif()
file(CHMOD ${OUTPUT}.partial PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(RENAME ${OUTPUT}.partial ${OUTPUT})
file(REMOVE ${archive})
file(SIZE ${OUTPUT} size)
message(STATUS "Tavix-setup: ${size} bytes")
