# WinSparkle.dll, the update library that ships with the launcher: WinSparkle
# (third_party/winsparkle, with cmake/winsparkle-tvs.patch applied to a copy in
# the build folder), a static subset of wxWidgets and expat (Debian's source
# packages, unpacked by scripts/setup.sh) and the ed25519 verifier
# (third_party/ed25519).
set(WX_SOURCE_DIR ${CMAKE_SOURCE_DIR}/third_party/wxwidgets)
set(EXPAT_SOURCE_DIR ${CMAKE_SOURCE_DIR}/third_party/expat/expat/lib)
set(ED25519_SOURCE_DIR ${CMAKE_SOURCE_DIR}/third_party/ed25519/src)
foreach(_dir IN ITEMS ${WX_SOURCE_DIR}/src/msw ${EXPAT_SOURCE_DIR})
  if(NOT EXISTS ${_dir})
    message(FATAL_ERROR "${_dir} missing: run scripts/setup.sh first")
  endif()
endforeach()

# The patched copy is made anew whenever the patch or a vendored file changes,
# so the vendored tree stays as released and nothing is patched twice.
set(WINSPARKLE_DIR ${CMAKE_BINARY_DIR}/winsparkle-src)
set(_ws_vendored ${CMAKE_SOURCE_DIR}/third_party/winsparkle)
set(_ws_patch ${CMAKE_SOURCE_DIR}/cmake/winsparkle-tvs.patch)
file(GLOB_RECURSE _ws_files ${_ws_vendored}/*)
set(_ws_stamp_text "")
foreach(_f IN LISTS _ws_files _ws_patch)
  file(SHA256 ${_f} _hash)
  string(APPEND _ws_stamp_text "${_hash}\n")
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_ws_files} ${_ws_patch})
set(_ws_stamp ${WINSPARKLE_DIR}/.patched)
set(_ws_old_stamp "")
if(EXISTS ${_ws_stamp})
  file(READ ${_ws_stamp} _ws_old_stamp)
endif()
if(NOT _ws_old_stamp STREQUAL _ws_stamp_text)
  file(REMOVE_RECURSE ${WINSPARKLE_DIR})
  file(COPY ${_ws_vendored}/ DESTINATION ${WINSPARKLE_DIR})
  execute_process(COMMAND patch -p1 --quiet --forward -i ${_ws_patch}
                  WORKING_DIRECTORY ${WINSPARKLE_DIR} RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "cmake/winsparkle-tvs.patch does not apply to third_party/winsparkle")
  endif()
  file(WRITE ${_ws_stamp} "${_ws_stamp_text}")
endif()

# Third-party code: its own warnings are not ours to fix, and it needs all of
# <windows.h>.
set(_third_party_options -w -Wno-misleading-indentation -ffunction-sections -fdata-sections -UWIN32_LEAN_AND_MEAN)

add_library(ws_expat STATIC EXCLUDE_FROM_ALL
  ${EXPAT_SOURCE_DIR}/xmlparse.c ${EXPAT_SOURCE_DIR}/xmlrole.c ${EXPAT_SOURCE_DIR}/xmltok.c)
target_include_directories(ws_expat PRIVATE ${WINSPARKLE_DIR}/3rdparty/config)
target_include_directories(ws_expat SYSTEM INTERFACE ${EXPAT_SOURCE_DIR})
target_compile_definitions(ws_expat PUBLIC XML_STATIC)
target_compile_options(ws_expat PRIVATE ${_third_party_options})

add_library(ws_ed25519 STATIC EXCLUDE_FROM_ALL
  ${ED25519_SOURCE_DIR}/fe.c ${ED25519_SOURCE_DIR}/ge.c ${ED25519_SOURCE_DIR}/sc.c
  ${ED25519_SOURCE_DIR}/sha512.c ${ED25519_SOURCE_DIR}/verify.c)
target_include_directories(ws_ed25519 SYSTEM INTERFACE ${ED25519_SOURCE_DIR})
target_compile_options(ws_ed25519 PRIVATE ${_third_party_options})

# The wxWidgets files WinSparkle uses (the list of its own wx project).
set(_wx_sources
  src/common/any.cpp
  src/common/appbase.cpp
  src/common/appcmn.cpp
  src/common/arrstr.cpp
  src/common/artprov.cpp
  src/common/bmpbase.cpp
  src/common/bmpbndl.cpp
  src/common/btncmn.cpp
  src/common/checkboxcmn.cpp
  src/common/clntdata.cpp
  src/common/cmdline.cpp
  src/common/cmdproc.cpp
  src/common/colourcmn.cpp
  src/common/config.cpp
  src/common/containr.cpp
  src/common/convauto.cpp
  src/common/ctrlcmn.cpp
  src/common/ctrlsub.cpp
  src/common/dcbase.cpp
  src/common/dcbufcmn.cpp
  src/common/dircmn.cpp
  src/common/dlgcmn.cpp
  src/common/dobjcmn.cpp
  src/common/dpycmn.cpp
  src/common/dynlib.cpp
  src/common/encconv.cpp
  src/common/event.cpp
  src/common/evtloopcmn.cpp
  src/common/extended.c
  src/common/ffile.cpp
  src/common/file.cpp
  src/common/filefn.cpp
  src/common/filename.cpp
  src/common/fileback.cpp
  src/common/filesys.cpp
  src/common/fmapbase.cpp
  src/common/fontcmn.cpp
  src/common/fontmap.cpp
  src/common/framecmn.cpp
  src/common/gaugecmn.cpp
  src/common/gbsizer.cpp
  src/common/gdicmn.cpp
  src/common/hash.cpp
  src/common/hashmap.cpp
  src/common/iconbndl.cpp
  src/common/imagbmp.cpp
  src/common/image.cpp
  src/common/init.cpp
  src/common/intl.cpp
  src/common/ipcbase.cpp
  src/common/languageinfo.cpp
  src/common/layout.cpp
  src/common/list.cpp
  src/common/longlong.cpp
  src/common/matrix.cpp
  src/common/menucmn.cpp
  src/common/modalhook.cpp
  src/common/module.cpp
  src/common/mstream.cpp
  src/common/mousemanager.cpp
  src/common/msgout.cpp
  src/common/numformatter.cpp
  src/common/object.cpp
  src/common/overlaycmn.cpp
  src/common/panelcmn.cpp
  src/common/platinfo.cpp
  src/common/powercmn.cpp
  src/common/process.cpp
  src/common/quantize.cpp
  src/common/rendcmn.cpp
  src/common/rgncmn.cpp
  src/common/settcmn.cpp
  src/common/sizer.cpp
  src/common/statbmpcmn.cpp
  src/common/stattextcmn.cpp
  src/common/stdpbase.cpp
  src/common/stockitem.cpp
  src/common/strconv.cpp
  src/common/stream.cpp
  src/common/string.cpp
  src/common/stringimpl.cpp
  src/common/stringops.cpp
  src/common/strvararg.cpp
  src/common/sysopt.cpp
  src/common/textbuf.cpp
  src/common/textcmn.cpp
  src/common/textentrycmn.cpp
  src/common/textmeasurecmn.cpp
  src/common/threadinfo.cpp
  src/common/time.cpp
  src/common/timercmn.cpp
  src/common/timerimpl.cpp
  src/common/tokenzr.cpp
  src/common/toplvcmn.cpp
  src/common/translation.cpp
  src/common/txtstrm.cpp
  src/common/uilocale.cpp
  src/common/unichar.cpp
  src/common/uri.cpp
  src/common/ustring.cpp
  src/common/utilscmn.cpp
  src/common/variant.cpp
  src/common/webview.cpp
  src/common/wfstream.cpp
  src/common/wincmn.cpp
  src/common/windowid.cpp
  src/common/wrapsizer.cpp
  src/common/wxcrt.cpp
  src/common/wxprintf.cpp
  src/generic/msgdlgg.cpp
  src/generic/renderg.cpp
  src/generic/scrlwing.cpp
  src/generic/selstore.cpp
  src/generic/statbmpg.cpp
  src/generic/stattextg.cpp
  src/generic/vscroll.cpp
  src/msw/anybutton.cpp
  src/msw/app.cpp
  src/msw/artmsw.cpp
  src/msw/basemsw.cpp
  src/msw/bitmap.cpp
  src/msw/brush.cpp
  src/msw/button.cpp
  src/msw/checkbox.cpp
  src/msw/colour.cpp
  src/msw/control.cpp
  src/msw/cursor.cpp
  src/msw/dc.cpp
  src/msw/dcclient.cpp
  src/msw/dcmemory.cpp
  src/msw/dcscreen.cpp
  src/msw/debughlp.cpp
  src/msw/dialog.cpp
  src/msw/dib.cpp
  src/msw/dir.cpp
  src/msw/display.cpp
  src/msw/dlmsw.cpp
  src/msw/evtloop.cpp
  src/msw/evtloopconsole.cpp
  src/msw/font.cpp
  src/msw/fontutil.cpp
  src/msw/frame.cpp
  src/msw/gauge.cpp
  src/msw/gdiimage.cpp
  src/msw/icon.cpp
  src/msw/imaglist.cpp
  src/msw/main.cpp
  src/msw/menu.cpp
  src/msw/menuitem.cpp
  src/msw/msgdlg.cpp
  src/msw/nativdlg.cpp
  src/msw/nativewin.cpp
  src/msw/nonownedwnd.cpp
  src/msw/ole/activex.cpp
  src/msw/ole/automtn.cpp
  src/msw/ole/comimpl.cpp
  src/msw/ole/dataobj.cpp
  src/msw/ole/oleutils.cpp
  src/msw/ole/safearray.cpp
  src/msw/ole/uuid.cpp
  src/msw/pen.cpp
  src/msw/power.cpp
  src/msw/region.cpp
  src/msw/registry.cpp
  src/msw/renderer.cpp
  src/msw/settings.cpp
  src/msw/statbmp.cpp
  src/msw/stattext.cpp
  src/msw/stdpaths.cpp
  src/msw/textctrl.cpp
  src/msw/textentry.cpp
  src/msw/textmeasure.cpp
  src/msw/thread.cpp
  src/msw/timer.cpp
  src/msw/toplevel.cpp
  src/msw/uilocale.cpp
  src/msw/utils.cpp
  src/msw/utilsexc.cpp
  src/msw/utilsgui.cpp
  src/msw/utilswin.cpp
  src/msw/uxtheme.cpp
  src/msw/webview_edge.cpp
  src/msw/webview_ie.cpp
  src/msw/window.cpp
)
list(TRANSFORM _wx_sources PREPEND ${WX_SOURCE_DIR}/)
add_library(ws_wx STATIC EXCLUDE_FROM_ALL ${_wx_sources})
# WinSparkle's wx/setup.h comes first: it chooses the subset.
target_include_directories(ws_wx SYSTEM PUBLIC ${WINSPARKLE_DIR}/3rdparty/config ${WX_SOURCE_DIR}/include)
target_compile_definitions(ws_wx PUBLIC __WXMSW__ wxUSE_GUI=1 PRIVATE WXBUILDING)
target_compile_options(ws_wx PRIVATE ${_third_party_options})
# Batches of files compiled as one, and one precompiled header for all, keep
# the build short.
# Compiled alone: strconv.cpp undefines the conversion macros that the others
# use, and textentry.cpp declares a shell interface that others' headers bring.
set_target_properties(ws_wx PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 24)
set_source_files_properties(${WX_SOURCE_DIR}/src/common/strconv.cpp ${WX_SOURCE_DIR}/src/msw/textentry.cpp
                            PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
target_compile_definitions(ws_wx PRIVATE $<$<COMPILE_LANGUAGE:CXX>:WX_PRECOMP>)
target_precompile_headers(ws_wx PRIVATE $<$<COMPILE_LANGUAGE:CXX>:wx/wxprec.h>)
target_link_libraries(ws_wx PUBLIC comctl32 comdlg32 gdi32 winspool winmm shell32 shlwapi ole32 oleaut32 uuid
                      rpcrt4 advapi32 version wininet oleacc uxtheme imm32 ws2_32)

set(_ws_sources appcast.cpp appcontroller.cpp dll_api.cpp dllmain.cpp download.cpp error.cpp settings.cpp
    signatureverifier.cpp threads.cpp ui.cpp updatechecker.cpp updatedownloader.cpp winsparkle.rc)
list(TRANSFORM _ws_sources PREPEND ${WINSPARKLE_DIR}/src/)
add_library(winsparkle SHARED ${_ws_sources})
target_include_directories(winsparkle PRIVATE ${WINSPARKLE_DIR}/include ${WINSPARKLE_DIR}/src)
target_compile_definitions(winsparkle PRIVATE BUILDING_WIN_SPARKLE _CRT_SECURE_NO_WARNINGS)
target_compile_options(winsparkle PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:${_third_party_options}>)
target_link_libraries(winsparkle PRIVATE ws_wx ws_expat ws_ed25519 crypt32)
target_link_options(winsparkle PRIVATE -Wl,--gc-sections $<$<CONFIG:Release>:-s>)
set_target_properties(winsparkle PROPERTIES OUTPUT_NAME WinSparkle PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CONVOCA_PACKAGE_DIR})
convoca_sign(winsparkle)

# The licence notices of what WinSparkle.dll is made of ship beside it.
foreach(_notice IN ITEMS "WinSparkle.txt|${_ws_vendored}/COPYING" "wxWidgets.txt|${WX_SOURCE_DIR}/docs/licence.txt"
                         "expat.txt|${EXPAT_SOURCE_DIR}/../COPYING" "ed25519.txt|${ED25519_SOURCE_DIR}/../license.txt")
  string(REPLACE "|" ";" _notice "${_notice}")
  list(GET _notice 0 _name)
  list(GET _notice 1 _from)
  configure_file(${_from} ${CONVOCA_PACKAGE_DIR}/licenses/${_name} COPYONLY)
endforeach()
