# Checks that the core's folders include each other in one direction only:
#
#   cmake -DROOT=<source root> [-DKNOWN=<file>] -P layer_check.cmake
#
# The folders form layers, lowest first:
#   foundation, ui (interfaces only), net, tables, retrieval, language, consult,
#   explain, graph.
# A file may include headers of its own layer and of the layers below it.
# The tests of a layer (tests/<layer>/) are held to the same rule, also in
# what they include of other layers' tests, since each layer's test program
# links that layer and the layers below it only.
# An include that reaches up is a violation, unless the file KNOWN lists it
# as "FILE -> HEADER": the includes that the restructuring has yet to remove.
# A listed include that no longer exists is a violation too, so that the
# list only ever shrinks. Prints every violation and fails when there is one.
cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "layer check: give the source root as -DROOT=...")
endif()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

set(layers foundation ui net tables retrieval language consult explain graph)
set(include_pattern "^[ \t]*#[ \t]*include[ \t]*\"([a-z_]+)/([A-Za-z0-9_./]+)\"")

set(known "")
if(KNOWN)
  file(STRINGS "${KNOWN}" known_lines REGEX "^[^#].*->")
  foreach(line IN LISTS known_lines)
    string(REGEX REPLACE "[ \t]+" "" line "${line}")
    list(APPEND known "${line}")
  endforeach()
endif()

set(violations "")
set(seen "")
foreach(layer IN LISTS layers)
  list(FIND layers "${layer}" own_rank)
  file(GLOB files RELATIVE "${ROOT}" "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp"
       "${ROOT}/tests/${layer}/*.h" "${ROOT}/tests/${layer}/*.cpp")
  list(SORT files)
  foreach(file IN LISTS files)
    file(STRINGS "${ROOT}/${file}" lines REGEX "${include_pattern}")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "${include_pattern}.*" "\\1" folder "${line}")
      string(REGEX REPLACE "${include_pattern}.*" "\\1/\\2" header "${line}")
      if(folder STREQUAL "tests")  # a helper of another layer's tests
        string(REGEX REPLACE "^tests/([a-z_]+)/.*" "\\1" folder "${header}")
      endif()
      list(FIND layers "${folder}" rank)
      if(rank GREATER own_rank)
        set(entry "${file}->${header}")
        if(entry IN_LIST known)
          list(APPEND seen "${entry}")
        else()
          string(APPEND violations "  ${file} includes ${header}, from the layer above it: ${folder}\n")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

foreach(entry IN LISTS known)
  if(NOT entry IN_LIST seen)
    string(APPEND violations "  ${entry} is listed as known but no longer exists: remove it from the list\n")
  endif()
endforeach()

if(violations)
  message(FATAL_ERROR "layer check failed:\n${violations}")
endif()
list(LENGTH seen remaining)
message(STATUS "layer check passed (${remaining} known upward includes left)")
