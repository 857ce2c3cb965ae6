# Checks the layers of the desktop program by their #include lines: the widgets
# of controls/ include nothing from app/ or viewer/, the viewer nothing from
# app/, and app/ nothing from the viewer, which the program loads as a module.
# Usage: cmake -DSOURCE_DIR=<source tree> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

set(violations "")
function(forbid folder pattern)
  file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    if(ARGN AND file MATCHES "/(${ARGN})$")
      continue()
    endif()
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](${pattern})/")
    foreach(line IN LISTS lines)
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
      string(APPEND violations "  ${name}: ${line}\n")
    endforeach()
  endforeach()
  set(violations "${violations}" PARENT_SCOPE)
endfunction()

forbid(controls "app|viewer")
forbid(viewer "app")
forbid(app "viewer")

if(violations)
  message(FATAL_ERROR "includes across the layers of the desktop program:\n${violations}")
endif()
