# SPDX-License-Identifier: GPL-3.0-or-later
# Records or compares the SHA-256 of the reference store file.
file(SHA256 "${STORE}" hash)
if(MODE STREQUAL "record")
  file(WRITE "${STAMP}" "${hash}")
else()
  file(READ "${STAMP}" before)
  if(NOT before STREQUAL hash)
    message(FATAL_ERROR "the reference store changed during the tests: ${before} -> ${hash}")
  endif()
  message(STATUS "reference store unchanged: ${hash}")
endif()
