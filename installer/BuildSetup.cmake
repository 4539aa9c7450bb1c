# Writes the setup program from the package folder with makensis, unless it
# is newer than every file it is made of. Run with cmake -P and:
#   MAKENSIS, SOURCE_DIR (installer/), WORK_DIR, PACKAGE_DIR, OUTPUT, VERSION, ARCH
cmake_minimum_required(VERSION 3.20)

foreach(var MAKENSIS SOURCE_DIR WORK_DIR PACKAGE_DIR OUTPUT VERSION ARCH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "BuildSetup.cmake: ${var} is not set")
  endif()
endforeach()
if(NOT EXISTS "${PACKAGE_DIR}/ConvocaLauncher.exe")
  message(FATAL_ERROR "BuildSetup.cmake: ${PACKAGE_DIR} holds no ConvocaLauncher.exe")
endif()

# The package folder is also the build folder of package/: CMake's own files
# there are not part of the installation.
set(_cmake_artifacts CMakeFiles Makefile cmake_install.cmake CTestTestfile.cmake
    build.ninja rules.ninja .ninja_deps .ninja_log)

file(GLOB_RECURSE _entries RELATIVE "${PACKAGE_DIR}" LIST_DIRECTORIES true "${PACKAGE_DIR}/*")
list(SORT _entries)
set(_files)
set(_dirs)
foreach(_entry IN LISTS _entries)
  string(REGEX REPLACE "/.*" "" _top "${_entry}")
  if(_top IN_LIST _cmake_artifacts)
    continue()
  endif()
  if(IS_DIRECTORY "${PACKAGE_DIR}/${_entry}")
    list(APPEND _dirs "${_entry}")
  else()
    list(APPEND _files "${_entry}")
  endif()
endforeach()

# NSIS reads "$" as the start of a variable.
function(nsis_text out text)
  string(REPLACE "$" "$$" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(windows_path out relative)
  string(REPLACE "/" "\\" relative "${relative}")
  nsis_text(relative "${relative}")
  set(${out} "${relative}" PARENT_SCOPE)
endfunction()

# Install: each file after the SetOutPath of its folder.
set(_install "; Generated from ${PACKAGE_DIR}\n")
foreach(_dir IN LISTS _dirs)
  windows_path(_win "${_dir}")
  string(APPEND _install "CreateDirectory \"$INSTDIR\\${_win}\"\n")
endforeach()
set(_current "-")
foreach(_file IN LISTS _files)
  get_filename_component(_parent "${_file}" DIRECTORY)
  if(NOT _parent STREQUAL _current)
    set(_current "${_parent}")
    if(_parent STREQUAL "")
      string(APPEND _install "SetOutPath \"$INSTDIR\"\n")
    else()
      windows_path(_win "${_parent}")
      string(APPEND _install "SetOutPath \"$INSTDIR\\${_win}\"\n")
    endif()
  endif()
  nsis_text(_source "${PACKAGE_DIR}/${_file}")
  string(APPEND _install "File \"${_source}\"\n")
endforeach()

# Uninstall: every file, then the folders, deepest first.
set(_uninstall "; Generated from ${PACKAGE_DIR}\n")
foreach(_file IN LISTS _files)
  windows_path(_win "${_file}")
  string(APPEND _uninstall "Delete \"$INSTDIR\\${_win}\"\n")
endforeach()
set(_reversed ${_dirs})
list(REVERSE _reversed)
foreach(_dir IN LISTS _reversed)
  windows_path(_win "${_dir}")
  string(APPEND _uninstall "RMDir \"$INSTDIR\\${_win}\"\n")
endforeach()

set(_files_nsh "${WORK_DIR}/files.nsh")
set(_unfiles_nsh "${WORK_DIR}/unfiles.nsh")
set(_old_install "")
if(EXISTS "${_files_nsh}")
  file(READ "${_files_nsh}" _old_install)
endif()

set(_inputs "${SOURCE_DIR}/ConvocaLauncherSetup.nsi" "${SOURCE_DIR}/ConvocaLauncherAdmin.properties"
            "${SOURCE_DIR}/ConvocaSession.ico" "${CMAKE_CURRENT_LIST_FILE}")
foreach(_file IN LISTS _files)
  list(APPEND _inputs "${PACKAGE_DIR}/${_file}")
endforeach()

set(_stale FALSE)
if(NOT EXISTS "${OUTPUT}" OR NOT _old_install STREQUAL _install)
  set(_stale TRUE)
else()
  foreach(_input IN LISTS _inputs)
    if("${_input}" IS_NEWER_THAN "${OUTPUT}")
      set(_stale TRUE)
      break()
    endif()
  endforeach()
endif()
if(NOT _stale)
  return()
endif()

file(MAKE_DIRECTORY "${WORK_DIR}")
file(WRITE "${_files_nsh}" "${_install}")
file(WRITE "${_unfiles_nsh}" "${_uninstall}")

get_filename_component(_name "${OUTPUT}" NAME)
message(STATUS "Building ${_name}")
# Written under another name first, so that a failed run leaves no setup
# program that looks complete.
set(_partial "${OUTPUT}.partial")
file(REMOVE "${_partial}")
execute_process(
  COMMAND "${MAKENSIS}" -V2 -NOCD
          "-DVERSION=${VERSION}" "-DARCH=${ARCH}" "-DOUTFILE=${_partial}"
          "-DFILES_NSH=${_files_nsh}" "-DUNFILES_NSH=${_unfiles_nsh}"
          "-DADMIN_TEMPLATE=${SOURCE_DIR}/ConvocaLauncherAdmin.properties"
          "-DICON=${SOURCE_DIR}/ConvocaSession.ico"
          "${SOURCE_DIR}/ConvocaLauncherSetup.nsi"
  RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  file(REMOVE "${_partial}" "${_files_nsh}")
  message(FATAL_ERROR "makensis failed (${_rc})")
endif()
file(RENAME "${_partial}" "${OUTPUT}")
