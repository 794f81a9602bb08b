; The Windows installer: showcase-<version>-win64-setup.exe, built by scripts/package-windows.sh.
;
; Why an NSIS installer rather than an MSI:
;  - makensis, with its 64-bit stubs and plug-ins, is in Debian's nsis package, so the installer
;    is made on the same Linux machine as the program, from Debian packages only. The MSI tool
;    in Debian, wixl, builds only a subset of WiX and has no user interface at all: no license
;    page, no choice of folder, no finish page with "start the show now".
;  - Ours is one folder of plain files, one shortcut and one uninstall key; nothing needs the
;    MSI machinery (repair, patches, advertised features, transactions).
;  - "setup.exe /S" and "uninstall.exe /S" are the silent switches IT departments know from
;    countless NSIS installers, the Apps & features entry carries QuietUninstallString, and
;    /D= picks the folder.
; What that gives up: Group Policy software installation deploys only MSI packages; deployment
; tools that run a command line take "setup.exe /S" as well.
;
; The build passes everything that changes with it:
;   makensis -DVERSION=1.0.0 -DSTAGE=<installed tree> -DPICTURES=<list of the pictures>
;            -DICON=<packaging/icons/showcase.ico> -DSHOW_CONTROL=<show-control.exe>
;            -DOUTFILE=<setup.exe> showcase.nsi
; STAGE is the tree `cmake --install` lays out (showcase.exe, picture\, LICENSE.txt, README.txt);
; PICTURES is a file of lines `${Picture} "1.bmp"`, one per picture in STAGE\picture;
; SHOW_CONTROL finds, closes and starts a running show (show_control.cpp), from $PLUGINSDIR.
;
; A show running from the install folder (on a show floor it always is) is closed before any file
; is touched: after asking in the interactive installer and uninstaller, without asking in a
; silent one. An upgrade writes the new files beside the old ones first and then swaps them in one
; by one; a file that cannot be replaced puts every old file back and fails: the old version
; still runs, or the new one does. Exit statuses (README.txt): 0 done, 1 cancelled, 2 failed with
; nothing changed, 740 not an administrator, 3010 done but a file goes at the next restart.

!macro Require NAME
  !ifndef ${NAME}
    !error "makensis needs -D${NAME}=... (see scripts/package-windows.sh)"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require STAGE
!insertmacro Require PICTURES
!insertmacro Require ICON
!insertmacro Require SHOW_CONTROL
!insertmacro Require OUTFILE

Unicode true
; The program is 64-bit only, so is its installer: native registry and Program Files, no
; redirection, and on a 32-bit Windows it does not start at all instead of installing a program
; that cannot run.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Showcase"
!define PUBLISHER "The showcase authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Showcase"
!define KIOSK_SHORTCUT "$SMSTARTUP\${PRODUCT} show floor.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Showcase"
; A new version goes where the last one went, unless /D= says otherwise.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start the show now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}. MIT License."
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "showcase-${VERSION}-win64-setup.exe"

; Installing for all users needs an administrator; say so rather than fail half-way.
!macro RequireAdmin
  SetShellVarContext all
  SetRegView 64
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    MessageBox MB_ICONSTOP "Installing or removing ${PRODUCT} for all users needs an administrator." /SD IDOK
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdmin
  Call ReadKioskSwitch
FunctionEnd

; A new file that could not be written (a full disk): the half-written new version goes, the old
; one was not touched.
Function .onInstFailed
  SetOutPath "$PLUGINSDIR"
  RMDir /r "$INSTDIR\~update"
  RMDir "$INSTDIR\~previous\picture"
  RMDir "$INSTDIR\~previous"
  RMDir "$INSTDIR\picture"
  RMDir "$INSTDIR"
FunctionEnd

Function un.onInit
  !insertmacro RequireAdmin
  ; A copy run with a wrong or missing _?= would take its own folder for the install folder.
  ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
    SetErrorLevel 2
    MessageBox MB_ICONSTOP "$INSTDIR holds no installed ${PRODUCT}; nothing was changed." /SD IDOK
    Quit
  ${EndIf}
FunctionEnd

; 1 once a running show has been closed; the silent installer then starts the new one.
Var ShowClosed

; Closes every show running from $INSTDIR, before a file there is touched; show-control tells
; it from any other program by the identity of its program file, and closes the watchdogs among
; them first, so none starts an old show again. The interactive installer asks
; first, and Cancel leaves everything as it was (status 1); a silent one does not ask. A show that
; cannot be ended fails the run (status 2) with nothing changed.
!macro CloseRunningShowFunction UN
Function ${UN}CloseRunningShow
  InitPluginsDir
  File "/oname=$PLUGINSDIR\show-control.exe" "${SHOW_CONTROL}"
  nsExec::ExecToStack '"$PLUGINSDIR\show-control.exe" find "$INSTDIR"'
  Pop $0
  Pop $1
  ${If} $0 != 1
    Return
  ${EndIf}
  DetailPrint "${PRODUCT} is running from $INSTDIR"
  MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION|MB_TOPMOST \
    "${PRODUCT} is running from $INSTDIR.$\n$\nIt has to be closed first. Click OK to close it now (it ends as if closed from Task Manager), or Cancel to leave it running and change nothing." \
    /SD IDOK IDOK close
  DetailPrint "Cancelled: the show keeps running, nothing was changed"
  SetErrorLevel 1
  Abort
close:
  nsExec::ExecToLog '"$PLUGINSDIR\show-control.exe" close "$INSTDIR" 5'
  Pop $0
  ${If} $0 != 0
    SetErrorLevel 2
    MessageBox MB_ICONSTOP "${PRODUCT} could not be closed. Nothing was changed; end it (Ctrl+Alt+Shift+Q, Task Manager or signing out) and try again." /SD IDOK
    Abort
  ${EndIf}
  StrCpy $ShowClosed 1
FunctionEnd
!macroend
!insertmacro CloseRunningShowFunction ""
!insertmacro CloseRunningShowFunction "un."

; The finish page's "Start the show now", and the silent upgrade's restart of a show it closed:
; through the signed-in user's own shell, so the show never runs as the installing account (an
; administrator, or the system account of a deployment tool). Where there is no such shell the
; show is not started: it comes back at the next sign-in (the show-floor start) or from the
; Start menu.
Function StartShow
  StrCpy $0 ""
  ${If} $ShowClosed == 1
  ${AndIf} ${FileExists} "${KIOSK_SHORTCUT}"
    StrCpy $0 "--watchdog --kiosk"
  ${EndIf}
  nsExec::ExecToLog '"$PLUGINSDIR\show-control.exe" start "$INSTDIR\showcase.exe" "$0" "$INSTDIR"'
  Pop $0
  ${If} $0 != 0
    DetailPrint "The show was not started: it comes back at the next sign-in (show-floor start) or from the Start menu"
    ${IfNot} ${Silent}
      MessageBox MB_ICONINFORMATION "Setup could not start the show as the signed-in user. Start it from the Start menu." /SD IDOK
    ${EndIf}
  ${EndIf}
FunctionEnd

; Every file the installer writes, as a path under $INSTDIR, for the steps below.
!macro ForEachFile STEP
  !insertmacro ${STEP} "showcase.exe"
  !insertmacro ${STEP} "LICENSE.txt"
  !insertmacro ${STEP} "README.txt"
  !insertmacro ${STEP} "uninstall.exe"
  !define Picture "!insertmacro ${STEP}Picture"
  !include "${PICTURES}"
  !undef Picture
!macroend

!macro PlacePicture NAME
  File "${STAGE}/picture/${NAME}"
!macroend

; The old file to ~previous (a file held open by another program refuses), the new one from
; ~update in its place.
!macro Swap FILE
  StrCpy $R9 "$INSTDIR\${FILE}"
  ${If} ${FileExists} "$INSTDIR\${FILE}"
    Rename "$INSTDIR\${FILE}" "$INSTDIR\~previous\${FILE}"
    IfErrors swap_failed
  ${EndIf}
  Rename "$INSTDIR\~update\${FILE}" "$INSTDIR\${FILE}"
  IfErrors swap_failed
!macroend
!macro SwapPicture NAME
  !insertmacro Swap "picture\${NAME}"
!macroend

; Undoes Swap: the old file back; a file new with this version removed; one not swapped yet left.
!macro SwapBack FILE
  ${If} ${FileExists} "$INSTDIR\~previous\${FILE}"
    Delete "$INSTDIR\${FILE}"
    Rename "$INSTDIR\~previous\${FILE}" "$INSTDIR\${FILE}"
  ${ElseIfNot} ${FileExists} "$INSTDIR\~update\${FILE}"
    Delete "$INSTDIR\${FILE}"
  ${EndIf}
!macroend
!macro SwapBackPicture NAME
  !insertmacro SwapBack "picture\${NAME}"
!macroend

!macro RemoveFile FILE
  Delete /REBOOTOK "$INSTDIR\${FILE}"
!macroend
!macro RemoveFilePicture NAME
  !insertmacro RemoveFile "picture\${NAME}"
!macroend

; A file that cannot be written fails the install instead of being skipped.
AllowSkipFiles off

Section "-Showcase" SecShowcase
  Call CloseRunningShow

  ; The new files beside the old ones first: a full disk or a write error changes nothing.
  RMDir /r "$INSTDIR\~update"
  RMDir /r "$INSTDIR\~previous"
  SetOutPath "$INSTDIR\~update"
  File "${STAGE}/showcase.exe"
  File "${STAGE}/LICENSE.txt"
  File "${STAGE}/README.txt"
  WriteUninstaller "$INSTDIR\~update\uninstall.exe"
  SetOutPath "$INSTDIR\~update\picture"
  !define Picture "!insertmacro PlacePicture"
  !include "${PICTURES}"
  !undef Picture

  CreateDirectory "$INSTDIR\~previous\picture"
  CreateDirectory "$INSTDIR\picture"
  ClearErrors
  !insertmacro ForEachFile Swap
  Goto swapped
swap_failed:
  SetOutPath "$PLUGINSDIR"  ; not in a folder that goes
  !insertmacro ForEachFile SwapBack
  RMDir /r "$INSTDIR\~update"
  RMDir /r "$INSTDIR\~previous"
  RMDir "$INSTDIR\picture"
  RMDir "$INSTDIR"
  DetailPrint "Could not replace $R9: another program has it open. Nothing was changed."
  SetErrorLevel 2
  MessageBox MB_ICONSTOP "Setup could not replace$\n$R9$\nbecause another program has it open.$\n$\nNothing was changed. Close that program and run Setup again." /SD IDOK
  Abort
swapped:
  SetOutPath "$INSTDIR"
  RMDir /r /REBOOTOK "$INSTDIR\~previous"
  RMDir "$INSTDIR\~update\picture"
  RMDir "$INSTDIR\~update"

  SetOutPath "$INSTDIR"
  ; The shortcut starts in the install folder (the SetOutPath above).
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\showcase.exe" "" "$INSTDIR\showcase.exe" 0 \
    SW_SHOWNORMAL "" "An animated 3D presentation of thirteen hand-held devices"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\showcase.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The show-floor start, off unless chosen on the components page or given as /KIOSK: a shortcut in
; the all-users Startup folder runs "showcase.exe --watchdog --kiosk" from the install folder
; whenever anyone signs in, so a show that crashes or hangs comes back by itself. Windows lists it
; in Task Manager's Startup tab, where it can be switched off. An upgrade keeps it as it was
; unless /KIOSK or /NOKIOSK says otherwise, and writes it anew.
Section /o "Start the show in show-floor mode when Windows starts" SecKiosk
  SetOutPath "$INSTDIR"
  CreateShortcut "${KIOSK_SHORTCUT}" "$INSTDIR\showcase.exe" "--watchdog --kiosk" "$INSTDIR\showcase.exe" 0 \
    SW_SHOWNORMAL "" "The show, full screen and unattended"
SectionEnd

Section "-Finish"
  ${IfNot} ${SectionIsSelected} ${SecKiosk}
    Delete "${KIOSK_SHORTCUT}"
  ${EndIf}
  ${If} $ShowClosed == 1
  ${AndIf} ${Silent}
    Call StartShow
  ${EndIf}
  ${If} ${RebootFlag}
    DetailPrint "Done; a file of the old version goes at the next restart"
    SetErrorLevel 3010 ; ERROR_SUCCESS_REBOOT_REQUIRED
  ${EndIf}
SectionEnd

; "setup.exe /S /KIOSK" or "/NOKIOSK": the show-floor start on or off; without either, as the
; installed version has it.
Function ReadKioskSwitch
  ${If} ${FileExists} "${KIOSK_SHORTCUT}"
    SectionSetFlags ${SecKiosk} ${SF_SELECTED}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KIOSK" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecKiosk} ${SF_SELECTED}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/NOKIOSK" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecKiosk} 0
  ${EndIf}
FunctionEnd

; A file still in use after the show is closed goes at the next restart (status 3010); then
; uninstall.exe and the Apps & features entry stay until that has happened, and running the
; uninstaller again after the restart finishes the job.
Section "Uninstall"
  Call un.CloseRunningShow
  Delete "${KIOSK_SHORTCUT}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !define Picture "!insertmacro RemoveFilePicture"
  !include "${PICTURES}"
  !undef Picture
  !insertmacro RemoveFile "showcase.exe"
  !insertmacro RemoveFile "LICENSE.txt"
  !insertmacro RemoveFile "README.txt"
  RMDir /REBOOTOK "$INSTDIR\picture"
  ; The show-floor watchdog's log of the user who uninstalls; other users' logs stay theirs.
  SetShellVarContext current
  Delete "$LOCALAPPDATA\showcase\watchdog.log"
  Delete "$LOCALAPPDATA\showcase\watchdog.log.old"
  RMDir "$LOCALAPPDATA\showcase"
  SetShellVarContext all
  ${If} ${RebootFlag}
    DetailPrint "Some files are in use: they go at the next restart; run the uninstaller again after it"
    SetErrorLevel 3010 ; ERROR_SUCCESS_REBOOT_REQUIRED
    Return
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: anything the user put there stays, and so does the folder.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
