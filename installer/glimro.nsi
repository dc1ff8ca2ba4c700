; Glimro's installer: a per-user install (no administrator rights) into the user's local
; programs folder, a Start-menu shortcut and an entry in the current user's Uninstall key.
; Built by `make installer`; makensis is given VERSION, EXE (the built glimro.exe), ICON and
; OUTFILE on its command line.
;
; Switches: /S installs silently (Glimro then runs resident and hidden, with autostart);
; /D=<folder> installs elsewhere. The uninstaller takes /S (albums are kept) and
; /REMOVEALBUMS (albums are removed without asking).

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Glimro"
!define PUBLISHER "Fenwaldstone"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimro"
; Where the program keeps its albums and settings.
!define PRODUCT_KEY "SOFTWARE\Fenwaldstone\Glimro"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_TEXT "${PRODUCT} has been installed.$\r$\n$\r$\nWhen you click Finish, its Album Manager opens on a new album. From now on ${PRODUCT} starts when you sign in."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Section "Glimro" SecMain
    SetOutPath "$INSTDIR"
    ; A running Glimro holds its executable open. The new glimro.exe, unpacked first, ends any
    ; running instance with -d, which returns once the instance has gone. The start at the end
    ; registers autostart again.
    InitPluginsDir
    File "/oname=$PLUGINSDIR\glimro.exe" "${EXE}"
    ExecWait '"$PLUGINSDIR\glimro.exe" -d'

    File "${EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\glimro.exe" "" "$INSTDIR\glimro.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\glimro.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Once the installer has closed: -i opens the Album Manager on a new album; a silent install
; leaves Glimro resident and hidden. Both replace a running instance and register autostart.
Function .onInstSuccess
    ${If} ${Silent}
        Exec '"$INSTDIR\glimro.exe" -e'
    ${Else}
        Exec '"$INSTDIR\glimro.exe" -i'
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; Ends the running instance (waiting until it has gone) and removes autostart.
    ExecWait '"$INSTDIR\glimro.exe" -d'

    Delete "$INSTDIR\glimro.exe"
    Delete "$INSTDIR\pod.jpg"
    Delete "$INSTDIR\pod*.tmp"
    Delete "$INSTDIR\glimrolog.txt"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; The albums live in the registry; saved album sets in the albums folder.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEALBUMS" $1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION "Do you want to keep your albums? They are used again if you reinstall ${PRODUCT}." /SD IDYES IDYES keep
    ${EndIf}
    DeleteRegKey HKCU "${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKCU "SOFTWARE\Fenwaldstone"
    RMDir /r "$INSTDIR\albums"
keep:
    RMDir "$INSTDIR"
SectionEnd
