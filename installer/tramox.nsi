; TRAMOX driver installer, built on Linux with makensis:
;   makensis -DARCH=win32|win64 -DDRIVER=<TRAMOX.dll> -DSIMULATOR=<Tramox_Telescope.dll>
;            -DCLIENT=<tramox.exe> -DOUTFILE=<setup.exe> tramox.nsi
; Installs and registers TRAMOX.dll, creates the ASCOM profile registration key so that ASCOM
; choosers list the driver, and, on request, installs the simulated controller as the
; controller library (component "Simulated controller", or /SIMULATOR on the command line).
; The command-line client comes with it, with a Start-menu shortcut that starts the Alpaca
; server, and on request (component "Alpaca server at logon", or /LOGONSTART) one that starts
; it when a user logs on.
; Silent with /S. The uninstaller removes what the installer added.
Unicode true
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "x64.nsh"

!define PRODUCT "TRAMOX"
!define PROGID "TRAMOX.Telescope"
!define DRIVER_NAME "TRAMOX"
!define ASCOM_KEY "Software\ASCOM\Telescope Drivers\${PROGID}"
; One entry per bitness: both installers write to the 32-bit view and may be installed side by side.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}-${ARCH}"
!define STATE_KEY "Software\TRAMOX Setup"
!define SERVER_SHORTCUT "TRAMOX Alpaca server.lnk"

Name "${PRODUCT} ASCOM telescope driver (${ARCH})"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
VIProductVersion "2.1.0.2"
VIAddVersionKey /LANG=1036 "FileDescription" "Ascom driver for TRAMOX"
VIAddVersionKey /LANG=1036 "FileVersion" "2.1.0.2"
VIAddVersionKey /LANG=1036 "ProductVersion" "1.0.0.0"
VIAddVersionKey /LANG=1036 "LegalCopyright" "TRAMOX driver"

!if ${ARCH} == "win64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The driver, its registration and its ASCOM profile key; the ASCOM platform keeps its
; profile in the 32-bit registry view, where both builds of the driver look for it.
!macro NativeSystem
  !if ${ARCH} == "win64"
    ${DisableX64FSRedirection}
  !endif
!macroend
!macro RestoreSystem
  !if ${ARCH} == "win64"
    ${EnableX64FSRedirection}
  !endif
!macroend

Function .onInit
  !if ${ARCH} == "win64"
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP "This installer is for 64-bit Windows." /SD IDOK
      Abort
    ${EndIf}
  !endif
  SetRegView 32
  ${GetParameters} $0
  ; Sections by index (their names are defined further down): 1 the simulated controller,
  ; 2 the server at logon.
  ClearErrors
  ${GetOptions} $0 "/SIMULATOR" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/LOGONSTART" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection 2
  ${EndIf}
FunctionEnd

Section "TRAMOX driver (required)" SecDriver
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=TRAMOX.dll" "${DRIVER}"
  File "/oname=tramox.exe" "${CLIENT}"
  ; The server of the driver's own bitness, for every user: the way 64-bit programs and other
  ; machines reach the mount.
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${SERVER_SHORTCUT}" "$INSTDIR\tramox.exe" "serve"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; regsvr32 of the system's own bitness loads the DLL of either bitness.
  !insertmacro NativeSystem
  ExecWait '"$WINDIR\System32\regsvr32.exe" /s "$INSTDIR\TRAMOX.dll"' $0
  !insertmacro RestoreSystem
  ${If} $0 != 0
    MessageBox MB_ICONSTOP "TRAMOX.dll could not be registered (regsvr32 exit $0)." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  SetRegView 32
  ; Remember whether this installation made the ASCOM key: one that was already there (a
  ; profile kept by the ASCOM platform, a previous installation) is not ours to remove.
  ClearErrors
  EnumRegKey $1 HKLM "${ASCOM_KEY}" 0
  ${If} ${Errors}
    WriteRegDWORD HKLM "${STATE_KEY}" "AscomKeyCreated" 1
  ${EndIf}
  WriteRegStr HKLM "${ASCOM_KEY}" "" "${DRIVER_NAME}"
  WriteRegDWORD HKLM "${STATE_KEY}" "Installed${ARCH}" 1
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ASCOM telescope driver (${ARCH})"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "2.1.0.2"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The driver loads <Windows>\System32\Tramox_Telescope.dll; Windows sends a 32-bit driver to
; SysWOW64, which is where a 32-bit installer writes through the same name.
Section /o "Simulated controller" SecSimulator
  !insertmacro NativeSystem
  ${If} ${FileExists} "$WINDIR\System32\Tramox_Telescope.dll"
    DetailPrint "A controller library is already installed: left as it is."
  ${Else}
    SetOutPath "$WINDIR\System32"
    File "/oname=Tramox_Telescope.dll" "${SIMULATOR}"
    SetRegView 32
    WriteRegDWORD HKLM "${STATE_KEY}" "SimulatorInstalled${ARCH}" 1
  ${EndIf}
  !insertmacro RestoreSystem
  SetOutPath "$INSTDIR"
SectionEnd

Section /o "Alpaca server at logon" SecLogonStart
  SetShellVarContext all
  CreateShortCut "$SMSTARTUP\${SERVER_SHORTCUT}" "$INSTDIR\tramox.exe" "serve"
SectionEnd

Section "Uninstall"
  SetRegView 32
  !insertmacro NativeSystem
  ExecWait '"$WINDIR\System32\regsvr32.exe" /s /u "$INSTDIR\TRAMOX.dll"'
  ReadRegDWORD $0 HKLM "${STATE_KEY}" "SimulatorInstalled${ARCH}"
  ${If} $0 == 1
    Delete "$WINDIR\System32\Tramox_Telescope.dll"
  ${EndIf}
  !insertmacro RestoreSystem
  DeleteRegValue HKLM "${STATE_KEY}" "SimulatorInstalled${ARCH}"
  DeleteRegValue HKLM "${STATE_KEY}" "Installed${ARCH}"
  ; The driver of the other bitness may still be installed and listed through the same key.
  ReadRegDWORD $1 HKLM "${STATE_KEY}" "Installedwin32"
  ReadRegDWORD $2 HKLM "${STATE_KEY}" "Installedwin64"
  ${If} $1 != 1
  ${AndIf} $2 != 1
    ReadRegDWORD $3 HKLM "${STATE_KEY}" "AscomKeyCreated"
    ${If} $3 == 1
      DeleteRegKey HKLM "${ASCOM_KEY}"
      DeleteRegKey /ifempty HKLM "Software\ASCOM\Telescope Drivers"
      DeleteRegKey /ifempty HKLM "Software\ASCOM"
    ${EndIf}
    DeleteRegValue HKLM "${STATE_KEY}" "AscomKeyCreated"
  ${EndIf}
  DeleteRegKey /ifempty HKLM "${STATE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  SetShellVarContext all
  Delete "$SMSTARTUP\${SERVER_SHORTCUT}"
  Delete "$SMPROGRAMS\${PRODUCT}\${SERVER_SHORTCUT}"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\TRAMOX.dll"
  Delete "$INSTDIR\tramox.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
