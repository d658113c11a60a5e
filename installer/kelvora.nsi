; The Windows installer of Kelvora: puts the 32-bit Kelvora.exe and its help file into the 32-bit
; program files folder for all users, with a Start-menu shortcut and an uninstall entry.
; installer/CMakeLists.txt runs makensis with these defines, all taken from the program's resources:
;   VERSION       the version record's ProductVersion (3.00)
;   PUBLISHER     the version record's CompanyName;  COPYRIGHT  its LegalCopyright
;   PRODUCT_CODE  the string table's product code: the uninstall entry's key, whose DisplayIcon
;                 the program repairs at start-up
;   CLASS_NAME    the main window's class name, by which a running Kelvora is found
;   EXE, CHM      the files to install;  ICON  the program's icon;  OUTFILE  the installer to write

Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_CODE}"
!define UNINSTALLER "Uninstall.exe"

Name "Kelvora ${VERSION}"
OutFile "${OUTFILE}"
; $PROGRAMFILES is the 32-bit folder also on 64-bit Windows, and the registry writes of this 32-bit
; installer land in the 32-bit view, where the 32-bit program looks for its uninstall entry.
InstallDir "$PROGRAMFILES\Brisnel\Kelvora"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "Kelvora"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "Kelvora セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; Kelvora runs while its main window exists (also a copy started from elsewhere), or while the
; installed Kelvora.exe cannot be opened for writing (a copy run by another user). Replacing or
; deleting the running program would fail half-way, so the installer and the uninstaller stop first.
!macro KelvoraRunning UN
Function ${UN}KelvoraRunning
    Push $0
    Push $1
    StrCpy $1 0
    FindWindow $0 "${CLASS_NAME}"
    ${If} $0 <> 0
        StrCpy $1 1
    ${ElseIf} ${FileExists} "$INSTDIR\Kelvora.exe"
        ClearErrors
        FileOpen $0 "$INSTDIR\Kelvora.exe" a
        ${If} ${Errors}
            StrCpy $1 1
        ${Else}
            FileClose $0
        ${EndIf}
    ${EndIf}
    Pop $0
    Exch $1
FunctionEnd
!macroend
!insertmacro KelvoraRunning ""
!insertmacro KelvoraRunning "un."

!macro RefuseWhileRunning UN ACTION
    Call ${UN}KelvoraRunning
    Pop $0
    ${If} $0 = 1
        MessageBox MB_OK|MB_ICONSTOP "Kelvora が実行中です。$\r$\nKelvora を終了してから、もう一度${ACTION}を実行してください。" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

Function .onInit
    SetShellVarContext all
    !insertmacro RefuseWhileRunning "" "セットアップ"
FunctionEnd

Section "Kelvora"
    ; Kelvora may have been started while the pages were shown.
    !insertmacro RefuseWhileRunning "" "セットアップ"
    SetOutPath "$INSTDIR"
    File "/oname=Kelvora.exe" "${EXE}"
    File "/oname=Kelvora.chm" "${CHM}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\Kelvora.lnk" "$INSTDIR\Kelvora.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kelvora"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kelvora.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    SetShellVarContext all
    !insertmacro RefuseWhileRunning "un." "アンインストール"
FunctionEnd

; The user's list (in the local application data folder) and settings (under HKEY_CURRENT_USER)
; stay, so that a later installation finds them.
Section "Uninstall"
    Delete "$INSTDIR\Kelvora.exe"
    Delete "$INSTDIR\Kelvora.chm"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    RMDir "$PROGRAMFILES\Brisnel"
    Delete "$SMPROGRAMS\Kelvora.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
