# Shared by BuildSetup.cmake and BuildMsi.cmake: what of the package folder an
# installation holds, and whether an installer built from it is out of date.

# The package folder is also the build folder of package/: CMake's own files
# there are not part of the installation.
set(_convoca_cmake_artifacts CMakeFiles Makefile cmake_install.cmake CTestTestfile.cmake
    build.ninja rules.ninja .ninja_deps .ninja_log)

# Sets files_var and dirs_var to the package's files and folders, relative
# to package_dir with "/" separators, sorted.
function(convoca_package_entries package_dir files_var dirs_var)
  if(NOT EXISTS "${package_dir}/ConvocaLauncher.exe")
    message(FATAL_ERROR "${package_dir} holds no ConvocaLauncher.exe")
  endif()
  file(GLOB_RECURSE _entries RELATIVE "${package_dir}" LIST_DIRECTORIES true "${package_dir}/*")
  list(SORT _entries)
  set(_files)
  set(_dirs)
  foreach(_entry IN LISTS _entries)
    string(REGEX REPLACE "/.*" "" _top "${_entry}")
    if(_top IN_LIST _convoca_cmake_artifacts)
      continue()
    endif()
    if(IS_DIRECTORY "${package_dir}/${_entry}")
      list(APPEND _dirs "${_entry}")
    else()
      list(APPEND _files "${_entry}")
    endif()
  endforeach()
  set(${files_var} "${_files}" PARENT_SCOPE)
  set(${dirs_var} "${_dirs}" PARENT_SCOPE)
endfunction()

# Sets out_var to TRUE when output must be built again: it is missing, the
# text generated for it differs from what generated_file holds, or one of the
# inputs (further arguments) is newer. Writes the text to generated_file then.
function(convoca_installer_stale out_var output generated_file text)
  set(_old "")
  if(EXISTS "${generated_file}")
    file(READ "${generated_file}" _old)
  endif()
  set(_stale FALSE)
  if(NOT EXISTS "${output}" OR NOT _old STREQUAL text)
    set(_stale TRUE)
  else()
    foreach(_input IN LISTS ARGN)
      if("${_input}" IS_NEWER_THAN "${output}")
        set(_stale TRUE)
        break()
      endif()
    endforeach()
  endif()
  if(_stale)
    file(WRITE "${generated_file}" "${text}")
  endif()
  set(${out_var} ${_stale} PARENT_SCOPE)
endfunction()

# Runs an installer build that writes to output, in the folder of the
# generated file: under another name first, so that a failed run leaves
# nothing that looks complete, and removes the generated file then so that the
# next run tries again. The command's arguments follow; @PARTIAL@ among them
# stands for the file to write.
function(convoca_build_installer output generated_file tool)
  get_filename_component(_name "${output}" NAME)
  message(STATUS "Building ${_name}")
  set(_partial "${output}.partial")
  file(REMOVE "${_partial}")
  list(TRANSFORM ARGN REPLACE "@PARTIAL@" "${_partial}")
  get_filename_component(_work_dir "${generated_file}" DIRECTORY)
  execute_process(COMMAND "${tool}" ${ARGN} WORKING_DIRECTORY "${_work_dir}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    file(REMOVE "${_partial}" "${generated_file}")
    get_filename_component(_tool "${tool}" NAME)
    message(FATAL_ERROR "${_tool} failed (${_rc})")
  endif()
  file(RENAME "${_partial}" "${output}")
endfunction()

# Signs an installer just built, when SIGN_CONF names the signing settings; a failure removes it and the generated
# file, as a failed build does.
function(convoca_sign_installer output generated_file)
  if(NOT SIGN_CONF)
    return()
  endif()
  get_filename_component(_name "${output}" NAME)
  execute_process(COMMAND bash "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../scripts/sign.sh" "${SIGN_CONF}" "${output}"
                          "${_name}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    file(REMOVE "${output}" "${generated_file}")
    message(FATAL_ERROR "signing ${_name} failed (${_rc})")
  endif()
endfunction()
