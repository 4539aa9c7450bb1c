# Writes the Windows Installer package from the package folder with wixl,
# unless it is newer than every file it is made of. Run with cmake -P and:
#   WIXL, SOURCE_DIR (installer/), WORK_DIR, PACKAGE_DIR, OUTPUT, VERSION,
#   ARCH (x64 or x86), UPGRADE_CODE, OTHER_UPGRADE_CODE (the other architecture's package's),
#   CUSTOM_ACTIONS (the custom action DLL),
#   MSIBUILD (msitools' msibuild),
#   SIGN_CONF (scripts/sign.sh's settings, or empty for an unsigned package),
#   SOURCE_DATE_EPOCH (the time of the packed files, in seconds),
#   FAKETIME (Debian's faketime, or empty: then the summary's times are those of the build)
cmake_minimum_required(VERSION 3.20)

foreach(var WIXL MSIBUILD SOURCE_DIR WORK_DIR PACKAGE_DIR OUTPUT VERSION ARCH UPGRADE_CODE OTHER_UPGRADE_CODE
        SOURCE_DATE_EPOCH FAKETIME
        CUSTOM_ACTIONS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "BuildMsi.cmake: ${var} is not set")
  endif()
endforeach()
include("${CMAKE_CURRENT_LIST_DIR}/PackageFiles.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/tables/Generate.cmake")
convoca_package_entries("${PACKAGE_DIR}" _files _dirs)

# Component rules: a component keeps its GUID for as long as it installs the
# same file to the same place, and a version has one product code. Both are
# derived from the upgrade code, which differs per architecture.
function(stable_guid out name)
  string(UUID _guid NAMESPACE "${UPGRADE_CODE}" NAME "${name}" TYPE SHA1 UPPER)
  set(${out} "${_guid}" PARENT_SCOPE)
endfunction()

# Identifiers of at most 72 characters, whatever the path.
function(wix_id out prefix relative)
  string(MD5 _hash "${relative}")
  string(SUBSTRING "${_hash}" 0 24 _hash)
  set(${out} "${prefix}${_hash}" PARENT_SCOPE)
endfunction()

function(xml_text out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(parent_id out relative)
  get_filename_component(_parent "${relative}" DIRECTORY)
  if(_parent STREQUAL "")
    set(${out} InstallFolder PARENT_SCOPE)
  else()
    wix_id(_id d "${_parent}")
    set(${out} ${_id} PARENT_SCOPE)
  endif()
endfunction()

# Each folder, then each file as a component of its own in its folder.
set(_wxi "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Generated from ${PACKAGE_DIR} -->\n<Include>\n<Fragment>\n")
foreach(_dir IN LISTS _dirs)
  parent_id(_parent "${_dir}")
  wix_id(_id d "${_dir}")
  get_filename_component(_name "${_dir}" NAME)
  xml_text(_name "${_name}")
  string(APPEND _wxi "  <DirectoryRef Id=\"${_parent}\"><Directory Id=\"${_id}\" Name=\"${_name}\"/></DirectoryRef>\n")
endforeach()
set(_refs "")
foreach(_file IN LISTS _files)
  parent_id(_parent "${_file}")
  wix_id(_component c "${_file}")
  wix_id(_id f "${_file}")
  stable_guid(_guid "file ${_file}")
  get_filename_component(_name "${_file}" NAME)
  xml_text(_name "${_name}")
  xml_text(_source "files/${_file}")
  string(APPEND _wxi "  <DirectoryRef Id=\"${_parent}\"><Component Id=\"${_component}\" Guid=\"${_guid}\" "
                     "Win64=\"$(var.Win64)\"><File Id=\"${_id}\" Name=\"${_name}\" Source=\"${_source}\" "
                     "KeyPath=\"yes\"/></Component></DirectoryRef>\n")
  string(APPEND _refs "    <ComponentRef Id=\"${_component}\"/>\n")
endforeach()
string(APPEND _wxi "  <ComponentGroup Id=\"PackageFiles\">\n${_refs}  </ComponentGroup>\n</Fragment>\n</Include>\n")

file(MAKE_DIRECTORY "${WORK_DIR}")
set(_files_wxi "${WORK_DIR}/files.wxi")
set(_inputs "${SOURCE_DIR}/ConvocaLauncher.wxs" "${SOURCE_DIR}/ConvocaSession.ico" "${CUSTOM_ACTIONS}"
            "${CMAKE_CURRENT_LIST_FILE}" "${CMAKE_CURRENT_LIST_DIR}/PackageFiles.cmake"
            "${CMAKE_CURRENT_LIST_DIR}/../cmake/tables/Names.cmake")
list(TRANSFORM _files PREPEND "${PACKAGE_DIR}/" OUTPUT_VARIABLE _package_inputs)
convoca_installer_stale(_stale "${OUTPUT}" "${_files_wxi}" "${_wxi}" ${_inputs} ${_package_inputs})
if(NOT _stale)
  return()
endif()
# The cabinet holds each file's time: wixl packs copies that carry SOURCE_DATE_EPOCH's, the icon's included.
file(REMOVE_RECURSE "${WORK_DIR}/files" "${WORK_DIR}/icon")
file(MAKE_DIRECTORY "${WORK_DIR}/icon")
file(COPY_FILE "${SOURCE_DIR}/ConvocaSession.ico" "${WORK_DIR}/icon/ConvocaSession.ico")
foreach(_file IN LISTS _files)
  get_filename_component(_parent "${WORK_DIR}/files/${_file}" DIRECTORY)
  file(MAKE_DIRECTORY "${_parent}")
  file(COPY_FILE "${PACKAGE_DIR}/${_file}" "${WORK_DIR}/files/${_file}")
endforeach()
execute_process(COMMAND find files icon -exec touch -h -d "@${SOURCE_DATE_EPOCH}" {} + WORKING_DIRECTORY "${WORK_DIR}")
# wixl writes the summary's times from the clock: under faketime, that of SOURCE_DATE_EPOCH.
set(_wixl "${WIXL}")
if(FAKETIME)
  set(ENV{TZ} UTC)
  set(ENV{SOURCE_DATE_EPOCH} ${SOURCE_DATE_EPOCH})
  string(TIMESTAMP _now "%Y-%m-%d %H:%M:%S" UTC)
  set(_wixl "${FAKETIME}" "${_now}" "${WIXL}")
endif()
# wixl takes only paths relative to the folder it runs in.
file(RELATIVE_PATH _custom_actions "${WORK_DIR}" "${CUSTOM_ACTIONS}")
set(_icon_file icon/ConvocaSession.ico)
stable_guid(_product "product ${VERSION}")
stable_guid(_icon "file ConvocaSession.ico")
stable_guid(_registration "registration")
convoca_name_defines(_defines CAMEL)
set(_names)
foreach(_define IN LISTS _defines)
  list(APPEND _names -D "${_define}")
endforeach()
convoca_build_installer("${OUTPUT}" "${_files_wxi}" ${_wixl} -a ${ARCH} -o @PARTIAL@
  -D "Version=${VERSION}" -D "Arch=${ARCH}" -D "ProductCode=${_product}" -D "UpgradeCode=${UPGRADE_CODE}"
  -D "CustomActions=${_custom_actions}" -D "Icon=${_icon_file}"
  -D "IconComponent=${_icon}" -D "RegistrationComponent=${_registration}" ${_names}
  "${SOURCE_DIR}/ConvocaLauncher.wxs")
# What wixl cannot say: the custom action that undoes ApplyAdminFile's change
# runs on rollback only; and versions that differ in the fourth field only,
# which Windows Installer does not compare, replace each other too (WiX's
# AllowSameVersionUpgrades). Any version of the other architecture's package
# is only detected, for the launch condition that refuses to join it.
set(_queries
  "UPDATE `CustomAction` SET `Type` = 3329 WHERE `Action` = 'RestoreAdminFile'"
  "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'"
  "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) VALUES ('{${UPGRADE_CODE}}', '${VERSION}', 513, 'WIX_UPGRADE_DETECTED')"
  "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `Attributes`, `ActionProperty`) VALUES ('{${OTHER_UPGRADE_CODE}}', '0.0.0.0', 258, 'OTHERARCHPACKAGE')")
foreach(_query IN LISTS _queries)
  execute_process(COMMAND "${MSIBUILD}" "${OUTPUT}" -q "${_query}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    file(REMOVE "${OUTPUT}" "${_files_wxi}")
    message(FATAL_ERROR "msibuild failed (${_rc}): ${_query}")
  endif()
endforeach()
# wixl gives each package a random package code. This one is derived from everything the package is made of, so
# that one commit gives one code and packages that differ never share one; the summary's other fields stay wixl's.
# The build folder, named in the generated source's comment, is not part of it.
string(REPLACE "${PACKAGE_DIR}" "" _content "${VERSION} ${ARCH} ${UPGRADE_CODE} ${OTHER_UPGRADE_CODE}\n${_wxi}")
foreach(_input IN LISTS _inputs _package_inputs)
  file(SHA256 "${_input}" _hash)
  string(APPEND _content "${_hash}\n")
endforeach()
string(UUID _package_code NAMESPACE "${UPGRADE_CODE}" NAME "package ${_content}" TYPE SHA1 UPPER)
get_filename_component(_msitools "${MSIBUILD}" DIRECTORY)
execute_process(COMMAND "${_msitools}/msiinfo" suminfo "${OUTPUT}" OUTPUT_VARIABLE _summary RESULT_VARIABLE _rc)
foreach(_field Subject Author Template)
  string(REGEX MATCH "\n${_field}: ([^\n]*)" _line "\n${_summary}")
  set(_${_field} "${CMAKE_MATCH_1}")
endforeach()
if(_rc EQUAL 0)
  execute_process(COMMAND "${MSIBUILD}" "${OUTPUT}" -s "${_Subject}" "${_Author}" "${_Template}" "{${_package_code}}"
                  RESULT_VARIABLE _rc)
endif()
if(NOT _rc EQUAL 0)
  file(REMOVE "${OUTPUT}" "${_files_wxi}")
  message(FATAL_ERROR "the package code could not be set (${_rc})")
endif()
convoca_sign_installer("${OUTPUT}" "${_files_wxi}")
