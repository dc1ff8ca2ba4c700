; Glimro's installer: a per-user install (no administrator rights) into the user's local
; programs folder, a Start-menu shortcut and an entry in the current user's Uninstall key.
; Built by `make installer`; makensis is given VERSION, EXE (the built glimro.exe), ICON and
; OUTFILE on its command line.
;
; Switches: /S installs silently (Glimro then runs resident and hidden, with autostart);
; /D=<folder> installs elsewhere. The uninstaller takes /S (albums are kept) and
; /REMOVEALBUMS (albums are removed without asking).
;
; The folder may be one the user already had (/D= and the folder page take any folder): the
; uninstaller deletes only the files this installer and the program make, by name.

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
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The running instance's message window.
!define INSTANCE_CLASS "GLIMRO_UpLoadManager_Class"

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
!define MUI_FINISHPAGE_TEXT "$(FinishText)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!include "languages.nsh"

Function .onInit
    !insertmacro ChooseStoredLanguage
FunctionEnd

Function un.onInit
    !insertmacro ChooseStoredLanguage
FunctionEnd

Section "Glimro" SecMain
    SetOutPath "$INSTDIR"
    ; A running Glimro holds its executable open. The new glimro.exe, unpacked first, ends any
    ; running instance with -d, which returns once the instance has gone. The start at the end
    ; registers autostart again.
    InitPluginsDir
    File "/oname=$PLUGINSDIR\glimro.exe" "${EXE}"
    ; What -d takes away, to give it back if the new copy cannot be put in place.
    ReadRegStr $R0 HKCU "${RUN_KEY}" "${PRODUCT}"
    FindWindow $R1 "${INSTANCE_CLASS}"
    ExecWait '"$PLUGINSDIR\glimro.exe" -d' $R2
    ; -d says when the instance did not end: its program must not be replaced under it.
    ${If} $R2 <> 0
        ${If} $R0 != ""
            WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" $R0
        ${EndIf}
        MessageBox MB_OK|MB_ICONSTOP "$(StillRunning)" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}

    ClearErrors
    SetOverwrite try
    File "${EXE}"
    SetOverwrite on
    ${If} ${Errors}
        Call RestorePrevious
        MessageBox MB_OK|MB_ICONSTOP "$(NotReplaced)" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
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

; The upgrade failed after -d: autostart as it was, and the previous copy running again.
Function RestorePrevious
    ${If} $R0 != ""
        WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" $R0
    ${EndIf}
    ${If} $R1 <> 0
    ${AndIf} ${FileExists} "$INSTDIR\glimro.exe"
        Exec '"$INSTDIR\glimro.exe" -s'
    ${EndIf}
FunctionEnd

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
    ; Ends the running instance (waiting until it has gone) and removes autostart; nothing is
    ; deleted from under an instance that did not end.
    ReadRegStr $R0 HKCU "${RUN_KEY}" "${PRODUCT}"
    StrCpy $R2 0
    ClearErrors
    ExecWait '"$INSTDIR\glimro.exe" -d' $R2
    ${If} ${Errors}
        StrCpy $R2 0 ; no program to ask: nothing of it runs from here
    ${EndIf}
    ${If} $R2 <> 0
        ${If} $R0 != ""
            WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" $R0
        ${EndIf}
        MessageBox MB_OK|MB_ICONSTOP "$(UninstallRunning)" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}

    Delete "$INSTDIR\glimro.exe"
    Delete "$INSTDIR\pod.jpg"
    Delete "$INSTDIR\~pod.jpg"
    Delete "$INSTDIR\pod.jpg.part"
    ; A picture for each monitor: the composed one, and one per monitor (up to eight).
    Delete "$INSTDIR\pod-all.jpg"
    Delete "$INSTDIR\~pod-all.jpg"
    ${ForEach} $R3 1 8 + 1
        Delete "$INSTDIR\pod-$R3.jpg"
        Delete "$INSTDIR\~pod-$R3.jpg"
        Delete "$INSTDIR\pod-net-$R3.jpg"
        Delete "$INSTDIR\~pod-net-$R3.jpg"
    ${Next}
    ; The picture with its caption on the desktop.
    Delete "$INSTDIR\pod-caption.jpg"
    Delete "$INSTDIR\~pod-caption.jpg"
    Delete "$INSTDIR\glimrolog.txt"
    ; What Glimro downloaded, kept for offline, and the reports of its crashes: these folders
    ; are Glimro's alone.
    RMDir /r "$LOCALAPPDATA\Glimro\Cache"
    RMDir /r "$LOCALAPPDATA\Glimro\Crashes"
    RMDir "$LOCALAPPDATA\Glimro"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; The albums live in the registry. Saved album sets in the albums folder are the user's
    ; own files (Glimro only reads them): they stay, and so does the folder that holds them.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEALBUMS" $1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepAlbums)" /SD IDYES IDYES keep
    ${EndIf}
    DeleteRegKey HKCU "${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKCU "SOFTWARE\Fenwaldstone"
keep:
    RMDir "$INSTDIR"
SectionEnd
