; Klimora's Windows installer: a per-machine install into Program Files, with
; a Start-menu shortcut and an entry among the installed programs. It takes /S
; for a silent install and replaces an earlier install first.
; makensis -DSTAGE=<folder holding install.nsh and uninstall.nsh> -DOUTFILE=<setup.exe>
Unicode true
; Debian's wine runs 64-bit programs only; the default stub is 32-bit.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Klimora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "Desinstalar.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
BrandingText "${PRODUCT} @KLIMORA_DISPLAY_VERSION@"

VIProductVersion "@PROJECT_VERSION_MAJOR@.@PROJECT_VERSION_MINOR@.0.@PROJECT_VERSION_PATCH@"
VIAddVersionKey /LANG=3082 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=3082 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=3082 "FileDescription" "Instalador de ${PRODUCT} @PROJECT_VERSION@"
VIAddVersionKey /LANG=3082 "FileVersion" "@KLIMORA_DISPLAY_VERSION@"
VIAddVersionKey /LANG=3082 "ProductVersion" "@KLIMORA_DISPLAY_VERSION@"
VIAddVersionKey /LANG=3082 "LegalCopyright" "Klimora"

!define MUI_ICON "@PROJECT_SOURCE_DIR@/packaging/icons/klimora.ico"
!define MUI_UNICON "@PROJECT_SOURCE_DIR@/packaging/icons/klimora.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Klimora.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${PRODUCT} necesita una versión de Windows de 64 bits." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "${PRODUCT}"
    ; An earlier version is removed first, so that none of its files outlive it.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
        ExecWait '"$0\${UNINSTALLER}" /S _?=$0'
        Delete "$0\${UNINSTALLER}"
        RMDir "$0"
    ${EndIf}

    !include "${STAGE}\install.nsh"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Klimora.exe" "" "$INSTDIR\Klimora.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "@KLIMORA_DISPLAY_VERSION@"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" @PROJECT_VERSION_MAJOR@
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" @PROJECT_VERSION_MINOR@
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://@KLIMORA_WEB_ADDRESS@/"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Klimora.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes only what the installer put there, never the folder's other files.
Section "Uninstall"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    !include "${STAGE}\uninstall.nsh"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
