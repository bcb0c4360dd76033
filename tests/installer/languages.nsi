; An installer in two languages, as an author writes one: Quenz.nsh's texts are LangStrings, and
; the language is the one given as /LANG=1033 or /LANG=1046 (Portuguese when none is).
!include "FileFunc.nsh"
!define QUENZ_TEXT_JAVA_RUNNING "$(QuenzJavaRunning)"
!define QUENZ_TEXT_WINDOWS_RUNNING "$(QuenzWindowsRunning)"
!define QUENZ_TEXT_CLOSE_IT "$(QuenzCloseIt)"
!include "Quenz.nsh"

Name "Quenz languages"
OutFile "${OUTFILE}"
RequestExecutionLevel user
AutoCloseWindow true
Page instfiles
LoadLanguageFile "${NSISDIR}\Contrib\Language files\PortugueseBR.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LangString QuenzJavaRunning ${LANG_PORTUGUESEBR} "O Dalmivorax Java está aberto."
LangString QuenzJavaRunning ${LANG_ENGLISH} "Dalmivorax (Java edition) is running."
LangString QuenzWindowsRunning ${LANG_PORTUGUESEBR} "O Dalmivorax Windows está aberto."
LangString QuenzWindowsRunning ${LANG_ENGLISH} "Dalmivorax (Windows edition) is running."
LangString QuenzCloseIt ${LANG_PORTUGUESEBR} "Feche-o e clique em Repetir."
LangString QuenzCloseIt ${LANG_ENGLISH} "Close it and click Retry."

Function .onInit
  ${GetParameters} $0
  ${GetOptions} $0 "/LANG=" $1
  StrCmp $1 "" +2
  StrCpy $LANGUAGE $1
  ${QuenzWaitWhileRunning} "$INSTDIR"
FunctionEnd

Section
SectionEnd
