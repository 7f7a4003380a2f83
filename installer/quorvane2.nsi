; Quorvane 2 setup: a 64-bit, Unicode installer built with makensis.
;
; The build passes every input with -D (paths as the build machine sees them):
;   VERSION         "2.0.0"
;   OUTFILE         the setup program to write
;   QUORV2_EXE      Quorv2.exe          SHELL_DLL     QuorvShell.dll
;   QUORV_EXE       quorv.exe           CHM           quorv2.chm
;   README          README.md           LICENSE_FILE  LICENSE (also the licence page)
;   ID3LIB_COPYING  id3lib's COPYING    FAVORITES_NSH the generated favourites list
;   ICON            the setup's icon
;
; Silent use: Quorvane2-Setup.exe /S [/D=folder]   (the folder last, unquoted)
;             Uninstall.exe /S [/PURGE]           (/PURGE: remove the user's files too)

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"
!include "${FAVORITES_NSH}"

!define PRODUCT "Quorvane 2"
!define PUBLISHER "The Quorvane 2 developers"
!define PRODUCT_KEY "SOFTWARE\Quorvane 2"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane 2"
!define HANDLER_KEY "*\shellex\ContextMenuHandlers\Quorvane Shell"
!define STARTMENU "$SMPROGRAMS\Quorvane 2"
; Well-known SIDs, independent of the language of Windows: the local groups
; "Users" and "Administrators", and the system account.
!define USERS_SID "*S-1-5-32-545"
!define ADMINS_SID "*S-1-5-32-544"
!define SYSTEM_SID "*S-1-5-18"

; Keeps an installed file out of the users' write access that the folder
; grants: administrators and the system may change it, users read and run it.
!macro QuorvProtect name
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\${name}" /inheritance:r /grant:r ${SYSTEM_SID}:F ${ADMINS_SID}:F ${USERS_SID}:RX /C /Q'
  Pop $0
!macroend

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorvane 2"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_LICENSEPAGE_TEXT_TOP "The licence of Quorvane 2 and of the libraries it contains:"

!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var UserFilesFound

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Quorvane 2 needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ; An earlier installation is updated in its own folder (unless /D= says otherwise:
  ; /D= sets $INSTDIR before .onInit runs, and a folder the user gave is kept).
  ${If} $INSTDIR == "$PROGRAMFILES64\Quorvane 2"
    ReadRegStr $0 HKLM "${PRODUCT_KEY}" ""
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Quorvane 2" SecMain
  SectionIn RO
  SetRegView 64
  SetShellVarContext all

  SetOutPath "$INSTDIR"
  File "/oname=Quorv2.exe" "${QUORV2_EXE}"
  ; Explorer may hold the extension of an earlier installation: then it is
  ; replaced at the next restart.
  SetOverwrite try
  ClearErrors
  File "/oname=QuorvShell.dll" "${SHELL_DLL}"
  ${If} ${Errors}
    File "/oname=QuorvShell.dll.new" "${SHELL_DLL}"
    Rename /REBOOTOK "$INSTDIR\QuorvShell.dll.new" "$INSTDIR\QuorvShell.dll"
  ${EndIf}
  SetOverwrite on
  File "/oname=quorv.exe" "${QUORV_EXE}"
  File "/oname=quorv2.chm" "${CHM}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  File "/oname=COPYING.id3lib.txt" "${ID3LIB_COPYING}"

  SetOutPath "$INSTDIR\favorite"
  !insertmacro QuorvInstallFavorites
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The program keeps Quorv.cfg, the handoff file, the favourites, batch
  ; files and the error log beside itself, and the context menu of every
  ; user writes the handoff file there: every user of the computer may
  ; create and change files in the folder and its favorite folder (inherited
  ; by the files they create). The installed program files stay writable
  ; for administrators only, so that no user can replace them.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /grant ${USERS_SID}:(OI)(CI)M /C /Q'
  Pop $0
  DetailPrint "Write access for the users of this computer: icacls returned $0"
  !insertmacro QuorvProtect "Quorv2.exe"
  !insertmacro QuorvProtect "QuorvShell.dll"
  !insertmacro QuorvProtect "quorv.exe"
  !insertmacro QuorvProtect "Uninstall.exe"
  !insertmacro QuorvProtect "quorv2.chm"
  !insertmacro QuorvProtect "README.txt"
  !insertmacro QuorvProtect "LICENSE.txt"
  !insertmacro QuorvProtect "COPYING.id3lib.txt"

  ; The install folder, without a trailing backslash, for the context menu.
  StrCpy $0 "$INSTDIR"
  StrCpy $1 "$0" "" -1
  ${If} $1 == "\"
    StrCpy $0 "$0" -1
  ${EndIf}
  WriteRegStr HKLM "${PRODUCT_KEY}" "" "$0"

  CreateDirectory "${STARTMENU}"
  CreateShortcut "${STARTMENU}\Quorvane 2.lnk" "$INSTDIR\Quorv2.exe" "" "$INSTDIR\Quorv2.exe" 0
  CreateShortcut "${STARTMENU}\Quorvane 2 User Manual.lnk" "$INSTDIR\quorv2.chm"
  CreateShortcut "${STARTMENU}\Uninstall Quorvane 2.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorv2.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; ------------------------------------------------------------------ uninstall

Function un.onInit
  SetRegView 64
FunctionEnd

; Sets $UserFilesFound to 1 when the folder holds files of the user's own:
; the settings, the error log, rule files and batch files.
Function un.FindUserFiles
  StrCpy $UserFilesFound 0
  ${If} ${FileExists} "$INSTDIR\Quorv.cfg"
  ${OrIf} ${FileExists} "$INSTDIR\ErrorLog.txt"
  ${OrIf} ${FileExists} "$INSTDIR\*.qvb"
  ${OrIf} ${FileExists} "$INSTDIR\*.qvr"
  ${OrIf} ${FileExists} "$INSTDIR\favorite\*.qvr"
    StrCpy $UserFilesFound 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetRegView 64
  SetShellVarContext all

  ; The context menu entry, when it is registered from this folder.
  ReadRegStr $0 HKCR "${HANDLER_KEY}" ""
  ${If} $0 != ""
    ReadRegStr $1 HKCR "CLSID\$0\InprocServer32" ""
    ${If} $1 == "$INSTDIR\QuorvShell.dll"
    ${AndIf} ${FileExists} "$INSTDIR\QuorvShell.dll"
      ClearErrors
      UnRegDLL "$INSTDIR\QuorvShell.dll"
      ${If} ${Errors}
        DetailPrint "The context menu entry could not be removed."
      ${Else}
        DetailPrint "The context menu entry was removed."
      ${EndIf}
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\Quorv2.exe"
  Delete /REBOOTOK "$INSTDIR\QuorvShell.dll"
  Delete "$INSTDIR\quorv.exe"
  Delete "$INSTDIR\quorv2.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\COPYING.id3lib.txt"
  ; A handoff file that no program start has read yet, and those a start
  ; moved aside but could not delete.
  Delete "$INSTDIR\Quorv2.qv2"
  Delete "$INSTDIR\Quorv2.qv2.taken*"
  !insertmacro QuorvRemoveFavorites

  Delete "${STARTMENU}\Quorvane 2.lnk"
  Delete "${STARTMENU}\Quorvane 2 User Manual.lnk"
  Delete "${STARTMENU}\Uninstall Quorvane 2.lnk"
  RMDir "${STARTMENU}"

  DeleteRegKey HKLM "${PRODUCT_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; The user's own files stay unless the user agrees (or /PURGE asks) to remove them.
  Call un.FindUserFiles
  ${If} $UserFilesFound == 1
    StrCpy $2 0
    ${un.GetParameters} $3
    ClearErrors
    ${un.GetOptions} $3 "/PURGE" $4
    ${IfNot} ${Errors}
      StrCpy $2 1
    ${Else}
      MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "The folder $INSTDIR still holds your own files: the settings (Quorv.cfg), the error log, and rule files and batch files you saved there.$\r$\n$\r$\nRemove them as well?" \
        /SD IDNO IDNO keep
      StrCpy $2 1
      keep:
    ${EndIf}
    ${If} $2 == 1
      Delete "$INSTDIR\Quorv.cfg"
      Delete "$INSTDIR\ErrorLog.txt"
      Delete "$INSTDIR\*.qvb"
      Delete "$INSTDIR\*.qvr"
      Delete "$INSTDIR\favorite\*.qvr"
    ${EndIf}
  ${EndIf}

  ; Last, so that a script can wait for it to disappear.
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR\favorite"
  RMDir "$INSTDIR"
SectionEnd
