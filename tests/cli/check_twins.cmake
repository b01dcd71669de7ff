# SPDX-License-Identifier: GPL-3.0-or-later
# Runs volpar-run on a program file and on its program text twin with the same arguments:
# the standard output (each file's name read as PROGRAM) and the exit status must be equal.
#   RUNNER  the volpar-run executable
#   FIRST, SECOND  the two files
#   ARGS    the other arguments, separated by "|"; the file stands where PROGRAM does
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" args "${ARGS}")
foreach(which FIRST SECOND)
  string(REPLACE "PROGRAM" "${${which}}" run "${args}")
  execute_process(COMMAND "${RUNNER}" ${run}
    OUTPUT_VARIABLE out_${which} ERROR_VARIABLE err_${which} RESULT_VARIABLE status_${which})
  string(REPLACE "${${which}}" "PROGRAM" out_${which} "${out_${which}}")
endforeach()
if(NOT status_FIRST STREQUAL status_SECOND OR NOT out_FIRST STREQUAL out_SECOND)
  message(FATAL_ERROR "volpar-run ${ARGS}: ${FIRST} and ${SECOND} differ\n"
    "--- ${FIRST} (${status_FIRST}) ---\n${out_FIRST}${err_FIRST}"
    "--- ${SECOND} (${status_SECOND}) ---\n${out_SECOND}${err_SECOND}")
endif()
if(out_FIRST STREQUAL "")
  message(FATAL_ERROR "volpar-run ${ARGS}: no output\n${err_FIRST}")
endif()
