# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a table generator into a scratch file and compares its output with the
# checked-in table byte for byte.
#   cmake -DPYTHON=... -DGENERATOR=tools/x.py -DOUTPUT=scratch -DTABLE=checked-in -P regenerate.cmake
execute_process(COMMAND "${PYTHON}" "${GENERATOR}" "${OUTPUT}"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed (${rc}):\n${err}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${TABLE}"
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${TABLE} is not what ${GENERATOR} writes (see ${OUTPUT}); "
                      "edit the generator's source and rerun it instead of editing the table")
endif()
message(STATUS "${TABLE} matches ${GENERATOR}")
