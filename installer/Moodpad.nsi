; Moodpad setup: a per-user installation that needs no administrator rights.
;
; The settings file lives beside the program and is written when the program closes, so the program
; goes into a folder the user owns: %LOCALAPPDATA%\Programs\Moodpad.
;
; scripts/package defines:
;   VERSION    program version, e.g. 1.32
;   DIST       folder holding the files that ship (build/dist)
;   FILES_NSH  generated include with the install and uninstall lists of DIST
;   OUTFILE    the setup program to write
;   ICON       (optional) the program's icon

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !error "VERSION is not defined (build with scripts/package)"
!endif
!ifndef DIST
  !error "DIST is not defined (build with scripts/package)"
!endif
!ifndef FILES_NSH
  !error "FILES_NSH is not defined (build with scripts/package)"
!endif
!include "${FILES_NSH}"

!ifndef OUTFILE
  !define OUTFILE "Moodpad-${VERSION}-setup.exe"
!endif

!define APPNAME "Moodpad"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Moodpad"
!define SETTINGS "MOODPAD.INI"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Moodpad"
InstallDirRegKey HKCU "${UNINSTKEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APPNAME} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Moodpad developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Moodpad developers"

!include "MUI2.nsh"
!include "LogicLib.nsh"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Moodpad.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Moodpad now"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running Moodpad holds its files open and writes its settings when it closes: ask it to close,
; and wait a little for it to go.
!macro CloseRunningMoodpad un
Function ${un}CloseRunningMoodpad
  StrCpy $1 0
  ${Do}
    FindWindow $0 "TMainForm" "Moodpad"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ${If} $1 == 0
      DetailPrint "Closing the running Moodpad..."
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 > 50
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
FunctionEnd
!macroend
!insertmacro CloseRunningMoodpad ""
!insertmacro CloseRunningMoodpad "un."

; The hook library can stay mapped into other programs for a while after Moodpad has removed its
; hooks: they let it go with a later message, some only when they end. Retry the delete for a
; moment, then move the file aside into the temporary folder (a mapped file can still be renamed),
; so that the program folder can go or the new version can be put in its place.
!macro DeleteWithRetry path
  StrCpy $2 0
  ${Do}
    Delete "${path}"
    ${IfNot} ${FileExists} "${path}"
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 > 12
      GetTempFileName $3
      Delete $3
      Rename "${path}" $3
      ${If} ${FileExists} "${path}"
        DetailPrint "Could not remove ${path}"
      ${EndIf}
      ${Break}
    ${EndIf}
    Sleep 250
  ${Loop}
!macroend

Section "Moodpad" SecProgram
  SectionIn RO
  Call CloseRunningMoodpad
  !insertmacro DeleteWithRetry "$INSTDIR\HookLib.dll"
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Moodpad.lnk" "$INSTDIR\Moodpad.exe" "" "$INSTDIR\Moodpad.exe" 0

  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "Publisher" "Moodpad developers"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\Moodpad.exe,0"
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "EstimatedSize" ${ESTIMATED_KB}
SectionEnd

Section /o "Start with Windows" SecStartup
  CreateShortCut "$SMSTARTUP\Moodpad.lnk" "$INSTDIR\Moodpad.exe" "" "$INSTDIR\Moodpad.exe" 0
SectionEnd

Section "Uninstall"
  Call un.CloseRunningMoodpad
  Delete "$SMPROGRAMS\Moodpad.lnk"
  Delete "$SMSTARTUP\Moodpad.lnk"

  ; The settings file holds the user's own buttons and options; ask before removing it, except in a
  ; silent uninstall, which removes everything it installed.
  ${If} ${FileExists} "$INSTDIR\${SETTINGS}"
    MessageBox MB_YESNO|MB_ICONQUESTION "Remove your Moodpad settings (${SETTINGS}) as well?" /SD IDYES IDNO keep_settings
    Delete "$INSTDIR\${SETTINGS}"
  keep_settings:
  ${EndIf}

  !insertmacro UninstallFiles
  Delete "$INSTDIR\Uninstall.exe"
  ; Only an empty folder is removed: pictures the user added stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTKEY}"
SectionEnd
