; The setup program of Aerilon and its uninstaller (NSIS 3, ANSI, so that it
; runs on Windows 95 to XP and under Wine). It copies the package into the
; simulator's folder, records where it went, adds the add-on's entry to the
; scenery library with Sceneward.dll and clears other sceneries' objects
; out of its areas. Silent with /S; /D=FOLDER names the simulator's folder.
;
;   makensis -DVERSION=1.0.0 -DPACKAGE=<unpacked zip> -DOUTFILE=<setup.exe> setup.nsi

Unicode false
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef PACKAGE
  !error "PACKAGE (the unpacked zip's folder) is not defined"
!endif

!define ADDON_KEY "SOFTWARE\Vesk\Aerilon by Vesk\1.00"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Aerilon"
!define SIM_KEY "SOFTWARE\Microsoft\Microsoft Games\Flight Simulator\6.1"
!define DATA "$INSTDIR\Aerilon"

Name "Aerilon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "C:\Program Files\Microsoft Games\FS98"
; The simulator's own record of its folder, when it has one.
InstallDirRegKey HKLM "${SIM_KEY}" "EXE Path"

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Scegliete la cartella di Flight Simulator 98, quella che contiene WORLD.VIS."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Aerilon è installato. Avviate Flight Simulator 98: il menu Aerilon è nella barra dei menu. La guida è in Aerilon\LEGGIMI.TXT."
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Aerilon è stato rimosso. I vostri punteggi restano in ADV\RALLY\Rally.SCO."
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "Italian"

Var Status
Var EntryAdded

; The Italian words for a status of Sceneward.dll.
!macro StatusText status out
  ${Select} ${status}
    ${Case} 1
      StrCpy ${out} "La libreria degli scenari WORLD.VIS non si può aprire in lettura e scrittura."
    ${Case} 2
      StrCpy ${out} "WORLD.VIS non è una libreria degli scenari valida."
    ${Case} 3
      StrCpy ${out} "Non è stato possibile scrivere WORLD.VIS o un file degli scenari."
    ${Case} 4
      StrCpy ${out} "Il file Sceneward.DAT non si può aprire."
    ${Case} 5
      StrCpy ${out} "Il file Sceneward.DAT contiene un errore."
    ${Case} 6
      StrCpy ${out} "Memoria insufficiente."
    ${CaseElse}
      StrCpy ${out} "Errore sconosciuto (codice ${status})."
  ${EndSelect}
!macroend

; Takes out again what the section put in, after a failure.
Function RollBack
  ${If} $EntryAdded == 1
    System::Call '"${DATA}\Sceneward.dll"::VISEdit(t "$INSTDIR\WORLD.VIS", t "${DATA}\Sceneward.DAT", t "${DATA}\Scenery", i 1) i .r0 ?u'
  ${EndIf}
  Delete "$INSTDIR\Modules\RALLY.DLL"
  Delete "$INSTDIR\ADV\RALLY\Rally.DAT"
  Delete "$INSTDIR\ADV\RALLY\*.wav"
  RMDir "$INSTDIR\ADV\RALLY"
  RMDir "$INSTDIR\ADV"
  Delete "${DATA}\Sceneward.dll"
  Delete "${DATA}\Sceneward.DAT"
  Delete "${DATA}\LEGGIMI.TXT"
  Delete "${DATA}\Disinstalla.exe"
  RMDir "${DATA}\Scenery"
  RMDir "${DATA}"
  DeleteRegKey HKLM "${ADDON_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Vesk\Aerilon by Vesk"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Vesk"
FunctionEnd

; Tells the failure, takes out what was put in, and stops with exit code
; 10 + the status.
!macro Fail message status
  MessageBox MB_OK|MB_ICONSTOP "${message}" /SD IDOK
  DetailPrint "${message}"
  Call RollBack
  SetErrorLevel ${status}
  Abort "${message}"
!macroend

Section "Aerilon"
  StrCpy $EntryAdded 0
  ${IfNot} ${FileExists} "$INSTDIR\WORLD.VIS"
    !insertmacro Fail "In $INSTDIR non c'è WORLD.VIS: non è la cartella di Flight Simulator 98. Installazione interrotta." 10
  ${EndIf}

  SetOutPath "$INSTDIR\Modules"
  File "${PACKAGE}\Modules\RALLY.DLL"
  SetOutPath "$INSTDIR\ADV\RALLY"
  File "${PACKAGE}\ADV\RALLY\Rally.DAT"
  File "${PACKAGE}\ADV\RALLY\*.wav"
  SetOutPath "${DATA}"
  File "${PACKAGE}\Aerilon\Sceneward.dll"
  File "${PACKAGE}\Aerilon\Sceneward.DAT"
  File "${PACKAGE}\LEGGIMI.TXT"
  CreateDirectory "${DATA}\Scenery"

  WriteRegStr HKLM "${ADDON_KEY}" "VIS_Path" "$INSTDIR"
  WriteRegStr HKLM "${ADDON_KEY}" "Data_Path" "${DATA}"

  System::Call '"${DATA}\Sceneward.dll"::VISEdit(t "$INSTDIR\WORLD.VIS", t "${DATA}\Sceneward.DAT", t "${DATA}\Scenery", i 0) i .r0 ?u'
  StrCpy $Status $0
  ${If} $Status != 0
    !insertmacro StatusText $Status $1
    IntOp $2 $Status + 10
    !insertmacro Fail "L'aggiunta di Aerilon a WORLD.VIS non è riuscita: $1 Installazione interrotta." $2
  ${EndIf}
  StrCpy $EntryAdded 1

  ; "=:\=" in a folder pattern stands for the simulator's folder.
  System::Call '"${DATA}\Sceneward.dll"::AreaKill(t "$INSTDIR\WORLD.VIS", t "${DATA}\Sceneward.DAT", t "$INSTDIR", i 0) i .r0 ?u'
  StrCpy $Status $0
  ${If} $Status != 0
    !insertmacro StatusText $Status $1
    IntOp $2 $Status + 10
    !insertmacro Fail "La pulizia delle aree di Aerilon negli scenari non è riuscita: $1 Installazione interrotta." $2
  ${EndIf}

  WriteUninstaller "${DATA}\Disinstalla.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Aerilon ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vesk"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${DATA}\Disinstalla.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${DATA}\Disinstalla.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The uninstaller lives in the data folder, one below the simulator's.
Function un.onInit
  StrCpy $INSTDIR "$INSTDIR\.."
  GetFullPathName $INSTDIR $INSTDIR
FunctionEnd

Section "Uninstall"
  ; The uninstall hook takes the entry out of WORLD.VIS, with the paths the
  ; registry holds; it tells its own failures and always lets us go on.
  System::Call 'kernel32::GetModuleHandleA(i 0) i .r1'
  System::Call '"${DATA}\Sceneward.dll"::UninstInitialize(i $HWNDPARENT, i r1, i 0) i .r0 ?u'

  Delete "$INSTDIR\Modules\RALLY.DLL"
  Delete "$INSTDIR\ADV\RALLY\Rally.DAT"
  Delete "$INSTDIR\ADV\RALLY\*.wav"
  ; Rally.SCO, the pilot's scores, stays; so do the folders it is in.
  RMDir "$INSTDIR\ADV\RALLY"
  RMDir "$INSTDIR\ADV"
  Delete "${DATA}\Sceneward.DAT"
  Delete "${DATA}\LEGGIMI.TXT"
  RMDir "${DATA}\Scenery"

  System::Call '"${DATA}\Sceneward.dll"::UninstUnInitialize(i $HWNDPARENT, i r1, i 0) i .r0 ?u'
  Delete "${DATA}\Sceneward.dll"
  Delete "${DATA}\Disinstalla.exe"
  RMDir "${DATA}"

  DeleteRegKey HKLM "${ADDON_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Vesk\Aerilon by Vesk"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Vesk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
