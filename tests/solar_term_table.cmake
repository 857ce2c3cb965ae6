# SPDX-License-Identifier: GPL-3.0-or-later
# Runs tools/make_solar_terms.py and compares what it writes with the checked-in
# calendar/solar_term_table.inc and calendar/solar_term_instants.inc byte for byte. Usage: cmake -P solar_term_table.cmake
# (the fresh table is left in the working directory for inspection).
cmake_minimum_required(VERSION 3.25)
get_filename_component(source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(checked_in "${source_dir}/calendar/solar_term_table.inc")
set(fresh "${CMAKE_CURRENT_BINARY_DIR}/solar_term_table.inc")
set(checked_in_instants "${source_dir}/calendar/solar_term_instants.inc")
set(fresh_instants "${CMAKE_CURRENT_BINARY_DIR}/solar_term_instants.inc")

find_program(PYTHON3 python3)
if(NOT PYTHON3)
  message(FATAL_ERROR "python3 is needed to regenerate the solar-term table and was not found")
endif()
execute_process(COMMAND "${PYTHON3}" "${source_dir}/tools/make_solar_terms.py" "${fresh}"
                        "${fresh_instants}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tools/make_solar_terms.py failed (${status})")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${fresh}" "${checked_in}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "calendar/solar_term_table.inc differs from what tools/make_solar_terms.py "
                      "makes (${fresh}); run: python3 tools/make_solar_terms.py calendar/solar_term_table.inc")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${fresh_instants}" "${checked_in_instants}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "calendar/solar_term_instants.inc differs from what tools/make_solar_terms.py "
                      "makes (${fresh_instants}); run: python3 tools/make_solar_terms.py "
                      "calendar/solar_term_table.inc calendar/solar_term_instants.inc")
endif()
message(STATUS "calendar/solar_term_table.inc and solar_term_instants.inc are what "
               "tools/make_solar_terms.py makes")
