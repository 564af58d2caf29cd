# Writes every target's C++ sources to ${CMAKE_BINARY_DIR}/TargetSources.txt,
# one line "<target><TAB><absolute source path>" each. The test LocalNames
# reads it: in a unity build the files of one target share translation
# units, so their file-local names must differ.
# Included at the end of the top-level CMakeLists.txt, when every folder has
# been added.

function(chrono_manifest_collect dir out_var)
  set(lines "")
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
      continue()
    endif()
    get_target_property(sources ${target} SOURCES)
    if(NOT sources)
      continue()
    endif()
    get_target_property(source_dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      if(source MATCHES "^\\$<" OR NOT source MATCHES "\\.(cpp|cc|cxx)$")
        continue()  # generator expressions, headers, resources
      endif()
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${source_dir}" NORMALIZE OUTPUT_VARIABLE path)
      string(APPEND lines "${target}\t${path}\n")
    endforeach()
  endforeach()
  get_property(children DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(child IN LISTS children)
    chrono_manifest_collect("${child}" child_lines)
    string(APPEND lines "${child_lines}")
  endforeach()
  set(${out_var} "${lines}" PARENT_SCOPE)
endfunction()

chrono_manifest_collect("${CMAKE_SOURCE_DIR}" chrono_manifest_lines)
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/TargetSources.txt" CONTENT "${chrono_manifest_lines}" @ONLY)
