; The setup program of 青禾计算器 (made by makensis from the build, see
; packaging/CMakeLists.txt). It installs the calculator and its updater into
; "Program Files\青禾计算器" (or a folder the user chooses), records the
; installation under the Uninstall key, where the updater and the calculator
; read "DisplayVersion", and makes the Start-menu and desktop shortcuts.
; "/S" installs and uninstalls silently; "/D=folder" (last on the command
; line) chooses the folder without asking.
;
; The build defines:
;   VERSION    the product's version, such as 1.0.0.503
;   ARCH       x86 or amd64: which programs, "Program Files" and registry view
;   FILES_DIR  the folder that holds QingheCalc.exe, renew.exe and rules.xml
;   ICON       the program's icon
;   WIZARD_BITMAP  the picture of the welcome and finish pages (164 x 314)
;   OUT_FILE   the setup program to write
;   MARK       optional: " 开发版" for a development build, shown after the
;              version where the user reads it

Unicode true
ManifestDPIAware true

!ifndef VERSION | ARCH | FILES_DIR | ICON | WIZARD_BITMAP | OUT_FILE
  !error "VERSION, ARCH, FILES_DIR, ICON, WIZARD_BITMAP and OUT_FILE must be defined"
!endif

!ifndef MARK
  !define MARK ""
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "青禾计算器"
!define UPDATER_TITLE "青禾计算器升级程序"
!define PUBLISHER "青禾"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The message that makes the calculator's and the updater's windows quit.
!define QUIT_MESSAGE 1024

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
; The updater that later replaces these files runs as administrator too.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}${MARK}"
ShowInstDetails show
ShowUninstDetails show

!if ${ARCH} == amd64
  Target amd64-unicode
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  Target x86-unicode
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; Installing again offers the folder of the installation already there.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}${MARK}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "欢迎安装${PRODUCT} ${VERSION}${MARK}"
!define MUI_WELCOMEPAGE_TEXT "${PRODUCT}帮您计算商业贷款、公积金贷款、组合贷款和车贷的月供与利息，以及二手房交易的税费。$\r$\n$\r$\n安装前请关闭正在运行的${PRODUCT}。$\r$\n$\r$\n$_CLICK"

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

!define FOREIGN_FOLDER_TEXT "所选文件夹中已有其他文件。卸载时会删除整个程序文件夹，请选择一个空文件夹，或原来安装${PRODUCT}的文件夹。"
!define PERMISSIONS_TEXT "无法设置程序文件夹的访问权限，安装未进行。请换一个文件夹，或以管理员身份重新运行安装程序。"

; The program folder's permissions, as Program Files has them: the updater
; runs as administrator, so a folder any user may write (one chosen on a
; data drive inherits that drive's permissions) would let them replace its
; files or plant an update. Administrators and SYSTEM have full control,
; Users read and execute, all inherited by what the folder holds, and nothing
; is inherited from the drive. The groups are named by their well-known
; SIDs, the same in every language of Windows.
!define FOLDER_PERMISSIONS "/inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX"

; Both halves use the same registry view as the programs they install: the
; 32-bit updater reads the 32-bit view, the 64-bit one the 64-bit view.
!macro UseProgramView
  !if ${ARCH} == amd64
    SetRegView 64
  !endif
!macroend

; Asks every running calculator and updater window to quit (message 1024),
; so that their files can be replaced or removed, and waits up to ten seconds
; for them to go.
!macro QuitRunningFunction PREFIX
Function ${PREFIX}QuitRunning
  Push $0
  Push $1
  StrCpy $1 0
  again:
    FindWindow $0 "Ex_DirectUI" "${PRODUCT}"
    ${If} $0 == 0
      FindWindow $0 "Ex_DirectUI" "${UPDATER_TITLE}"
    ${EndIf}
    ${If} $0 != 0
    ${AndIf} $1 < 50
      SendMessage $0 ${QUIT_MESSAGE} 0 0 /TIMEOUT=2000
      Sleep 200
      IntOp $1 $1 + 1
      Goto again
    ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro QuitRunningFunction ""
!insertmacro QuitRunningFunction "un."

; The uninstaller removes the whole program folder, with the files that
; later updates added, so the folder must be new, empty or an earlier
; installation of ours: never "C:\" or a folder of other files. Leaves 1 in
; $0 when the folder may be used, else 0.
Function CheckFolder
  Push $1
  Push $2
  StrCpy $0 1
  ${IfNot} ${FileExists} "$INSTDIR\QingheCalc.exe"
  ${AndIf} ${FileExists} "$INSTDIR\*.*"
    FindFirst $1 $2 "$INSTDIR\*.*"
    ${DoWhile} $2 != ""
      ${If} $2 != "."
      ${AndIf} $2 != ".."
        StrCpy $0 0
        ${Break}
      ${EndIf}
      FindNext $1 $2
    ${Loop}
    FindClose $1
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

Function CheckFolderPage
  Call CheckFolder
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "${FOREIGN_FOLDER_TEXT}"
    Abort
  ${EndIf}
FunctionEnd

; Creates the program folder and gives it its permissions before any file
; goes in. When they cannot be set, the install stops with a message and
; removes the folder again if it made it empty.
Function SecureFolder
  CreateDirectory "$INSTDIR"
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" ${FOLDER_PERMISSIONS}'
  Pop $0
  ${If} $0 != 0
    DetailPrint "icacls: $0"
    RMDir "$INSTDIR"
    MessageBox MB_OK|MB_ICONSTOP "${PERMISSIONS_TEXT}" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
  !insertmacro UseProgramView

  ; A silent install has no folder page: check here too.
  Call CheckFolder
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "${FOREIGN_FOLDER_TEXT}" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  Call QuitRunning
  Call SecureFolder

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${FILES_DIR}\QingheCalc.exe"
  File "${FILES_DIR}\renew.exe"
  File "${FILES_DIR}\rules.xml"
  ; An update staged for an earlier version must not be installed over
  ; this one at the next start, nor an older updater moved into place.
  RMDir /r "$INSTDIR\update"
  Delete "$INSTDIR\renew.ex_"
  WriteUninstaller "$INSTDIR\uninst.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\QingheCalc.exe" "" "$INSTDIR\QingheCalc.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\卸载${PRODUCT}.lnk" "$INSTDIR\uninst.exe" "" "$INSTDIR\uninst.exe" 0
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\QingheCalc.exe" "" "$INSTDIR\QingheCalc.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QingheCalc.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In kilobytes, as "Programs and Features" shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro UseProgramView

  Call un.QuitRunning

  Delete "$DESKTOP\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\卸载${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The folder of the recorded installation holds only what the setup
  ; program and the updater put there (the setup program refuses a folder of
  ; other files), "update\" too: all of it goes. An uninstaller copied
  ; elsewhere removes only the files of ours it finds there.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    RMDir /r "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    Delete "$INSTDIR\QingheCalc.exe"
    Delete "$INSTDIR\renew.exe"
    Delete "$INSTDIR\renew.ex_"
    Delete "$INSTDIR\rules.xml"
    RMDir /r "$INSTDIR\update"
    Delete "$INSTDIR\uninst.exe"
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd
