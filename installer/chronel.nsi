; The installer of Sylvane Programmateur: one chronel.exe per machine, Start-menu shortcuts, an optional start
; with Windows and an uninstaller. The build passes VERSION, EXE (the chronel.exe to ship), ICON and OUTFILE,
; and SIGN, the signing command, when the release is signed.
; A running scheduler is never overwritten or killed: "chronel.exe /quit" asks it to save and end, and the
; scheduler starts again at the end when it ran before, also when the install or the uninstall stops short.
; The user's programmes (under each user's application data) and the settings key are never touched, by an
; upgrade or by the uninstaller.
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
; The box starts the scheduler through the desktop's shell, as the logged-on user (not with this installer's
; rights).
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Démarrer le Programmateur"
!define MUI_FINISHPAGE_RUN_FUNCTION StartSchedulerAsUser

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

Var WasRunning
Var InstalledFolder
; The folder whose chronel.exe is started again: the one that asked the scheduler to end, until the new one
; is in place.
Var SchedulerFolder

; Leaves 1 on the stack when a scheduler runs in this session (it holds its mutex until its process ends). A
; mutex that exists but may not be opened, made by a scheduler with other rights (elevated, another account),
; counts as running too.
!macro SchedulerRunning
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r9 ?e'
    Pop $8
    ${If} $9 P<> 0
        System::Call 'kernel32::CloseHandle(p r9)'
        Push 1
    ${ElseIf} $8 = 5 ; ERROR_ACCESS_DENIED
        Push 1
    ${Else}
        Push 0
    ${EndIf}
!macroend

; A scheduler that ran before and that this run ended starts again as the desktop's user, whatever the exit
; code, where the install or the uninstall stops before its end (which starts it again itself).
!macro StartAgainIfEnded
    ${If} $WasRunning == 1
        !insertmacro SchedulerRunning
        Pop $0
        ${If} $0 = 0
            !ifdef __UNINSTALL__
                Call un.StartSchedulerAsUser
            !else
                Call StartSchedulerAsUser
            !endif
        ${EndIf}
    ${EndIf}
!macroend

; Asks the running scheduler to save its programmes and end, and gives up (exit code 2) when it does not. Any
; copy of chronel.exe reaches the scheduler of this session: the installed one recorded in the uninstall entry
; asks (an upgrade into another folder finds none in $INSTDIR), else the one in $INSTDIR. Its answer "ended" is
; believed once the scheduler's mutex is gone: /quit cannot reach a scheduler of other rights, which runs on.
!macro QuitScheduler
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $1 "$0\chronel.exe"
    ${If} $0 == ""
    ${OrIfNot} ${FileExists} $1
        StrCpy $1 "$INSTDIR\chronel.exe"
    ${EndIf}
    ${If} ${FileExists} $1
        ${GetParent} $1 $SchedulerFolder
        ClearErrors
        ExecWait '"$1" /quit' $0
        ; A copy that does not run at all leaves the answer to the mutex.
        ${IfThen} ${Errors} ${|} StrCpy $0 0 ${|}
        ${If} $0 = 0
            StrCpy $2 0
            ${Do}
                !insertmacro SchedulerRunning
                Pop $0
                ${IfThen} $0 = 0 ${|} ${Break} ${|}
                IntOp $2 $2 + 1
                ${IfThen} $2 > 20 ${|} ${Break} ${|}
                Sleep 250
            ${Loop}
        ${EndIf}
        ${If} $0 != 0
            MessageBox MB_ICONSTOP|MB_OK "Le Programmateur en cours d'exécution ne s'est pas arrêté. Quittez-le, puis recommencez." /SD IDOK
            ; /quit may answer 1 for a scheduler that ended all the same (its end came after /quit gave up).
            !insertmacro StartAgainIfEnded
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}
!macroend

; Interfaces of the desktop's shell.
!define CLSID_ShellWindows "{9BA05972-F6A8-11CF-A442-00A0C90A8F39}"
!define IID_IShellWindows "{85CB6900-4D95-11CF-960C-0080C7F4EE85}"
!define IID_IServiceProvider "{6D5140C1-7436-11CE-8034-00AA006009FA}"
!define SID_STopLevelBrowser "{4C96BE40-915C-11CF-99D3-00AA004AE837}"
!define IID_IShellBrowser "{000214E2-0000-0000-C000-000000000046}"
!define IID_IDispatch "{00020400-0000-0000-C000-000000000046}"
!define IID_IShellFolderViewDual "{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}"
!define IID_IShellDispatch2 "{A4C6892C-3BA9-11D2-9DEA-00C04FB16162}"

; One step of the way to the desktop's shell, taken only while every step before it succeeded ($0 holds the
; last HRESULT); a step that gives no interface fails.
!macro ShellStep CALL OUT
    ${If} $0 = 0
        System::Call "${CALL} i.r0"
        ${If} $0 = 0
        ${AndIf} ${OUT} P= 0
            StrCpy $0 0x80004005 ; E_FAIL
        ${EndIf}
    ${EndIf}
!macroend

!macro ReleaseInterface REGISTER
    ${If} ${REGISTER} P<> 0
        System::Call "${REGISTER}->2()"
    ${EndIf}
!macroend

; Starts $SchedulerFolder\chronel.exe as the logged-on user, never with this installer's administrator token:
; the desktop's shell (Explorer, which runs as that user) is asked to open it, through the view of the desktop
; window. Where any step fails nothing is started: the autostart entry or the Start menu will start it.
; Registers: $1 the shell windows, $2 the desktop's window, $3 its services, $4 its browser, $5 its view, $6
; the view's background, $7 the folder view, $8 the shell's application object, $9 its IShellDispatch2.
!macro StartSchedulerAsUserFunction UN
Function ${UN}StartSchedulerAsUser
    System::Store "s"
    System::Call 'ole32::CoInitialize(p 0) i.R0'
    ; FindWindowSW's VARIANTs: the desktop (VT_I4, CSIDL_DESKTOP) and an empty root (VT_EMPTY).
    System::Call '*(i 3, i 0, i 0, i 0) p.R1'
    System::Call '*(i 0, i 0, i 0, i 0) p.R2'
    System::Call 'oleaut32::SysAllocString(w "$SchedulerFolder\chronel.exe") p.R3'
    System::Call 'oleaut32::SysAllocString(w "$SchedulerFolder") p.R4'
    System::Call 'oleaut32::SysAllocString(w "") p.R5'
    System::Call 'oleaut32::SysAllocString(w "open") p.R6'
    StrCpy $0 0
    StrCpy $1 0
    StrCpy $2 0
    StrCpy $3 0
    StrCpy $4 0
    StrCpy $5 0
    StrCpy $6 0
    StrCpy $7 0
    StrCpy $8 0
    StrCpy $9 0
    ; CLSCTX_ALL; SWC_DESKTOP 8, SWFO_NEEDDISPATCH 1; SVGIO_BACKGROUND 0.
    !insertmacro ShellStep "ole32::CoCreateInstance(g '${CLSID_ShellWindows}', p 0, i 0x17, g '${IID_IShellWindows}', *p .r1)" $1
    !insertmacro ShellStep "$1->15(p R1, p R2, i 8, *i .R7, i 1, *p .r2)" $2
    !insertmacro ShellStep "$2->0(g '${IID_IServiceProvider}', *p .r3)" $3
    !insertmacro ShellStep "$3->3(g '${SID_STopLevelBrowser}', g '${IID_IShellBrowser}', *p .r4)" $4
    !insertmacro ShellStep "$4->15(*p .r5)" $5
    !insertmacro ShellStep "$5->15(i 0, g '${IID_IDispatch}', *p .r6)" $6
    !insertmacro ShellStep "$6->0(g '${IID_IShellFolderViewDual}', *p .r7)" $7
    !insertmacro ShellStep "$7->7(*p .r8)" $8
    !insertmacro ShellStep "$8->0(g '${IID_IShellDispatch2}', *p .r9)" $9
    ; ShellExecute(file, args, folder, operation, show): the four VARIANTs go by value, 16 bytes each on this
    ; 32-bit stack (VT_BSTR 8 with its BSTR, VT_I4 3 with SW_SHOWNORMAL).
    ${If} $0 = 0
        System::Call "$9->31(p R3, i 8, i 0, p R5, i 0, i 8, i 0, p R4, i 0, i 8, i 0, p R6, i 0, i 3, i 0, i 1, i 0) i.r0"
    ${EndIf}
    ${If} $0 <> 0
        IntFmt $0 "0x%08X" $0
        DetailPrint "Le Programmateur n'a pas pu être démarré (erreur $0)."
    ${EndIf}
    !insertmacro ReleaseInterface $9
    !insertmacro ReleaseInterface $8
    !insertmacro ReleaseInterface $7
    !insertmacro ReleaseInterface $6
    !insertmacro ReleaseInterface $5
    !insertmacro ReleaseInterface $4
    !insertmacro ReleaseInterface $3
    !insertmacro ReleaseInterface $2
    !insertmacro ReleaseInterface $1
    System::Call 'oleaut32::SysFreeString(p R3)'
    System::Call 'oleaut32::SysFreeString(p R4)'
    System::Call 'oleaut32::SysFreeString(p R5)'
    System::Call 'oleaut32::SysFreeString(p R6)'
    System::Free $R1
    System::Free $R2
    ${If} $R0 >= 0
        System::Call 'ole32::CoUninitialize()'
    ${EndIf}
    System::Store "l"
FunctionEnd
!macroend
!insertmacro StartSchedulerAsUserFunction ""
!insertmacro StartSchedulerAsUserFunction "un."

Section "Sylvane Programmateur" SecProgram
    SectionIn RO
    SetShellVarContext all
    ReadRegStr $InstalledFolder HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $SchedulerFolder $INSTDIR
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
        !insertmacro StartAgainIfEnded
        SetErrorLevel 2
        Quit
    ${EndIf}
    StrCpy $SchedulerFolder $INSTDIR

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

    ; An upgrade into another folder leaves no second copy behind.
    ${If} $InstalledFolder != ""
    ${AndIf} $InstalledFolder != $INSTDIR
        Delete "$InstalledFolder\chronel.exe"
        Delete "$InstalledFolder\uninstall.exe"
        RMDir "$InstalledFolder"
        RMDir "$InstalledFolder\.."
    ${EndIf}
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
        Call StartSchedulerAsUser
    ${EndIf}
SectionEnd

; An install its user ends on a file that cannot be written (with pages, "Abandonner" in the box of the
; file) stops here.
Function .onInstFailed
    !insertmacro StartAgainIfEnded
FunctionEnd

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
    StrCpy $SchedulerFolder $INSTDIR
    !insertmacro SchedulerRunning
    Pop $WasRunning
    !insertmacro QuitScheduler
    ; A chronel.exe that cannot go (in use, by a scheduler in another session) keeps everything that starts,
    ; lists and removes it: the uninstall says it failed rather than leave the program behind unlisted.
    ClearErrors
    Delete "$INSTDIR\chronel.exe"
    ${If} ${Errors}
        MessageBox MB_ICONSTOP|MB_OK "Le Programmateur n'a pas pu être supprimé : il est encore utilisé, peut-être dans la session d'un autre utilisateur. Il reste installé ; quittez-le dans chaque session, puis recommencez." /SD IDOK
        !insertmacro StartAgainIfEnded
        SetErrorLevel 2
        Quit
    ${EndIf}
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

Function un.onUninstFailed
    !insertmacro StartAgainIfEnded
FunctionEnd
