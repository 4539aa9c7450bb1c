# Writes the setup program from the package folder with makensis, unless it
# is newer than every file it is made of. Run with cmake -P and:
#   MAKENSIS, SOURCE_DIR (installer/), WORK_DIR, PACKAGE_DIR, OUTPUT, VERSION, ARCH,
#   MSI_UPGRADE_CODE (the Windows Installer package's, which the setup checks for),
#   OTHER_MSI_UPGRADE_CODE (that of the other architecture's package),
#   ADMIN_PROPERTIES (the administrator's settings file to ship),
#   SIGN_CONF (scripts/sign.sh's settings, or empty for an unsigned setup program)
cmake_minimum_required(VERSION 3.20)

foreach(var MAKENSIS SOURCE_DIR WORK_DIR PACKAGE_DIR OUTPUT VERSION ARCH MSI_UPGRADE_CODE OTHER_MSI_UPGRADE_CODE
        ADMIN_PROPERTIES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "BuildSetup.cmake: ${var} is not set")
  endif()
endforeach()
include("${CMAKE_CURRENT_LIST_DIR}/PackageFiles.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/tables/Generate.cmake")
convoca_package_entries("${PACKAGE_DIR}" _files _dirs)

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

file(MAKE_DIRECTORY "${WORK_DIR}")
set(_files_nsh "${WORK_DIR}/files.nsh")
set(_unfiles_nsh "${WORK_DIR}/unfiles.nsh")
set(_inputs "${SOURCE_DIR}/ConvocaLauncherSetup.nsi" "${ADMIN_PROPERTIES}" "${SOURCE_DIR}/ConvocaSession.ico"
            "${CMAKE_CURRENT_LIST_FILE}" "${CMAKE_CURRENT_LIST_DIR}/../cmake/tables/Names.cmake")
list(TRANSFORM _files PREPEND "${PACKAGE_DIR}/" OUTPUT_VARIABLE _package_inputs)
convoca_installer_stale(_stale "${OUTPUT}" "${_files_nsh}" "${_install}" ${_inputs} ${_package_inputs})
if(NOT _stale)
  return()
endif()
file(WRITE "${_unfiles_nsh}" "${_uninstall}")
convoca_name_defines(_names CAPITALS)
list(TRANSFORM _names REPLACE "\\$" "$$")
list(TRANSFORM _names PREPEND "-D")
# The uninstaller is signed before it is packed; a copy of it stays in WORK_DIR.
if(SIGN_CONF)
  list(APPEND _names "-DSIGN=bash \"${CMAKE_CURRENT_LIST_DIR}/../scripts/sign.sh\" \"${SIGN_CONF}\""
                     "-DSIGNED_UNINSTALLER=${WORK_DIR}/Uninstall.exe")
endif()
convoca_build_installer("${OUTPUT}" "${_files_nsh}" "${MAKENSIS}" -V2 -NOCD
  "-DVERSION=${VERSION}" "-DARCH=${ARCH}" "-DOUTFILE=@PARTIAL@"
  "-DFILES_NSH=${_files_nsh}" "-DUNFILES_NSH=${_unfiles_nsh}"
  "-DADMIN_TEMPLATE=${ADMIN_PROPERTIES}" ${_names}
  "-DICON=${SOURCE_DIR}/ConvocaSession.ico"
  "-DMSI_UPGRADE_CODE=${MSI_UPGRADE_CODE}" "-DOTHER_MSI_UPGRADE_CODE=${OTHER_MSI_UPGRADE_CODE}"
  "${SOURCE_DIR}/ConvocaLauncherSetup.nsi")
convoca_sign_installer("${OUTPUT}" "${_files_nsh}")
