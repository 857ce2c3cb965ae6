# SPDX-License-Identifier: GPL-3.0-or-later
# The layers of the program, checked by their #include lines:
#   - the core (tessaly_core: core/ store/ calendar/ almanac/ readings/ report/) uses Qt
#     Core only and includes nothing from controls/ app/ viewer/ cli/;
#   - tessaly-cli (cli/) builds on the core alone, with Qt Core only;
#   - the widgets of controls/ include nothing from app/ or viewer/;
#   - the viewer includes nothing from app/, and the windows of app/ nothing
#     from viewer/: only start-up, which wires the windows, knows the viewer;
#   - nothing includes QtWebEngine: the page is shown by Qt's own text view.
#
# Included by the top-level CMakeLists.txt, tessaly_check_layers() takes each
# layer's files from its target's SOURCES and checks them at build time,
# before the layers are compiled and again whenever one of the files changes.
# Run as a script it checks the files named in LAYERS:
#   cmake -DLAYERS=<layers.cmake> -DQT_HEADERS=<Qt's include directory> -P CheckLayers.cmake

# One rule per target: the folders its files must not include from, and the
# Qt modules they may use (CORE: Qt Core only; NO_WEBENGINE: any but
# QtWebEngine*).
macro(_tessaly_layer_rules)
  set(TESSALY_LAYERS tessaly_core tessaly-cli tessaly_controls tessaly_viewer
                     tessaly_sound_module tessaly_app tessaly_startup tessaly)
  set(_forbid_tessaly_core controls app viewer cli)
  set(_qt_tessaly_core CORE)
  set(_forbid_tessaly-cli controls app viewer)
  set(_qt_tessaly-cli CORE)
  set(_forbid_tessaly_controls app viewer cli)
  set(_qt_tessaly_controls NO_WEBENGINE)
  set(_forbid_tessaly_viewer app cli)
  set(_qt_tessaly_viewer NO_WEBENGINE)
  set(_forbid_tessaly_sound_module app viewer cli)
  set(_qt_tessaly_sound_module NO_WEBENGINE)
  set(_forbid_tessaly_app viewer cli)
  set(_qt_tessaly_app NO_WEBENGINE)
  set(_forbid_tessaly_startup cli)
  set(_qt_tessaly_startup NO_WEBENGINE)
  set(_forbid_tessaly viewer cli)
  set(_qt_tessaly NO_WEBENGINE)
endmacro()

if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(_tessaly_check_layers_script ${CMAKE_CURRENT_LIST_FILE})

  # Call once every layer's target is defined.
  function(tessaly_check_layers)
    _tessaly_layer_rules()
    set(layers_file ${CMAKE_BINARY_DIR}/layers.cmake)
    set(stamp ${CMAKE_BINARY_DIR}/layers.stamp)
    set(content "")
    set(all_files "")
    set(targets "")
    foreach(target IN LISTS TESSALY_LAYERS)
      if(NOT TARGET ${target})
        continue()
      endif()
      get_target_property(sources ${target} SOURCES)
      get_target_property(dir ${target} SOURCE_DIR)
      set(files "")
      foreach(source IN LISTS sources)
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} NORMALIZE OUTPUT_VARIABLE file)
        cmake_path(IS_PREFIX PROJECT_BINARY_DIR ${file} generated)
        if(file MATCHES "\\.(h|cpp|inc)$" AND NOT generated)
          list(APPEND files ${file})
        endif()
      endforeach()
      string(APPEND content "set(LAYER_FILES_${target} [==[${files}]==])\n")
      list(APPEND all_files ${files})
      list(APPEND targets ${target})
    endforeach()
    string(APPEND content "set(LAYER_TARGETS [==[${targets}]==])\n")
    file(CONFIGURE OUTPUT ${layers_file} CONTENT "${content}" @ONLY)

    add_custom_command(
      OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DLAYERS=${layers_file}
              -DQT_HEADERS=${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}
              -P ${_tessaly_check_layers_script}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${all_files} ${layers_file} ${_tessaly_check_layers_script}
      COMMENT "Checking the layers by their #include lines"
      VERBATIM)
    add_custom_target(tessaly_layers DEPENDS ${stamp})
    foreach(target IN LISTS targets)
      add_dependencies(${target} tessaly_layers)
    endforeach()
  endfunction()
  return()
endif()

cmake_minimum_required(VERSION 3.25)
_tessaly_layer_rules()
include(${LAYERS})

# Sets module to the Qt module an included path belongs to, or to "".
function(qt_module path)
  set(module "")
  if(path MATCHES "^(Qt[A-Za-z]+)/")
    set(module ${CMAKE_MATCH_1})
  elseif(path MATCHES "^[Qq][A-Za-z0-9_]*(\\.h)?$" AND QT_HEADERS)
    if(EXISTS "${QT_HEADERS}/QtCore/${path}")
      set(module QtCore)
    else()
      # Which of Qt's installed modules has a header of that name.
      file(GLOB hits "${QT_HEADERS}/Qt*/${path}")
      if(hits)
        list(GET hits 0 hit)
        cmake_path(GET hit PARENT_PATH dir)
        cmake_path(GET dir FILENAME module)
      endif()
    endif()
  endif()
  set(module "${module}" PARENT_SCOPE)
endfunction()

set(violations "")
foreach(target IN LISTS LAYER_TARGETS)
  list(JOIN _forbid_${target} "|" forbidden)
  set(qt_rule ${_qt_${target}})
  foreach(file IN LISTS LAYER_FILES_${target})
    file(RELATIVE_PATH name "${CMAKE_CURRENT_LIST_DIR}/.." "${file}")
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*" "\\1" path "${line}")
      string(REGEX REPLACE "^(\\.\\.?/)+" "" path "${path}")
      if(forbidden AND path MATCHES "^(${forbidden})/")
        string(APPEND violations "  ${name} (${target}): includes \"${path}\"\n")
      endif()
      qt_module("${path}")
      if((qt_rule STREQUAL "CORE" AND module AND NOT module STREQUAL "QtCore") OR
         (qt_rule STREQUAL "NO_WEBENGINE" AND module MATCHES "^QtWebEngine"))
        string(APPEND violations "  ${name} (${target}): includes <${path}> of ${module}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "includes across the layers:\n${violations}")
endif()
