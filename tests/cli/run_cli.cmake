# Runs velistrad-cli once and checks its exit status and output.
#   CLI        the program
#   ARGS       its arguments, separated by "^"
#   WORK       a folder of this test's own for its files
#   SCRIPT     text fed to standard input (or STDIN: a file fed to it)
#   RC         expected exit status
#   OUT, ERR   files that standard output / error must equal exactly
#   OUT_MATCH, ERR_MATCH   regular expressions they must contain
#   OUT_LINES  number of lines standard output must have
cmake_minimum_required(VERSION 3.25)

string(REPLACE "^" ";" args "${ARGS}")
file(MAKE_DIRECTORY "${WORK}")
set(input)
if(DEFINED SCRIPT)
  file(WRITE "${WORK}/stdin" "${SCRIPT}")
  set(input INPUT_FILE "${WORK}/stdin")
elseif(DEFINED STDIN)
  set(input INPUT_FILE "${STDIN}")
endif()

execute_process(COMMAND "${CLI}" ${args} ${input}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(WRITE "${WORK}/stdout" "${out}")
file(WRITE "${WORK}/stderr" "${err}")

set(failures)
if(NOT rc STREQUAL RC)
  list(APPEND failures "exit status ${rc}, expected ${RC}")
endif()
foreach(stream out err)
  string(TOUPPER "${stream}" key)
  if(DEFINED ${key})
    file(READ "${${key}}" expected)
    if(NOT "${${stream}}" STREQUAL "${expected}")
      list(APPEND failures "std${stream} differs: diff ${${key}} ${WORK}/std${stream}")
    endif()
  endif()
  if(DEFINED ${key}_MATCH AND NOT "${${stream}}" MATCHES "${${key}_MATCH}")
    list(APPEND failures "std${stream} lacks \"${${key}_MATCH}\": ${WORK}/std${stream}")
  endif()
endforeach()
if(DEFINED OUT_LINES)
  string(REGEX MATCHALL "\n" newlines "${out}")
  list(LENGTH newlines lines)
  if(NOT lines EQUAL OUT_LINES)
    list(APPEND failures "${lines} lines on stdout, expected ${OUT_LINES}")
  endif()
endif()

if(failures)
  list(JOIN failures "\n  " text)
  list(JOIN args " " shown)
  message(FATAL_ERROR "velistrad-cli ${shown}:\n  ${text}")
endif()
