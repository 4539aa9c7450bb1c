# Authenticode signatures (scripts/sign.sh, Debian's osslsigncode): the launcher, WinSparkle.dll and the custom action
# DLL once linked, the uninstaller inside the setup program, then the setup program and the Windows Installer package.
# Without a certificate the build is unsigned; a build with tests signs with the tests' throw-away certificate.
set(CONVOCA_SIGNING_CERT "" CACHE FILEPATH "PKCS#12 file whose certificate signs the programs and installers")
set(CONVOCA_SIGNING_PASSWORD_FILE "" CACHE FILEPATH
    "File holding the PKCS#12 file's password; empty: the environment variable CONVOCA_SIGNING_PASSWORD holds it")
set(CONVOCA_TIMESTAMP_URL "" CACHE STRING "Timestamp server (RFC 3161) for the signatures; a release needs one")
set(CONVOCA_SIGNATURES_IN "" CACHE PATH
    "Published detached signatures (<name>.sig) to attach instead of signing (README: Checking a release)")
set(CONVOCA_SIGNATURES_CA "" CACHE FILEPATH "CA file that attached signatures must verify against; empty: the system's")

set(CONVOCA_SIGNATURES_DIR ${CMAKE_BINARY_DIR}/signatures)
set(CONVOCA_SIGN_CONF "")
set(_cert "${CONVOCA_SIGNING_CERT}")
set(_password_file "${CONVOCA_SIGNING_PASSWORD_FILE}")
if(CONVOCA_SIGNATURES_IN STREQUAL "" AND _cert STREQUAL "" AND CONVOCA_BUILD_TESTS)
  set(CONVOCA_TEST_SIGNING_DIR ${CMAKE_BINARY_DIR}/test-signing)
  set(_cert ${CONVOCA_TEST_SIGNING_DIR}/signer.p12)
  set(_password_file ${CONVOCA_TEST_SIGNING_DIR}/password.txt)
  add_custom_command(OUTPUT ${_cert} ${_password_file} ${CONVOCA_TEST_SIGNING_DIR}/ca.pem
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/signing/make-test-certificate.sh ${CONVOCA_TEST_SIGNING_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/signing/make-test-certificate.sh
    COMMENT "Making the tests' throw-away code-signing certificate"
    VERBATIM)
  add_custom_target(convoca_signing_certificate DEPENDS ${_cert})
endif()
if(CONVOCA_SIGNATURES_IN STREQUAL "" AND _cert STREQUAL "")
  message(WARNING "CONVOCA_SIGNING_CERT is not set: the programs and installers are not signed")
else()
  find_program(CONVOCA_OSSLSIGNCODE osslsigncode)
  if(NOT CONVOCA_OSSLSIGNCODE)
    message(FATAL_ERROR "osslsigncode not found: scripts/setup.sh installs it (Debian package osslsigncode)")
  endif()
  set(CONVOCA_SIGN_CONF ${CMAKE_BINARY_DIR}/signing.conf)
  include(${CMAKE_CURRENT_LIST_DIR}/tables/Names.cmake)
  list(FIND CONVOCA_NAMES Product _at)
  math(EXPR _at "${_at} + 2")
  list(GET CONVOCA_NAMES ${_at} _product)
  file(CONFIGURE OUTPUT ${CONVOCA_SIGN_CONF} CONTENT
"cert='${_cert}'
password_file='${_password_file}'
timestamp='${CONVOCA_TIMESTAMP_URL}'
attach='${CONVOCA_SIGNATURES_IN}'
attach_ca='${CONVOCA_SIGNATURES_CA}'
signatures='${CONVOCA_SIGNATURES_DIR}'
description='${_product}'
")
endif()

# convoca_sign(target): the target's file is signed once linked.
function(convoca_sign target)
  if(CONVOCA_SIGN_CONF)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/sign.sh ${CONVOCA_SIGN_CONF} $<TARGET_FILE:${target}>
              $<TARGET_FILE_NAME:${target}>
      VERBATIM)
  endif()
  if(TARGET convoca_signing_certificate)
    add_dependencies(${target} convoca_signing_certificate)
  endif()
endfunction()
