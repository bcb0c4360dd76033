; An installer as an author would write one with the macros in .onInit, for the directory given
; with /D=. It writes what QuenzCheck answered, "CODE|TEXT", to <that directory>.answer, then
; waits while Dalmivorax runs, then installs nothing and closes by itself.
; A long second look, so that a test can let go of the jar between the two.
!define QUENZ_CONFIRM_PAUSE_MS 3000
!include "Quenz.nsh"

Name "Quenz checks"
OutFile "${OUTFILE}"
RequestExecutionLevel user
AutoCloseWindow true
Page instfiles

Function .onInit
  ; With a final backslash, which must not reach Quenz as an escaped quote.
  ${QuenzCheck} "$INSTDIR\" $0 $1
  FileOpen $2 "$INSTDIR.answer" w
  FileWrite $2 "$0|$1"
  FileClose $2
  ${QuenzWaitWhileRunning} "$INSTDIR"
FunctionEnd

Section
SectionEnd
