# Writes a jar whose bytes depend on its classes alone: the entries in sorted order, each with the time of
# SOURCE_DATE_EPOCH (seconds). Run with cmake -P and:
#   JAR (the JDK's jar), OUTPUT, MAIN_CLASS, CLASSES (the folder of the classes), SOURCE_DATE_EPOCH
cmake_minimum_required(VERSION 3.20)
foreach(var JAR OUTPUT MAIN_CLASS CLASSES SOURCE_DATE_EPOCH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "BuildJar.cmake: ${var} is not set")
  endif()
endforeach()
set(ENV{SOURCE_DATE_EPOCH} ${SOURCE_DATE_EPOCH})
string(TIMESTAMP _date "%Y-%m-%dT%H:%M:%SZ" UTC)
file(GLOB_RECURSE _entries RELATIVE "${CLASSES}" "${CLASSES}/*")
list(SORT _entries)
set(_arguments "")
foreach(_entry IN LISTS _entries)
  string(APPEND _arguments "-C \"${CLASSES}\" \"${_entry}\"\n")
endforeach()
file(WRITE "${CLASSES}.entries" "${_arguments}")
execute_process(COMMAND "${JAR}" --create --file "${OUTPUT}" --main-class "${MAIN_CLASS}" --date "${_date}"
                        "@${CLASSES}.entries" RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "jar failed (${_rc})")
endif()
