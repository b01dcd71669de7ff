# SPDX-License-Identifier: GPL-3.0-or-later
# Runs volpar-run once and checks what a teacher's script relies on.
#   RUNNER        the volpar-run executable
#   ARGS          its arguments, separated by "|"
#   STATUS        the exit status expected
#   EXPECT        file holding the exact standard output expected; none: no output at all
#   STDERR        pattern that the single line on standard error must match; none: silent
#   SAVED         file that --save writes (removed before the run)
#   SAVED_EXPECT  file whose bytes SAVED must equal
cmake_minimum_required(VERSION 3.25)

function(fail what)
  message(FATAL_ERROR "volpar-run ${ARGS}\n${what}\n--- stdout ---\n${out}--- stderr ---\n${err}")
endfunction()

string(REPLACE "|" ";" args "${ARGS}")
if(SAVED)
  file(REMOVE "${SAVED}")
endif()

execute_process(COMMAND "${RUNNER}" ${args}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)

if(NOT status STREQUAL STATUS)
  fail("exit status ${status}, expected ${STATUS}")
endif()

if(EXPECT)
  file(READ "${EXPECT}" expected)
  if(NOT out STREQUAL expected)
    fail("standard output differs from ${EXPECT}")
  endif()
elseif(NOT out STREQUAL "")
  fail("standard output should be empty")
endif()

if(STDERR)
  if(NOT err MATCHES "^[^\n]+\n$")
    fail("standard error should be exactly one line")
  endif()
  if(NOT err MATCHES "${STDERR}")
    fail("standard error does not match: ${STDERR}")
  endif()
elseif(NOT err STREQUAL "")
  fail("standard error should be empty")
endif()

if(SAVED_EXPECT)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SAVED}" "${SAVED_EXPECT}"
    RESULT_VARIABLE differs)
  if(differs)
    fail("${SAVED} differs from ${SAVED_EXPECT}")
  endif()
endif()
