; A minimal installer and uninstaller of Dalmivorax's Java edition, with Quenz.
; Put Quenz.exe, Quenz.nsh and the Dalmivorax.jar to install beside this file, then:
;   makensis example.nsi
Unicode true
!include "Quenz.nsh"

Name "Dalmivorax Java"
OutFile "DalmivoraxJava-setup.exe"
InstallDir "$PROGRAMFILES\Dalmivorax"
RequestExecutionLevel admin

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  ; Here, not in .onInit: only now is $INSTDIR the directory that will be written to.
  ${QuenzWaitWhileRunning} "$INSTDIR"
  SetOutPath "$INSTDIR"
  File "Dalmivorax.jar"
  ; The uninstaller cannot carry files: it runs this copy.
  File "${QUENZ_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  ${QuenzWaitWhileRunning} "$INSTDIR"
  Delete "$INSTDIR\Dalmivorax.jar"
  Delete "$INSTDIR\Quenz.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
