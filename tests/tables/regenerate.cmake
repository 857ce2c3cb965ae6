# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a table generator into a scratch file and compares its output with the
# checked-in table byte for byte.
#   cmake -DPYTHON=... -DGENERATOR=tools/x.py -DOUTPUT=scratch -DTABLE=checked-in -P regenerate.cmake
# A generator that writes a second table takes -DOUTPUT2=scratch2 -DTABLE2=checked-in2 too.
set(outputs "${OUTPUT}")
set(pairs "${OUTPUT}|${TABLE}")
if(DEFINED TABLE2)
  list(APPEND outputs "${OUTPUT2}")
  list(APPEND pairs "${OUTPUT2}|${TABLE2}")
endif()
execute_process(COMMAND "${PYTHON}" "${GENERATOR}" ${outputs}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed (${rc}):\n${err}")
endif()
foreach(pair IN LISTS pairs)
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 output)
  list(GET pair 1 table)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${output}" "${table}"
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${table} is not what ${GENERATOR} writes (see ${output}); "
                        "edit the generator's source and rerun it instead of editing the table")
  endif()
  message(STATUS "${table} matches ${GENERATOR}")
endforeach()
