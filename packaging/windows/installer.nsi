; Setup program of Quelvar Edit Tool for Windows, made with makensis by build-packages.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=<version> -DRELEASE_DATE=<YYYY-MM-DD>
;            -DARCH=x86_64|i686 -DEXE=... -DREADME=... -DKVD_ICON=... -DICONS=data/icons
;            -DOUTFILE=... installer.nsi
; The version and date come from RELEASES. Files are stored with their own times (which
; build-packages.sh sets to the commit's), so that the same input gives the same setup program.
; It installs for the current user only (no administrator rights, no UAC prompt): the program
; under the user's local programs folder, everything else under HKEY_CURRENT_USER.
; Options: /S installs silently; /ASSOCIATE makes the editor open .kvd files even when another
; program opens them now (otherwise it is only offered under "Open with" then).

Unicode true
!if "${ARCH}" == "x86_64"
    Target amd64-unicode
!else if "${ARCH}" == "i686"
    Target x86-unicode
!else
    !error "ARCH must be x86_64 or i686"
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Quelvar Edit Tool"
!define PUBLISHER "Quelvar"
!define EXE_NAME "quelvar-edit.exe"
!define PROGID "Quelvar.Template"
!define CLASSES "Software\Classes"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuelvarEditTool"
; SHCNE_ASSOCCHANGED, SHCNF_IDLIST
!define SHELL_NOTIFY "shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION} (${RELEASE_DATE}, ${ARCH})"
SetDateSave on

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

!define MUI_ICON "${ICONS}/quelvar-edit.ico"
!define MUI_UNICON "${ICONS}/quelvar-edit.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE_NAME}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; otherwise the user's display language chooses.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString SectionProgram ${LANG_ENGLISH} "Quelvar Edit Tool"
LangString SectionProgram ${LANG_JAPANESE} "Quelvar Edit Tool"
LangString SectionDefault ${LANG_ENGLISH} "Open .kvd files with a double-click"
LangString SectionDefault ${LANG_JAPANESE} ".kvd ファイルをダブルクリックで開く"
LangString TypeName ${LANG_ENGLISH} "Quelvar tag template"
LangString TypeName ${LANG_JAPANESE} "Quelvar タグ テンプレート"
LangString CloseProgram ${LANG_ENGLISH} "Quelvar Edit Tool is running. Close it and choose Retry."
LangString CloseProgram ${LANG_JAPANESE} "Quelvar Edit Tool が実行中です。終了してから [再試行] を選んでください。"
LangString Description ${LANG_ENGLISH} "Editor for the tag templates (.kvd) of the markup editor"
LangString Description ${LANG_JAPANESE} "マークアップ エディターのタグ テンプレート (.kvd) を編集します"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup (${ARCH})"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "© ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "Comments" "Released ${RELEASE_DATE}"

Section "$(SectionProgram)" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=${EXE_NAME}" "${EXE}"
    File "/oname=quelvar-kvd.ico" "${KVD_ICON}"
    File "/oname=README.txt" "${README}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE_NAME}" "" \
        "$INSTDIR\${EXE_NAME}" 0 "" "" "$(Description)"

    ; Our own file type, offered for .kvd without taking the extension from anyone.
    WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "$(TypeName)"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\quelvar-kvd.ico"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\${EXE_NAME}" "%1"'
    WriteRegStr HKCU "${CLASSES}\.kvd\OpenWithProgids" "${PROGID}" ""
    WriteRegStr HKCU "${CLASSES}\Applications\${EXE_NAME}" "FriendlyAppName" "${PRODUCT}"
    WriteRegStr HKCU "${CLASSES}\Applications\${EXE_NAME}\SupportedTypes" ".kvd" ""
    WriteRegStr HKCU "${CLASSES}\Applications\${EXE_NAME}\shell\open\command" "" \
        '"$INSTDIR\${EXE_NAME}" "%1"'

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(SectionDefault)" SectionDefault
    ; Remember whose .kvd it was in this user's classes, so that the uninstaller gives it back.
    ReadRegStr $0 HKCU "${CLASSES}\.kvd" ""
    ${If} $0 != "${PROGID}"
    ${AndIf} $0 != ""
        WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousKvdProgID" $0
    ${EndIf}
    WriteRegStr HKCU "${CLASSES}\.kvd" "" "${PROGID}"
SectionEnd

Section "-notify"
    System::Call "${SHELL_NOTIFY}"
SectionEnd

; Leaves in $0 the ProgID that opens .kvd files for this user now, "" when none does.
Function KvdOwner
    ReadRegStr $0 HKCU "Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.kvd\UserChoice" "ProgId"
    ${If} $0 == ""
        ReadRegStr $0 HKCU "${CLASSES}\.kvd" ""
    ${EndIf}
    ${If} $0 == ""
        ReadRegStr $0 HKLM "${CLASSES}\.kvd" ""
    ${EndIf}
FunctionEnd

; A running editor keeps its program file: ask for it to be closed (silently: give up, status 2).
!macro WaitForEditorClosed
    retry:
    FindWindow $0 "" "${PRODUCT}"
    ${If} $0 <> 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseProgram)" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Abort
    ${EndIf}
!macroend

Function .onInit
    !insertmacro WaitForEditorClosed
    ; .kvd opens with the editor when no other program claims it, or when asked for.
    Call KvdOwner
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/ASSOCIATE" $2
    ${IfNot} ${Errors}
    ${OrIf} $0 == ""
    ${OrIf} $0 == "${PROGID}"
        !insertmacro SelectSection ${SectionDefault}
    ${Else}
        !insertmacro UnselectSection ${SectionDefault}
    ${EndIf}
FunctionEnd

; Deletes HKCU\$0 if it holds neither keys nor values (DeleteRegKey /ifempty looks at keys only).
Function un.DeleteKeyIfEmpty
    EnumRegKey $1 HKCU $0 0
    EnumRegValue $2 HKCU $0 0
    ${If} $1 == ""
    ${AndIf} $2 == ""
        ClearErrors
        ReadRegStr $3 HKCU $0 ""
        ${If} ${Errors}
            DeleteRegKey HKCU $0
        ${EndIf}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro WaitForEditorClosed
FunctionEnd

Section "Uninstall"
    Delete "$INSTDIR\${EXE_NAME}"
    Delete "$INSTDIR\quelvar-kvd.ico"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; The per-user programs folder, if the editor was its only program.
    RMDir "$LOCALAPPDATA\Programs"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    ; .kvd goes back to the program that had it, if it still names ours.
    ReadRegStr $0 HKCU "${CLASSES}\.kvd" ""
    ${If} $0 == "${PROGID}"
        ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousKvdProgID"
        ${If} $1 != ""
            WriteRegStr HKCU "${CLASSES}\.kvd" "" $1
        ${Else}
            DeleteRegValue HKCU "${CLASSES}\.kvd" ""
        ${EndIf}
    ${EndIf}
    DeleteRegValue HKCU "${CLASSES}\.kvd\OpenWithProgids" "${PROGID}"
    StrCpy $0 "${CLASSES}\.kvd\OpenWithProgids"
    Call un.DeleteKeyIfEmpty
    StrCpy $0 "${CLASSES}\.kvd"
    Call un.DeleteKeyIfEmpty
    DeleteRegKey HKCU "${CLASSES}\${PROGID}"
    DeleteRegKey HKCU "${CLASSES}\Applications\${EXE_NAME}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Containers the install may have been the first to make.
    StrCpy $0 "${CLASSES}\Applications"
    Call un.DeleteKeyIfEmpty
    StrCpy $0 "Software\Microsoft\Windows\CurrentVersion\Uninstall"
    Call un.DeleteKeyIfEmpty
    System::Call "${SHELL_NOTIFY}"
SectionEnd
