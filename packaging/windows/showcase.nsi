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
;            -DICON=<packaging/icons/showcase.ico> -DOUTFILE=<setup.exe> showcase.nsi
; STAGE is the tree `cmake --install` lays out (showcase.exe, picture\, LICENSE.txt, README.txt);
; PICTURES is a file of lines `${Picture} "1.bmp"`, one per picture in STAGE\picture.

!macro Require NAME
  !ifndef ${NAME}
    !error "makensis needs -D${NAME}=... (see scripts/package-windows.sh)"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require STAGE
!insertmacro Require PICTURES
!insertmacro Require ICON
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

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Showcase"
; A new version goes where the last one went, unless /D= says otherwise.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

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

Function un.onInit
  !insertmacro RequireAdmin
FunctionEnd

; The finish page's "Start the show now": from the install folder, as the shortcut does. (It runs
; with the installer's rights.)
Function StartShow
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\showcase.exe"'
FunctionEnd

!macro InstallPicture NAME
  File "${STAGE}/picture/${NAME}"
!macroend
!macro RemovePicture NAME
  Delete "$INSTDIR\picture\${NAME}"
!macroend

Section "-Showcase" SecShowcase
  SetOutPath "$INSTDIR"
  File "${STAGE}/showcase.exe"
  File "${STAGE}/LICENSE.txt"
  File "${STAGE}/README.txt"
  SetOutPath "$INSTDIR\picture"
  !define Picture "!insertmacro InstallPicture"
  !include "${PICTURES}"
  !undef Picture

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
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
; the all-users Startup folder runs "showcase.exe --kiosk" from the install folder whenever
; anyone signs in. Windows lists it in Task Manager's Startup tab, where it can be switched off.
!define KIOSK_SHORTCUT "$SMSTARTUP\${PRODUCT} show floor.lnk"
Section /o "Start the show in show-floor mode when Windows starts" SecKiosk
  SetOutPath "$INSTDIR"
  CreateShortcut "${KIOSK_SHORTCUT}" "$INSTDIR\showcase.exe" "--kiosk" "$INSTDIR\showcase.exe" 0 \
    SW_SHOWNORMAL "" "The show, full screen and unattended"
SectionEnd

; "setup.exe /S /KIOSK": the show-floor start, for a silent install.
Function ReadKioskSwitch
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KIOSK" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecKiosk} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "${KIOSK_SHORTCUT}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  !define Picture "!insertmacro RemovePicture"
  !include "${PICTURES}"
  !undef Picture
  RMDir "$INSTDIR\picture"
  Delete "$INSTDIR\showcase.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: anything the user put there stays, and so does the folder.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
