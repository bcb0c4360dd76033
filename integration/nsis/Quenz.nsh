; Quenz.nsh: asks Quenz whether Dalmivorax is running, from an NSIS 3 installer or uninstaller,
; before they replace or remove its files.
;
;   !define QUENZ_EXE "path\to\Quenz.exe"  ; optional: where makensis finds Quenz.exe
;   !include "Quenz.nsh"
;
; By default the installer carries the Quenz.exe that runs wherever it runs: x86\Quenz.exe beside
; this file for an x86 target (which runs on 32-bit Windows too), Quenz.exe beside it for amd64.
;
;   ${QuenzCheck} DIR CODE_VAR TEXT_VAR
;       Runs Quenz once for DIR, the Java edition's installation directory, without a console
;       window. CODE_VAR gets 1 when an edition is running, 0 when none is, and "error" when
;       Quenz could not be run or gave no answer; TEXT_VAR gets Quenz's verdict line, or why
;       there is none.
;
;   ${QuenzWaitWhileRunning} DIR
;       Returns once no edition runs. While one does, a Retry/Cancel box asks the person to
;       close it; Cancel, silent mode (/S), and a Quenz that cannot run all end the installer
;       at once with exit code 2, before anything more is installed or removed.
;
; Both work in sections and functions, in the installer and the uninstaller, each of which
; carries its own copy of Quenz.exe and extracts it once per run to $PLUGINSDIR.
;
; Quenz reads its command line in the ANSI code page, where letters outside it would arrive
; changed: as "?", as a look-alike (Ł as L), or, for a fullwidth quotation mark, as a quote
; that ends the argument; and it cuts every path at 259 bytes, so past 244 bytes of folder it
; would probe a cut name, which nothing holds. So DIR, its final backslashes dropped, is passed
; as it is only when it converts exactly and takes at most 244 bytes; otherwise its short (8.3)
; form, when the folder exists and that form does the same; otherwise, for a folder that does
; not exist, Quenz checks the Windows edition alone (-nj), since the Java edition cannot be
; running from there; otherwise (an empty DIR included) the answer is "error", naming the folder.
;
; A Quenz that has not ended within QUENZ_TIMEOUT_MS (120000 by default) is ended and counts as
; no answer, never as "nothing runs". The box's texts are Portuguese, like Quenz's own; define
; any of QUENZ_TEXT_* before the !include to replace them, with a LangString's $(Name) where
; the installer speaks several languages. The macros print nothing into the compile log
; below the verbosity QUENZ_VERBOSE (3 by default). This file is UTF-8 with a byte-order mark, so that makensis reads
; the accented letters right whatever the build machine's code page.

!ifndef QUENZ_NSH_INCLUDED
!define QUENZ_NSH_INCLUDED
!verbose push
!verbose 3
!define /ifndef QUENZ_VERBOSE 3

!define __QUENZ_KIT "${__FILEDIR__}"
; How long to wait before asking again when Quenz said "running": see QuenzWaitWhileRunning.
!define /ifndef QUENZ_CONFIRM_PAUSE_MS 500
; How long Quenz may take to answer before it is ended.
!define /ifndef QUENZ_TIMEOUT_MS 120000

!define /ifndef QUENZ_TEXT_JAVA_RUNNING "O Dalmivorax Java está em execução."
!define /ifndef QUENZ_TEXT_WINDOWS_RUNNING "O Dalmivorax Windows está em execução."
!define /ifndef QUENZ_TEXT_CLOSE_IT "Feche-o e clique em Repetir para continuar, ou em Cancelar para sair sem alterar nada."
!define /ifndef QUENZ_TEXT_CANNOT_CHECK "Não foi possível verificar se o Dalmivorax está em execução, e nada foi alterado."
!define /ifndef QUENZ_TEXT_NOT_STARTED "O Quenz não pôde ser executado:"
!define /ifndef QUENZ_TEXT_NO_VERDICT "O Quenz não deu uma resposta válida; código de saída:"
!define /ifndef QUENZ_TEXT_TIMED_OUT "O Quenz não terminou a tempo e foi encerrado; milissegundos:"
!define /ifndef QUENZ_TEXT_UNREACHABLE_DIR "O Quenz não pode receber o nome desta pasta (letras fora da página de código ANSI, ou mais de 244 bytes), nem um nome curto (8.3) dela:"

; Quenz's verdict lines, byte for byte: the last line of every answer it gives.
!define __QUENZ_NONE "Nenhum Dalmivorax esta em execucao."
!define __QUENZ_JAVA "O Dalmivorax Java esta em execucao."
!define __QUENZ_WINDOWS "O Dalmivorax Windows esta em execucao."

!define QuenzCheck "!insertmacro QuenzCheck"
!define QuenzWaitWhileRunning "!insertmacro QuenzWaitWhileRunning"

; Variables are declared on first use, so that a script that includes this file without using
; a macro gets no warning about variables it never uses.
!macro __QuenzDeclareCheckVariables
  !ifndef __QUENZ_CHECK_VARIABLES
    !define __QUENZ_CHECK_VARIABLES
    Var /GLOBAL __QuenzDir
    Var /GLOBAL __QuenzExe
    Var /GLOBAL __QuenzExit
    Var /GLOBAL __QuenzOutput
    Var /GLOBAL __QuenzTail
    Var /GLOBAL __QuenzCode
    Var /GLOBAL __QuenzText
    Var /GLOBAL __QuenzArgument
    Var /GLOBAL __QuenzProcess
    Var /GLOBAL __QuenzSnapshot
    Var /GLOBAL __QuenzEntry
    Var /GLOBAL __QuenzCodePage
    Var /GLOBAL __QuenzUsed
    Var /GLOBAL __QuenzFolder
  !endif
!macroend

; Jumps to LABEL when TEXT reaches Quenz as it is: it converts to the ANSI code page
; $__QuenzCodePage exactly, no letter replaced by "?" and none by a look-alike, and takes at most
; 244 bytes there, so that Quenz, which cuts every path at 259, probes TEXT\Dalmivorax.jar whole.
; TEXT goes on the System plug-in's stack, never into its call string, where a folder name's
; quotes, commas or parentheses would be read as syntax.
!macro __QuenzJumpIfFits TEXT LABEL
  !define __QUENZ_F ${__COUNTER__}
  Push `${TEXT}`
  StrCmpS $__QuenzCodePage 65001 __QuenzUtf8${__QUENZ_F}
  ; 0x400 is WC_NO_BEST_FIT_CHARS; the return value comes off the stack first.
  System::Call "kernel32::WideCharToMultiByte(i $__QuenzCodePage, i 0x400, w s, i -1, p 0, i 0, p 0, *i 1 s) i .s"
  Pop $__QuenzTail
  Pop $__QuenzUsed
  Goto __QuenzCounted${__QUENZ_F}
  __QuenzUtf8${__QUENZ_F}:
  ; Windows' "Use Unicode UTF-8" setting: every letter has a form there, and the call takes no
  ; flag but WC_ERR_INVALID_CHARS (0x80) and no used-default flag, failing with any other.
  System::Call "kernel32::WideCharToMultiByte(i 65001, i 0x80, w s, i -1, p 0, i 0, p 0, p 0) i .s"
  Pop $__QuenzTail
  StrCpy $__QuenzUsed 0
  __QuenzCounted${__QUENZ_F}:
  ; The count includes the final NUL; 0 when the call failed.
  StrCmpS $__QuenzUsed "0" 0 __QuenzNoFit${__QUENZ_F}
  IntCmp $__QuenzTail 0 __QuenzNoFit${__QUENZ_F} __QuenzNoFit${__QUENZ_F}
  IntCmp $__QuenzTail 245 ${LABEL} ${LABEL}
  __QuenzNoFit${__QUENZ_F}:
  !undef __QUENZ_F
!macroend

; nsExec gives up on a program that prints nothing for its time-out, but leaves it running: ends
; it, and nothing else, by the marks that only it has here. Its program is this run's copy of
; Quenz, and its parent is this installer, or the helper that nsExec starts it through: a program
; in $PLUGINSDIR, which nsExec ends at the time-out, so that it may be gone already. A process
; whose program cannot be read is left alone, and so is one whose parent runs another program.
; A PROCESSENTRY32W is 556 bytes in a 32-bit process and 568 in a 64-bit one; the process ID
; lies at byte 8 in both, the parent's at byte 24 and 32.
!macro __QuenzEndLeftOver
  !define __QUENZ_E ${__COUNTER__}
  ; Windows names a process's program by its long path; $TEMP may be a short one. The path goes
  ; on the stack: a user's name in it may hold a quote.
  Push $__QuenzExe
  System::Call "kernel32::GetLongPathNameW(w s, w .s, i ${NSIS_MAX_STRLEN}) i .s"
  Pop $__QuenzTail
  Pop $__QuenzArgument
  IntCmp $__QuenzTail 0 __QuenzUnread${__QUENZ_E} __QuenzUnread${__QUENZ_E}
  ; $PLUGINSDIR\, as long.
  StrCpy $__QuenzFolder $__QuenzArgument -9
  System::Call "kernel32::GetCurrentProcessId() i .s"
  Pop $__QuenzUsed
  System::Call "kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .s"
  Pop $__QuenzSnapshot
  System::Alloc 568
  Pop $__QuenzEntry
  !if ${NSIS_PTR_SIZE} > 4
    System::Call "*$__QuenzEntry(i 568)"
  !else
    System::Call "*$__QuenzEntry(i 556)"
  !endif
  System::Call "kernel32::Process32FirstW(p $__QuenzSnapshot, p $__QuenzEntry) i .s"
  __QuenzLook${__QUENZ_E}:
  Pop $__QuenzTail
  StrCmpS $__QuenzTail "0" __QuenzLooked${__QUENZ_E}
  !if ${NSIS_PTR_SIZE} > 4
    System::Call "*$__QuenzEntry(i, i, i, i, i, i, i, i, i .s)"
  !else
    System::Call "*$__QuenzEntry(i, i, i, i, i, i, i .s)"
  !endif
  Pop $__QuenzTail
  StrCmpS $__QuenzTail $__QuenzUsed __QuenzOurs${__QUENZ_E}
  System::Call "kernel32::OpenProcess(i 0x1000, i 0, i $__QuenzTail) p .s"
  Pop $__QuenzProcess
  StrCmpS $__QuenzProcess "0" __QuenzOurs${__QUENZ_E}
  System::Call "kernel32::QueryFullProcessImageNameW(p $__QuenzProcess, i 0, w .s, *i ${NSIS_MAX_STRLEN}) i .s"
  Pop $__QuenzTail
  Pop $__QuenzOutput
  System::Call "kernel32::CloseHandle(p $__QuenzProcess)"
  StrCmpS $__QuenzTail "0" __QuenzNext${__QUENZ_E}
  StrLen $__QuenzTail $__QuenzFolder
  StrCpy $__QuenzOutput $__QuenzOutput $__QuenzTail
  StrCmp $__QuenzOutput $__QuenzFolder 0 __QuenzNext${__QUENZ_E}
  __QuenzOurs${__QUENZ_E}:
  System::Call "*$__QuenzEntry(&i8, i .s)"
  Pop $__QuenzTail
  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
  System::Call "kernel32::OpenProcess(i 0x101001, i 0, i $__QuenzTail) p .s"
  Pop $__QuenzProcess
  System::Call "kernel32::QueryFullProcessImageNameW(p $__QuenzProcess, i 0, w .s, *i ${NSIS_MAX_STRLEN}) i .s"
  Pop $__QuenzTail
  Pop $__QuenzOutput
  StrCmpS $__QuenzTail "0" __QuenzLeave${__QUENZ_E}
  StrCmp $__QuenzOutput $__QuenzArgument 0 __QuenzLeave${__QUENZ_E}
  System::Call "kernel32::TerminateProcess(p $__QuenzProcess, i 1)"
  ; So that $PLUGINSDIR, which holds its program, can go when the installer ends.
  System::Call "kernel32::WaitForSingleObject(p $__QuenzProcess, i 5000)"
  __QuenzLeave${__QUENZ_E}:
  System::Call "kernel32::CloseHandle(p $__QuenzProcess)"
  __QuenzNext${__QUENZ_E}:
  System::Call "kernel32::Process32NextW(p $__QuenzSnapshot, p $__QuenzEntry) i .s"
  Goto __QuenzLook${__QUENZ_E}
  __QuenzLooked${__QUENZ_E}:
  System::Free $__QuenzEntry
  System::Call "kernel32::CloseHandle(p $__QuenzSnapshot)"
  __QuenzUnread${__QUENZ_E}:
  !undef __QUENZ_E
!macroend

; Jumps to LABEL when Quenz's output ends with LINE and its line break.
!macro __QuenzJumpIfLastLine LINE LABEL
  StrLen $__QuenzTail "${LINE}$\r$\n"
  IntOp $__QuenzTail 0 - $__QuenzTail
  ; An output shorter than the line gives an empty tail.
  StrCpy $__QuenzTail $__QuenzOutput "" $__QuenzTail
  StrCmpS $__QuenzTail "${LINE}$\r$\n" ${LABEL}
!macroend

!macro QuenzCheck DIR CODE_VAR TEXT_VAR
  !verbose push
  !verbose ${QUENZ_VERBOSE}
  !insertmacro __QuenzDeclareCheckVariables
  !define __QUENZ_C ${__COUNTER__}
  StrCpy $__QuenzDir `${DIR}`
  ; A backslash before the closing quote would escape it: "C:\Apps\" reaches Quenz as C:\Apps"
  ; followed by the rest of the command line. The directory means the same without it.
  __QuenzTrim${__QUENZ_C}:
  StrCpy $__QuenzTail $__QuenzDir 1 -1
  StrCmpS $__QuenzTail "\" 0 __QuenzTrimmed${__QUENZ_C}
  StrCpy $__QuenzDir $__QuenzDir -1
  Goto __QuenzTrim${__QUENZ_C}
  __QuenzTrimmed${__QUENZ_C}:

  ; An empty DIR names no folder: Quenz would check the current drive's root.
  StrCmpS $__QuenzDir "" __QuenzUnreachable${__QUENZ_C}
  !ifdef __QUENZ_TEST_CODE_PAGE ; as under another ANSI code page
    StrCpy $__QuenzCodePage ${__QUENZ_TEST_CODE_PAGE}
  !else
    System::Call "kernel32::GetACP() i .s"
    Pop $__QuenzCodePage
  !endif
  StrCpy $__QuenzArgument `"$__QuenzDir"`
  !insertmacro __QuenzJumpIfFits $__QuenzDir __QuenzReachable${__QUENZ_C}
  !ifndef __QUENZ_TEST_NO_SHORT_NAMES ; as on a volume without 8.3 names
    ; Empty when the folder does not exist.
    GetFullPathName /SHORT $__QuenzTail $__QuenzDir
    StrCpy $__QuenzArgument `"$__QuenzTail"`
    StrCmpS $__QuenzTail "" __QuenzNoShortName${__QUENZ_C}
    !insertmacro __QuenzJumpIfFits $__QuenzTail __QuenzReachable${__QUENZ_C}
    __QuenzNoShortName${__QUENZ_C}:
  !endif
  ; Missing only where the system can say so: a name of MAX_PATH letters or more may be beyond
  ; what it looks up, where long paths are not enabled.
  StrLen $__QuenzTail $__QuenzDir
  IntCmp $__QuenzTail 260 __QuenzUnreachable${__QUENZ_C} 0 __QuenzUnreachable${__QUENZ_C}
  StrCpy $__QuenzArgument "-nj"
  IfFileExists "$__QuenzDir\*.*" 0 __QuenzReachable${__QUENZ_C}
  __QuenzUnreachable${__QUENZ_C}:
  StrCpy $__QuenzCode "error"
  StrCpy $__QuenzText "${QUENZ_TEXT_UNREACHABLE_DIR} $__QuenzDir"
  Goto __QuenzDone${__QUENZ_C}
  __QuenzReachable${__QUENZ_C}:

  ; Once per run: every File would move the progress bar back, at each Retry.
  InitPluginsDir
  StrCpy $__QuenzExe "$PLUGINSDIR\Quenz.exe"
  IfFileExists $__QuenzExe __QuenzExtracted${__QUENZ_C}
  SetDetailsPrint none
  ; Decided here, after any Target instruction of the script.
  !ifdef QUENZ_EXE
    File "/oname=$__QuenzExe" "${QUENZ_EXE}"
  !else if ${NSIS_PTR_SIZE} > 4
    File "/oname=$__QuenzExe" "${__QUENZ_KIT}\Quenz.exe"
  !else
    File "/oname=$__QuenzExe" "${__QUENZ_KIT}\x86\Quenz.exe"
  !endif
  SetDetailsPrint lastused
  __QuenzExtracted${__QUENZ_C}:
  ; No console window; the answer is the exit code ("error" when it could not start, "timeout"
  ; when it printed nothing for QUENZ_TIMEOUT_MS and nsExec ended it) and the output, of which
  ; NSIS keeps the first NSIS_MAX_STRLEN - 1 characters: Quenz's answer without -v is a few
  ; hundred.
  nsExec::ExecToStack /TIMEOUT=${QUENZ_TIMEOUT_MS} `"$__QuenzExe" $__QuenzArgument`
  Pop $__QuenzExit
  Pop $__QuenzOutput

  StrCmpS $__QuenzExit "error" __QuenzNotStarted${__QUENZ_C}
  StrCmpS $__QuenzExit "timeout" __QuenzTimedOut${__QUENZ_C}
  StrCpy $__QuenzCode $__QuenzExit
  ; The exit code counts only with the verdict line that goes with it: anything else at
  ; QUENZ_EXE is no answer, however it ends.
  StrCmpS $__QuenzExit "0" 0 __QuenzRunning${__QUENZ_C}
  StrCpy $__QuenzText "${__QUENZ_NONE}"
  !insertmacro __QuenzJumpIfLastLine "${__QUENZ_NONE}" __QuenzDone${__QUENZ_C}
  Goto __QuenzNoVerdict${__QUENZ_C}
  __QuenzRunning${__QUENZ_C}:
  StrCmpS $__QuenzExit "1" 0 __QuenzNoVerdict${__QUENZ_C}
  StrCpy $__QuenzText "${__QUENZ_JAVA}"
  !insertmacro __QuenzJumpIfLastLine "${__QUENZ_JAVA}" __QuenzDone${__QUENZ_C}
  StrCpy $__QuenzText "${__QUENZ_WINDOWS}"
  !insertmacro __QuenzJumpIfLastLine "${__QUENZ_WINDOWS}" __QuenzDone${__QUENZ_C}
  __QuenzNoVerdict${__QUENZ_C}:
  StrCpy $__QuenzCode "error"
  StrCpy $__QuenzText "${QUENZ_TEXT_NO_VERDICT} $__QuenzExit"
  Goto __QuenzDone${__QUENZ_C}
  __QuenzTimedOut${__QUENZ_C}:
  !insertmacro __QuenzEndLeftOver
  StrCpy $__QuenzCode "error"
  StrCpy $__QuenzText "${QUENZ_TEXT_TIMED_OUT} ${QUENZ_TIMEOUT_MS}"
  Goto __QuenzDone${__QUENZ_C}
  __QuenzNotStarted${__QUENZ_C}:
  StrCpy $__QuenzCode "error"
  StrCpy $__QuenzText "${QUENZ_TEXT_NOT_STARTED} $__QuenzExe"
  __QuenzDone${__QUENZ_C}:
  StrCpy ${CODE_VAR} $__QuenzCode
  StrCpy ${TEXT_VAR} $__QuenzText
  !undef __QUENZ_C
  !verbose pop
!macroend

!macro QuenzWaitWhileRunning DIR
  !verbose push
  !verbose ${QUENZ_VERBOSE}
  !ifndef __QUENZ_WAIT_VARIABLES
    !define __QUENZ_WAIT_VARIABLES
    Var /GLOBAL __QuenzAnswer
    Var /GLOBAL __QuenzVerdict
    Var /GLOBAL __QuenzConfirming
  !endif
  !define __QUENZ_W ${__COUNTER__}
  StrCpy $__QuenzConfirming 0
  __QuenzAsk${__QUENZ_W}:
  !insertmacro QuenzCheck `${DIR}` $__QuenzAnswer $__QuenzVerdict
  StrCmpS $__QuenzAnswer "0" __QuenzFree${__QUENZ_W}
  StrCmpS $__QuenzAnswer "1" 0 __QuenzCannotCheck${__QUENZ_W}
  ; Each check opens the main file exclusively for a moment, so another check of the same file
  ; at the same instant looks like a running edition. A running edition holds its file for
  ; longer: ask once more after a pause before believing it.
  StrCmpS $__QuenzConfirming 1 __QuenzConfirmed${__QUENZ_W}
  StrCpy $__QuenzConfirming 1
  Sleep ${QUENZ_CONFIRM_PAUSE_MS}
  Goto __QuenzAsk${__QUENZ_W}
  __QuenzConfirmed${__QUENZ_W}:
  StrCpy $__QuenzConfirming 0
  StrCmpS $__QuenzVerdict "${__QUENZ_JAVA}" 0 +3
  StrCpy $__QuenzVerdict "${QUENZ_TEXT_JAVA_RUNNING}"
  Goto +2
  StrCpy $__QuenzVerdict "${QUENZ_TEXT_WINDOWS_RUNNING}"
  DetailPrint $__QuenzVerdict
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION|MB_SETFOREGROUND \
    "$__QuenzVerdict$\r$\n$\r$\n${QUENZ_TEXT_CLOSE_IT}" /SD IDCANCEL IDRETRY __QuenzAsk${__QUENZ_W}
  Goto __QuenzQuit${__QUENZ_W}
  __QuenzCannotCheck${__QUENZ_W}:
  DetailPrint $__QuenzVerdict
  MessageBox MB_OK|MB_ICONSTOP "${QUENZ_TEXT_CANNOT_CHECK}$\r$\n$\r$\n$__QuenzVerdict" /SD IDOK
  __QuenzQuit${__QUENZ_W}:
  SetErrorLevel 2
  Quit
  __QuenzFree${__QUENZ_W}:
  !undef __QUENZ_W
  !verbose pop
!macroend

!verbose pop
!endif
