; Setup of the Tavisto Convoca Launcher: installs the package folder for the
; current user (the default) or for all users of the computer (/ALLUSERS),
; registers the ".vca" session files and an uninstaller.
;
; Defined by the build (installer/BuildSetup.cmake):
;   VERSION         the launcher's version, for example 1.5.0.0
;   ARCH            x64 or x86, the architecture of the package
;   OUTFILE         the setup program to write
;   FILES_NSH       File instructions for every file of the package
;   UNFILES_NSH     Delete and RMDir instructions for the same files
;   ADMIN_TEMPLATE  the administrator's settings file shipped with /ALLUSERS
;   ICON            the icon of the session files and of the setup
;   MSI_UPGRADE_CODE  the upgrade code of the Windows Installer package
;   OTHER_MSI_UPGRADE_CODE  that of the other architecture's package
;   SIGN            optional: the command that signs a file (scripts/sign.sh with its settings)
;   SIGNED_UNINSTALLER  where that command leaves a copy of the signed uninstaller
;   and the names of cmake/tables/Names.cmake, in capitals: PRODUCT, PUBLISHER,
;   LAUNCHER_EXE, ADMIN_PROPERTIES, REGISTRY_KEY, SESSION_EXTENSION and others

!if "${ARCH}" == "x64"
  Target amd64-unicode
  ; The 64-bit launcher reads the 64-bit registry view.
  !define REGVIEW 64
  !define MACHINE_PROGRAM_FILES "$PROGRAMFILES64"
  !define OTHER_ARCH x86
  !define OTHER_REGVIEW 32
!else if "${ARCH}" == "x86"
  Target x86-unicode
  ; The 32-bit launcher reads the 32-bit registry view.
  !define REGVIEW 32
  !define MACHINE_PROGRAM_FILES "$PROGRAMFILES32"
  !define OTHER_ARCH x64
  !define OTHER_REGVIEW 64
!else
  !error "ARCH must be x64 or x86"
!endif

!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${SETTINGS_SHORTCUT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

; Exit codes besides NSIS's own (0 done, 1 cancelled, 2 aborted).
!define EXIT_IN_USE 3
!define EXIT_FOLDER 4
!define EXIT_RIGHTS 5
!define EXIT_USAGE 6
!define EXIT_MSI 7
!define EXIT_OTHER_ARCH 8

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
OutFile "${OUTFILE}"
; Per user needs no rights; /ALLUSERS checks for them itself.
RequestExecutionLevel user
SetCompressor /SOLID lzma
; Packed without their times: one commit gives one setup program, byte for byte.
SetDateSave off
!ifdef SIGN
  !uninstfinalize '${SIGN} "%1" ${UNINSTALLER} "${SIGNED_UNINSTALLER}"' = 0
!endif
; A file that cannot be written stops the setup; skipping it would leave a
; mixture of two versions.
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PUBLISHER}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

Var PerMachine ; "1" for all users, "" for the current user

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_DIRECTORYPAGE_TEXT_TOP "$(DirectoryHint)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

LangString Usage 1033 "Usage: ConvocaLauncherSetup-${VERSION}.exe [/CURRENTUSER | /ALLUSERS] [/S] [/D=folder]$\r$\n$\r$\n\
/CURRENTUSER$\tinstall for the current user only, in the local application data folder under Programs (the default; needs no administrator rights)$\r$\n\
/ALLUSERS$\tinstall for all users of this computer, under Program Files, with the administrator's settings file (needs administrator rights)$\r$\n\
/S$\tsilent: no windows and no questions$\r$\n\
/D=folder$\tinstall into this folder; must come last, without quotes"
LangString BothModes 1033 "Choose either /CURRENTUSER or /ALLUSERS, not both."
LangString NeedsAdmin 1033 "Installing ${PRODUCT} for all users needs administrator rights.$\r$\n$\r$\nStart the setup from a command prompt that runs as administrator, or leave out /ALLUSERS to install it for yourself only."
LangString MsiInstalled 1033 "${PRODUCT} is installed for all users from its Windows Installer package (MSI), and the setup program does not install over it.$\r$\n$\r$\nUpdate it with a newer MSI package, or remove it in Add/Remove Programs first."
LangString OtherArchInstalled 1033 "${PRODUCT} is installed for all users as the ${OTHER_ARCH} package, and the 32-bit and the 64-bit launcher do not share a computer: they would share each user's settings and working copy of the Java runtime.$\r$\n$\r$\nRemove that installation in Add/Remove Programs first, or update it with a newer ${OTHER_ARCH} package."
LangString UnNeedsAdmin 1033 "${PRODUCT} is installed for all users. Removing it needs administrator rights."
LangString DirectoryHint 1033 "Setup will install ${PRODUCT} ${VERSION} in the folder below. An installation for the current user must lie in your profile folder; one for all users (/ALLUSERS) must lie outside every profile folder."
LangString FolderNotInProfile 1033 "An installation for the current user must lie in your profile folder ($PROFILE), and $INSTDIR does not.$\r$\n$\r$\nChoose a folder there, or install for all users with /ALLUSERS."
LangString FolderInProfile 1033 "An installation for all users cannot lie in a user's profile folder ($PROFILE), and $INSTDIR does.$\r$\n$\r$\nChoose a folder outside it, for example under Program Files."
LangString InUse 1033 "${PRODUCT} is running from $INSTDIR and cannot be updated now: $R8 is in use.$\r$\n$\r$\nClose the Convoca Launcher settings window and wait until a session that is starting has started, then click Retry. Cancel leaves the installed version as it is."
LangString UnInUse 1033 "${PRODUCT} is running from $INSTDIR and cannot be removed now: $R8 is in use.$\r$\n$\r$\nClose the Convoca Launcher settings window and wait until a session that is starting has started, then click Retry. Cancel leaves it installed."
LangString KeptUserData 1033 "${PRODUCT} has been removed. Your settings, logs and working copy of the Java runtime were kept, in$\r$\n$LOCALAPPDATA\${SUPPORT_SUBDIRECTORY}$\r$\nand$\r$\n$APPDATA\${SUPPORT_SUBDIRECTORY}$\r$\nDelete these folders to remove them too."
LangString KeptUsersData 1033 "${PRODUCT} has been removed for all users. The settings, logs and working copy of the Java runtime of each user were kept, in the folder ${SUPPORT_SUBDIRECTORY} of the user's local and roaming application data folders. Delete these folders to remove them too."

; --- shared by the setup and the uninstaller --------------------------------

; $R8 = the first file directly in the installation folder that another
; process holds so that it cannot be written, or "". A running launcher holds
; its exe and the update library's DLL this way. Only a sharing or lock
; violation counts: a read-only file is no sign of a running program, and the
; setup replaces it all the same. This program's own file does not count: an
; uninstaller run in place (_?=) holds itself.
!macro DEFINE_FIND_FILE_IN_USE un
Function ${un}FindFileInUse
  Push $R0
  Push $R1
  Push $R2
  Push $R3
  StrCpy $R8 ""
  ClearErrors
  FindFirst $R0 $R1 "$INSTDIR\*.*"
  ${DoUntil} ${Errors}
    ${If} $R1 != "."
    ${AndIf} $R1 != ".."
    ${AndIfNot} ${FileExists} "$INSTDIR\$R1\*.*"
    ${AndIf} "$INSTDIR\$R1" != "$EXEPATH"
      ; GENERIC_WRITE, sharing read, write and delete, OPEN_EXISTING
      System::Call 'kernel32::CreateFileW(w "$INSTDIR\$R1", i 0x40000000, i 7, p 0, i 3, i 0, p 0) p.R2 ?e'
      Pop $R3
      ${If} $R2 P<> -1
        System::Call 'kernel32::CloseHandle(p R2)'
      ${ElseIf} $R3 = 32 ; ERROR_SHARING_VIOLATION
      ${OrIf} $R3 = 33   ; ERROR_LOCK_VIOLATION
        StrCpy $R8 "$INSTDIR\$R1"
        ${Break}
      ${EndIf}
    ${EndIf}
    ClearErrors
    FindNext $R0 $R1
  ${Loop}
  FindClose $R0
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!insertmacro DEFINE_FIND_FILE_IN_USE ""
!insertmacro DEFINE_FIND_FILE_IN_USE "un."

; Returns once no file of the installation is in use. A file that stays in use
; for a few seconds asks the user to retry; silently, or when the user cancels,
; the program ends with EXIT_IN_USE and nothing has been changed.
!macro DEFINE_WAIT_UNTIL_NOT_IN_USE un message
Function ${un}WaitUntilNotInUse
  Push $R9
  StrCpy $R9 0
  ${Do}
    Call ${un}FindFileInUse
    ${If} $R8 == ""
      ${Break}
    ${EndIf}
    IntOp $R9 $R9 + 1
    ${If} $R9 < 3
      Sleep 1000
      ${Continue}
    ${EndIf}
    DetailPrint "$R8 is in use."
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(${message})" /SD IDCANCEL IDRETRY +3
    SetErrorLevel ${EXIT_IN_USE}
    Quit
    StrCpy $R9 0
  ${Loop}
  Pop $R9
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_UNTIL_NOT_IN_USE "" InUse
!insertmacro DEFINE_WAIT_UNTIL_NOT_IN_USE "un." UnInUse

; Ends the program with EXIT_RIGHTS unless it runs with administrator rights.
!macro DEFINE_REQUIRE_ADMIN un message
Function ${un}RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "$(${message})" /SD IDOK
    SetErrorLevel ${EXIT_RIGHTS}
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_REQUIRE_ADMIN "" NeedsAdmin
!insertmacro DEFINE_REQUIRE_ADMIN "un." UnNeedsAdmin

; --- setup -------------------------------------------------------------------

Function .onInit
  SetRegView ${REGVIEW}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/?" $R1
  ${IfNot} ${Errors}
    MessageBox MB_OK|MB_ICONINFORMATION "$(Usage)" /SD IDOK
    Quit
  ${EndIf}
  StrCpy $PerMachine ""
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $PerMachine 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
  ${AndIf} $PerMachine == 1
    MessageBox MB_OK|MB_ICONSTOP "$(BothModes)$\r$\n$\r$\n$(Usage)" /SD IDOK
    SetErrorLevel ${EXIT_USAGE}
    Quit
  ${EndIf}

  ${If} $PerMachine == 1
    Call RequireAdmin
    Call RefuseOverMsiInstallation
    Call RefuseBesideOtherArchitecture
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ; /D= wins; otherwise an earlier installation of the same kind is updated
  ; where it is.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} $PerMachine == 1
      StrCpy $INSTDIR "${MACHINE_PROGRAM_FILES}\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Two installations for all users never share the folder: the Windows
; Installer package's installation is the package's to update.
Function RefuseOverMsiInstallation
  System::Call 'msi::MsiEnumRelatedProductsW(w "{${MSI_UPGRADE_CODE}}", i 0, i 0, w .R1) i .R0'
  ${If} $R0 = 0 ; ERROR_SUCCESS: a product with that upgrade code is installed
    MessageBox MB_OK|MB_ICONSTOP "$(MsiInstalled)" /SD IDOK
    SetErrorLevel ${EXIT_MSI}
    Quit
  ${EndIf}
FunctionEnd

; Nor do the two architectures' installations for all users share a computer:
; the other one is found by its setup program's entry in its registry view
; (only 64-bit Windows has two) or by its Windows Installer package.
Function RefuseBesideOtherArchitecture
  StrCpy $R1 ""
!if "${ARCH}" == "x86"
  ${If} ${RunningX64}
!endif
    SetRegView ${OTHER_REGVIEW}
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    SetRegView ${REGVIEW}
!if "${ARCH}" == "x86"
  ${EndIf}
!endif
  System::Call 'msi::MsiEnumRelatedProductsW(w "{${OTHER_MSI_UPGRADE_CODE}}", i 0, i 0, w .R2) i .R0'
  ${If} $R0 = 0 ; ERROR_SUCCESS: the other package is installed
    StrCpy $R1 "$R2"
  ${EndIf}
  ${If} $R1 != ""
    MessageBox MB_OK|MB_ICONSTOP "$(OtherArchInstalled)" /SD IDOK
    SetErrorLevel ${EXIT_OTHER_ARCH}
    Quit
  ${EndIf}
FunctionEnd

; $R7 = why $INSTDIR does not suit the kind of installation, or "". The
; launcher counts itself as installed per user exactly when its exe lies
; below the user's profile folder.
Function CheckInstallFolder
  Push $0
  Push $1
  StrCpy $R7 ""
  StrLen $0 "$PROFILE\"
  StrCpy $1 "$INSTDIR" $0
  ${If} $PerMachine == 1
    ${If} $1 == "$PROFILE\"
      StrCpy $R7 "$(FolderInProfile)"
    ${EndIf}
  ${ElseIf} $1 != "$PROFILE\"
    StrCpy $R7 "$(FolderNotInProfile)"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Function .onVerifyInstDir
  Call CheckInstallFolder
  ${If} $R7 != ""
    Abort
  ${EndIf}
FunctionEnd

Section "-Install"
  SetRegView ${REGVIEW}
  Call CheckInstallFolder
  ${If} $R7 != ""
    MessageBox MB_OK|MB_ICONSTOP "$R7" /SD IDOK
    SetErrorLevel ${EXIT_FOLDER}
    Quit
  ${EndIf}
  Call WaitUntilNotInUse

  ; The runtime's master copy and the security folder are replaced whole, so
  ; that nothing of an earlier version stays behind in them.
  RMDir /r "$INSTDIR\Resources"
  RMDir /r "$INSTDIR\security"
  !include "${FILES_NSH}"
  SetOutPath "$INSTDIR"
  File "/oname=${SESSION_ICON}" "${ICON}"
  ${If} $PerMachine == 1
    ; An administrator's edited file survives an update.
    ${IfNot} ${FileExists} "$INSTDIR\${ADMIN_PROPERTIES}"
      File "/oname=${ADMIN_PROPERTIES}" "${ADMIN_TEMPLATE}"
    ${EndIf}
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  Call WriteAssociation
  Call WriteUninstallEntry
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${LAUNCHER_EXE}" "" "$INSTDIR\${SESSION_ICON}"

  ${If} $PerMachine == 1
    ; A new value makes every user's next start refresh the working copy of
    ; the runtime from the new master copy.
    System::Call 'ole32::CoCreateGuid(g .R0)'
    WriteRegStr HKLM "${REGISTRY_KEY}" "${MARKER_VALUE}" "${VERSION} $R0"
  ${Else}
    ; Per user the launcher expects "0" there; without a value it refreshes.
    DeleteRegValue HKCU "${REGISTRY_KEY}" "${MARKER_VALUE}"
  ${EndIf}
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Function WriteAssociation
  WriteRegStr SHCTX "Software\Classes\${SESSION_EXTENSION}" "" "${SESSION_PROG_ID}"
  WriteRegStr SHCTX "Software\Classes\${SESSION_EXTENSION}" "Content Type" "${SESSION_CONTENT_TYPE}"
  WriteRegStr SHCTX "Software\Classes\${SESSION_EXTENSION}\OpenWithProgids" "${SESSION_PROG_ID}" ""
  WriteRegStr SHCTX "Software\Classes\${SESSION_PROG_ID}" "" "${SESSION_TYPE_NAME}"
  ; Downloaded session files may be opened without the "open or save"
  ; question: the launcher checks every file before it starts anything.
  WriteRegDWORD SHCTX "Software\Classes\${SESSION_PROG_ID}" "EditFlags" 0x00010000
  WriteRegStr SHCTX "Software\Classes\${SESSION_PROG_ID}\DefaultIcon" "" "$INSTDIR\${SESSION_ICON},0"
  WriteRegStr SHCTX "Software\Classes\${SESSION_PROG_ID}\shell" "" "open"
  WriteRegStr SHCTX "Software\Classes\${SESSION_PROG_ID}\shell\open\command" "" '"$INSTDIR\${LAUNCHER_EXE}" "%1"'
FunctionEnd

Function WriteUninstallEntry
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${SESSION_ICON}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; --- uninstaller -------------------------------------------------------------

Function un.onInit
  SetRegView ${REGVIEW}
  ; The all-users entry names this folder exactly when it was installed so.
  StrCpy $PerMachine ""
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 == $INSTDIR
    StrCpy $PerMachine 1
    Call un.RequireAdmin
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetRegView ${REGVIEW}
  Call un.WaitUntilNotInUse

  !include "${UNFILES_NSH}"
  RMDir /r "$INSTDIR\Resources"
  RMDir /r "$INSTDIR\security"
  Delete "$INSTDIR\${SESSION_ICON}"
  Delete "$INSTDIR\${ADMIN_PROPERTIES}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  Call un.RemoveAssociation
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} $PerMachine == 1
    DeleteRegValue HKLM "${REGISTRY_KEY}" "${MARKER_VALUE}"
    DeleteRegKey /ifempty HKLM "${REGISTRY_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Tavisto"
  ${EndIf}
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ${If} $PerMachine == 1
    DetailPrint "$(KeptUsersData)"
    MessageBox MB_OK|MB_ICONINFORMATION "$(KeptUsersData)" /SD IDOK
  ${Else}
    DetailPrint "$(KeptUserData)"
    MessageBox MB_OK|MB_ICONINFORMATION "$(KeptUserData)" /SD IDOK
  ${EndIf}
  SetAutoClose true
SectionEnd

; Removes the ".vca" registration where it still names this launcher; another
; program's registration of the extension is left alone.
Function un.RemoveAssociation
  DeleteRegKey SHCTX "Software\Classes\${SESSION_PROG_ID}"
  DeleteRegValue SHCTX "Software\Classes\${SESSION_EXTENSION}\OpenWithProgids" "${SESSION_PROG_ID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${SESSION_EXTENSION}\OpenWithProgids"
  ReadRegStr $0 SHCTX "Software\Classes\${SESSION_EXTENSION}" ""
  ${If} $0 == "${SESSION_PROG_ID}"
    DeleteRegValue SHCTX "Software\Classes\${SESSION_EXTENSION}" ""
    ReadRegStr $0 SHCTX "Software\Classes\${SESSION_EXTENSION}" "Content Type"
    ${If} $0 == "${SESSION_CONTENT_TYPE}"
      DeleteRegValue SHCTX "Software\Classes\${SESSION_EXTENSION}" "Content Type"
    ${EndIf}
  ${EndIf}
  DeleteRegKey /ifempty SHCTX "Software\Classes\${SESSION_EXTENSION}"
FunctionEnd
