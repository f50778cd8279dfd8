# Checks how the desktop's files include each other:
#
#   cmake -DAPP_DIR=<folder of the desktop's sources> -P include_check.cmake
#
# 1. No include cycle. A header and its source file are one unit (X.h and
#    X.cpp are "X"); X depends on Y when either file includes "app/Y.h".
#    Looking at units, not headers alone, is what catches two windows whose
#    source files include each other's headers: such a pair cannot be built,
#    tested or read one without the other, though its headers form no cycle.
# 2. The main window is known only to itself, to the program that creates it
#    (application.cpp) and to the screenshot tool that drives it.
#    Child windows reach it through app/child_host.h and their signals.
#
# Prints every violation and fails when there is one.
cmake_minimum_required(VERSION 3.25)

if(NOT APP_DIR)
  message(FATAL_ERROR "include check: give the folder as -DAPP_DIR=...")
endif()
get_filename_component(APP_DIR "${APP_DIR}" ABSOLUTE)
if(NOT IS_DIRECTORY "${APP_DIR}")
  message(FATAL_ERROR "include check: APP_DIR is not a folder: '${APP_DIR}'")
endif()

set(main_form_allowed main_form.cpp application.cpp screenshots.cpp)
list(JOIN main_form_allowed ", " main_form_allowed_text)
set(include_pattern "^[ \t]*#[ \t]*include[ \t]*\"app/([A-Za-z0-9_]+)\\.h\"")

file(GLOB files RELATIVE "${APP_DIR}" "${APP_DIR}/*.h" "${APP_DIR}/*.cpp")
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "include check: no .h or .cpp files in ${APP_DIR}")
endif()

set(violations "")
set(units "")
foreach(file IN LISTS files)
  string(REGEX REPLACE "\\.(h|cpp)$" "" unit "${file}")
  list(APPEND units "${unit}")
  file(STRINGS "${APP_DIR}/${file}" lines REGEX "${include_pattern}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "${include_pattern}.*" "\\1" included "${line}")
    if(included STREQUAL "main_form" AND NOT file IN_LIST main_form_allowed)
      string(APPEND violations "  ${file} includes app/main_form.h; only ${main_form_allowed_text} may\n")
    endif()
    if(NOT included STREQUAL unit)
      list(APPEND deps_${unit} "${included}")
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES units)

# Peels off, again and again, the units whose dependencies are all gone;
# what cannot be peeled off lies on a cycle or depends on one.
set(remaining ${units})
set(progress TRUE)
while(progress)
  set(progress FALSE)
  set(kept "")
  foreach(unit IN LISTS remaining)
    set(blocked FALSE)
    foreach(dep IN LISTS deps_${unit})
      if(dep IN_LIST remaining)
        set(blocked TRUE)
        break()
      endif()
    endforeach()
    if(blocked)
      list(APPEND kept "${unit}")
    else()
      set(progress TRUE)
    endif()
  endforeach()
  set(remaining ${kept})
endwhile()

if(remaining)
  # Every remaining unit has a dependency among the remaining ones, so
  # following them from any of them must come back to a unit already seen.
  list(GET remaining 0 unit)
  set(path "")
  while(NOT unit IN_LIST path)
    list(APPEND path "${unit}")
    foreach(dep IN LISTS deps_${unit})
      if(dep IN_LIST remaining)
        set(unit "${dep}")
        break()
      endif()
    endforeach()
  endwhile()
  list(FIND path "${unit}" start)
  list(SUBLIST path ${start} -1 cycle)
  list(APPEND cycle "${unit}")
  list(JOIN cycle " -> " shown)
  string(APPEND violations "  include cycle: ${shown}\n")
endif()

if(violations)
  message(FATAL_ERROR "include check of ${APP_DIR} failed:\n${violations}")
endif()
list(LENGTH units count)
message(STATUS "include check of ${APP_DIR}: ${count} units, no cycle, main_form.h only in ${main_form_allowed_text}")
