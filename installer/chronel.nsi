; The installer of Sylvane Programmateur: one chronel.exe per machine, Start-menu shortcuts, an optional start
; with Windows and an uninstaller. The build passes VERSION, EXE (the chronel.exe to ship), ICON and OUTFILE,
; and SIGN, the signing command, when the release is signed.
; A running scheduler is never overwritten or killed: "chronel.exe /quit" asks it to save and end, and the
; scheduler starts again at the end when it ran before. The user's programmes (under each user's application
; data) and the settings key are never touched, by an upgrade or by the uninstaller.
;
; Exit codes (silent mode too): 0 done, 1 cancelled by the user, 2 the running scheduler would not end or a
; file could not be written.

Unicode true
!ifdef SIGN
    ; The uninstaller is signed before it is packed (WriteUninstaller then writes those bytes), the setup
    ; program once it is written; a failed signing fails the build.
    !uninstfinalize '"${SIGN}" "%1"' = 0
    !finalize '"${SIGN}" "%1"' = 0
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Sylvane Programmateur"
!define PUBLISHER "Merovia"
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "SOFTWARE\Merovia\Sylvane Programs"
!define INSTANCE_MUTEX "Local\Merovia.Chronel.Scheduler"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES32\Merovia\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1036 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "© 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de ${PRODUCT}"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}.0"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\chronel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Démarrer le Programmateur"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Var WasRunning

; Leaves 1 on the stack when a scheduler runs in this session (it holds its mutex until its process ends).
!macro SchedulerRunning
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r9'
    ${If} $9 P<> 0
        System::Call 'kernel32::CloseHandle(p r9)'
        Push 1
    ${Else}
        Push 0
    ${EndIf}
!macroend

; Asks the running scheduler to save its programmes and end, and gives up (exit code 2) when it does not.
!macro QuitScheduler
    ${If} ${FileExists} "$INSTDIR\chronel.exe"
        ExecWait '"$INSTDIR\chronel.exe" /quit' $0
        ${If} $0 != 0
            MessageBox MB_ICONSTOP|MB_OK "Le Programmateur en cours d'exécution ne s'est pas arrêté. Quittez-le, puis recommencez." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}
!macroend

Section "Sylvane Programmateur" SecProgram
    SectionIn RO
    SetShellVarContext all
    !insertmacro SchedulerRunning
    Pop $WasRunning
    !insertmacro QuitScheduler

    SetOutPath "$INSTDIR"
    ClearErrors
    ; The build's file time is not packed: two builds of one commit give the same setup program.
    SetDateSave off
    File "/oname=chronel.exe" "${EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ${If} ${Errors}
        MessageBox MB_ICONSTOP|MB_OK "Impossible d'écrire dans $INSTDIR." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\chronel.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\Désinstaller ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\chronel.exe",0'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The same quoted value the program's activation switch writes.
Section "Démarrer avec Windows" SecAutostart
    WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\chronel.exe"'
SectionEnd

Section "-Finish"
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    ${EndIf}
    ; A scheduler that ran before the upgrade runs again; with pages, the finish page's box starts it.
    ${If} ${Silent}
    ${AndIf} $WasRunning == 1
        Exec '"$INSTDIR\chronel.exe"'
    ${EndIf}
SectionEnd

Function .onInit
    ; An upgrade keeps the user's choice: without the start with Windows before, none after.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        ClearErrors
        ReadRegStr $1 HKLM "${RUN_KEY}" "${PRODUCT}"
        ${If} ${Errors}
            !insertmacro UnselectSection ${SecAutostart}
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    !insertmacro QuitScheduler
    Delete "$INSTDIR\chronel.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$INSTDIR\.."
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Désinstaller ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    MessageBox MB_ICONINFORMATION|MB_OK "Vos programmes restent dans le dossier Merovia\Chronel des données d'application de chaque utilisateur, et vos réglages dans la clé HKLM\${SETTINGS_KEY} du registre." /SD IDOK
SectionEnd
