; The board's per-user installer. tools/package/make_installer.sh writes generated.nsh beside the
; staged folder (the version, the main window's title, the file lists) and runs makensis on this.
;
; Per user and without administrator rights: the board writes diRaConfig.ini beside itself, which a
; 64-bit program may not do under Program Files. The install folder and the program's name are
; ASCII, because the board addresses its own folder through the ANSI code page.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${GENERATED}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PACKAGE_NAME}"
; The demo sounds this installer family added (and only those): removed again by the uninstaller.
!define DEMO_LOG "uninstall.dat"

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PACKAGE_NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${PRODUCT_VERSION}"

VIProductVersion "${PRODUCT_VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT_NAME} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${PRODUCT_VERSION}"

!define MUI_ICON "${PROGRAM_ICON}"
!define MUI_UNICON "${PROGRAM_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}.exe"
!define MUI_FINISHPAGE_RUN_TEXT "启动${PRODUCT_NAME}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

LangString BoardRunning ${LANG_SIMPCHINESE} "${PRODUCT_NAME}正在运行。请先关闭它，再点击“重试”。"
LangString FolderNotAnsi ${LANG_SIMPCHINESE} "安装路径中含有本系统无法用于程序目录的字符，请选择只含英文字母和数字的路径。"

; Waits until no board is running; in silent mode (or on Cancel) gives up with exit code 2.
!macro CLOSE_RUNNING_BOARD
  ${Do}
    FindWindow $0 "${BOARD_CLASS}" "${BOARD_TITLE}"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(BoardRunning)" /SD IDCANCEL IDCANCEL`
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${Loop}
!macroend

; Whether $INSTDIR can be written in the ANSI code page without loss: $0 = 1 when it can.
!macro INSTDIR_IS_ANSI
  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0x400, w "$INSTDIR", i -1, p 0, i 0, p 0, *i 0 r1) i .r0'
  ${If} $0 != 0
  ${AndIf} $1 == 0
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
!macroend

; Adds data\music\<name> unless a file of that name is there already (the user's own, or from an
; earlier install), and notes the names it added.
!macro DEMO_SOUND NAME
  ${IfNot} ${FileExists} "$INSTDIR\data\music\${NAME}"
    File "/oname=data\music\${NAME}" "${STAGE}\data\music\${NAME}"
    FileWriteUTF16LE $9 "${NAME}$\r$\n"
  ${EndIf}
!macroend

Function .onInit
  SetShellVarContext current
  !insertmacro CLOSE_RUNNING_BOARD
FunctionEnd

Function .onVerifyInstDir
  !insertmacro INSTDIR_IS_ANSI
  ${If} $0 != 1
    Abort
  ${EndIf}
FunctionEnd

Section "-board"
  !insertmacro INSTDIR_IS_ANSI
  ${If} $0 != 1
    MessageBox MB_OK|MB_ICONSTOP "$(FolderNotAnsi)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  !insertmacro CLOSE_RUNNING_BOARD

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File /r /x data "${STAGE}\*"
  CreateDirectory "$INSTDIR\data\music"
  FileOpen $9 "$INSTDIR\${DEMO_LOG}" a
  FileSeek $9 0 END
  !insertmacro DEMO_SOUNDS
  FileClose $9

  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${PRODUCT_NAME}.lnk" "$INSTDIR\${PROGRAM}.exe" "" "$INSTDIR\${PROGRAM}.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro CLOSE_RUNNING_BOARD
FunctionEnd

Section "-un.board"
  !insertmacro CLOSE_RUNNING_BOARD
  !insertmacro PROGRAM_FILES_REMOVE
  ; Only the demo sounds an install added; a sound the user put there stays.
  ClearErrors
  FileOpen $9 "$INSTDIR\${DEMO_LOG}" r
  ${IfNot} ${Errors}
    ${Do}
      ClearErrors
      FileReadUTF16LE $9 $1
      ${If} ${Errors}
        ${Break}
      ${EndIf}
      StrCpy $2 $1 2 -2
      ${If} $2 == "$\r$\n"
        StrCpy $1 $1 -2
      ${EndIf}
      ${If} $1 != ""
        Delete "$INSTDIR\data\music\$1"
      ${EndIf}
    ${Loop}
    FileClose $9
  ${EndIf}
  Delete "$INSTDIR\${DEMO_LOG}"
  Delete "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
SectionEnd

; Unticked by default: the settings and the user's sounds stay for a later install.
Section /o "un.同时删除设置（diRaConfig.ini）和音效文件夹 data\music" UserData
  Delete "$INSTDIR\diRaConfig.ini"
  RMDir /r "$INSTDIR\data\music"
  ; The board's own desktop shortcut goes with the setting that says it was made.
  Delete "$DESKTOP\${PROGRAM}.lnk"
SectionEnd

Section "-un.folders"
  RMDir "$INSTDIR\data\music"
  RMDir "$INSTDIR\data"
  RMDir "$INSTDIR"
SectionEnd
