; The installer of korvellink and tassinlink, built with makensis:
;
;   makensis -DVERSION=<x.y.z> -DFILES=<folder> -DICON=<program.ico> -DOUTFILE=<setup.exe> ruvolink.nsi
;
; FILES holds korvellink.exe, tassinlink.exe, pointlink.exe (the console
; program), proj.db (PROJ's database, which pointlink.exe finds beside
; itself) and README.txt. The installer works per user, without
; administrator rights: it copies the five files into one folder (by
; default %LOCALAPPDATA%\Programs\ruvolink), adds a Start-menu entry for
; each window program, and registers an uninstaller in the
; user's part of the registry. The uninstaller removes exactly that again.
; Its pages come in English and in Chinese.

Unicode true
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!ifndef VERSION
  !error "VERSION must be defined"
!endif
!ifndef FILES
  !error "FILES must be defined"
!endif
!ifndef ICON
  !error "ICON must be defined"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ruvolink"
!define PUBLISHER "Ruvoworks, Geodesy Lab"

Name "korvellink, tassinlink ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\ruvolink"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "korvellink, tassinlink ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "korvellink, tassinlink"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "korvellink, tassinlink ${VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}.0"

!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING
; The language chosen at installation is the uninstaller's too.
!define MUI_LANGDLL_REGISTRY_ROOT "HKCU"
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString KorvelDescription ${LANG_ENGLISH} "Korvel Total Station Communication Software"
LangString KorvelDescription ${LANG_SIMPCHINESE} "Korvel 全站仪通讯软件"
LangString TassinDescription ${LANG_ENGLISH} "Tassin Total Station Communication Software"
LangString TassinDescription ${LANG_SIMPCHINESE} "Tassin 全站仪通讯软件"

; Set when the installer made %LOCALAPPDATA%\Programs itself, so that the
; uninstaller takes it away again if nothing else has come to live there.
Var MadeProgramsFolder

Function .onInit
  SetShellVarContext current
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "korvellink, tassinlink"
  StrCpy $MadeProgramsFolder 0
  ${IfNot} ${FileExists} "$LOCALAPPDATA\Programs\*.*"
    StrCpy $MadeProgramsFolder 1
  ${EndIf}
  SetOutPath "$INSTDIR"
  ${IfNot} ${FileExists} "$LOCALAPPDATA\Programs\*.*"
    StrCpy $MadeProgramsFolder 0  ; installed elsewhere
  ${EndIf}

  File "${FILES}/korvellink.exe"
  File "${FILES}/tassinlink.exe"
  File "${FILES}/pointlink.exe"
  File "${FILES}/proj.db"
  File "${FILES}/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\korvellink.lnk" "$INSTDIR\korvellink.exe" "" "$INSTDIR\korvellink.exe" 0 \
    SW_SHOWNORMAL "" "$(KorvelDescription)"
  CreateShortcut "$SMPROGRAMS\tassinlink.lnk" "$INSTDIR\tassinlink.exe" "" "$INSTDIR\tassinlink.exe" 0 \
    SW_SHOWNORMAL "" "$(TassinDescription)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "korvellink, tassinlink ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvellink.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "MadeProgramsFolder" $MadeProgramsFolder
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\korvellink.lnk"
  Delete "$SMPROGRAMS\tassinlink.lnk"

  Delete "$INSTDIR\korvellink.exe"
  Delete "$INSTDIR\tassinlink.exe"
  Delete "$INSTDIR\pointlink.exe"
  Delete "$INSTDIR\proj.db"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"

  ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "MadeProgramsFolder"
  ${If} $0 == 1
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
