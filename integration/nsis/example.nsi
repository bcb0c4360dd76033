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
  ; In the first section: page callbacks do not run under /S, and only now is $INSTDIR the
  ; directory that will be written to.
  ${QuenzWaitWhileRunning} "$INSTDIR"
  SetOutPath "$INSTDIR"
  File "Dalmivorax.jar"
  WriteUninstaller "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  ${QuenzWaitWhileRunning} "$INSTDIR"
  Delete "$INSTDIR\Dalmivorax.jar"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
