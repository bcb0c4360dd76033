; Quenz.iss: nothing is installed or removed while Dalmivorax runs, from an Inno Setup 6.3 (or
; later) script. Include it after the [Setup] section:
;
;   #define QuenzExe "path\to\Quenz.exe"   ; optional: by default x86\Quenz.exe beside this file,
;                                          ; which runs wherever Setup does
;   #include "Quenz.iss"
;
; It checks the Java edition's folder, QuenzDir ({app} unless defined before the include), at
; Setup's "Preparing to Install" step and, once the person has confirmed the removal, in the
; uninstaller, as Inno Setup's own AppMutex check does. Both by event attributes, so that the
; script's own event functions still run. While an edition runs, a box names it and offers Retry
; and Cancel; Cancel, or a silent run (/VERYSILENT /SUPPRESSMSGBOXES, where the box takes its
; default, Cancel), stops Setup with exit code 7 and the uninstaller with exit code 1, with
; nothing changed. So does a Quenz that cannot be extracted or run, gives no verdict, or has not
; ended within QuenzTimeoutMs milliseconds (120000 by default), which is then ended.
;
; QuenzCheck(Dir, Text) gives the script's own logic the answer: see it below.
;
; Setup installs a copy of Quenz.exe as {app}\Quenz.exe, since the uninstaller cannot extract
; files from Setup; the uninstaller removes it at its end. Without it the uninstaller refuses,
; as it cannot tell; running Setup again puts it back. With Uninstallable=no there is no copy.
; QuenzFileFlags, when defined, is added to the flags of Quenz's [Files] entries (signonce, say).
;
; Every text a person can see is a [CustomMessages] entry of this file, in Portuguese like
; Quenz's own lines: entries placed after this include replace them. An entry without a language
; prefix replaces a message for every language, .isl files included: define
; QuenzNoDefaultMessages before the include to leave this file's out, and give each language its
; own, in its .isl file or with its prefix. This file is UTF-8 with a byte-order mark, so that
; ISCC reads its accented letters right.

#ifndef QuenzIssIncluded
#define QuenzIssIncluded

#if Ver < EncodeVer(6, 3, 0)
  #error Quenz.iss needs Inno Setup 6.3 or later, whose ExecAndCaptureOutput reads Quenz's answer
#endif
#if SetupSetting("CreateAppDir") != "" && !IsDirSet("CreateAppDir")
  #error Quenz.iss checks the folder the application is installed in: with CreateAppDir=no, {app} is the Windows folder
#endif

#ifndef QuenzExe
  #define QuenzExe AddBackslash(ExtractFilePath(__PATHFILENAME__)) + "x86\Quenz.exe"
#endif
#ifndef QuenzDir
  #define QuenzDir "{app}"
#endif
#ifndef QuenzFileFlags
  #define QuenzFileFlags ""
#endif
; How long to wait before asking again when Quenz said "running".
#ifndef QuenzConfirmPauseMs
  #define QuenzConfirmPauseMs 500
#endif
; How long Quenz may take to answer before it is ended.
#ifndef QuenzTimeoutMs
  #define QuenzTimeoutMs 120000
#endif
#define QuenzUninstallable LowerCase(SetupSetting("Uninstallable"))

[Files]
; Setup's own copy, by a name no author's entry takes.
Source: "{#QuenzExe}"; DestDir: "{tmp}"; DestName: "QuenzIss-Quenz.exe"; Flags: dontcopy {#QuenzFileFlags}
#if QuenzUninstallable != "no" && QuenzUninstallable != "false" && QuenzUninstallable != "0"
Source: "{#QuenzExe}"; DestDir: "{app}"; DestName: "Quenz.exe"; Flags: ignoreversion {#QuenzFileFlags}
#endif

#ifndef QuenzNoDefaultMessages
[CustomMessages]
QuenzJavaRunning=O Dalmivorax Java está em execução.
QuenzWindowsRunning=O Dalmivorax Windows está em execução.
QuenzCloseIt=Feche-o e clique em Repetir para continuar, ou em Cancelar para sair sem alterar nada.
QuenzCannotCheck=Não foi possível verificar se o Dalmivorax está em execução, e nada foi alterado.
QuenzUnreachableDir=O Quenz não pode receber o nome desta pasta (letras fora da página de código ANSI, ou mais de 244 bytes), nem um nome curto (8.3) dela: %1
QuenzNotStarted=O Quenz não pôde ser executado: %1 (%2)
QuenzNoVerdict=O Quenz não deu uma resposta válida; código de saída: %1
QuenzTimedOut=O Quenz não terminou a tempo e foi encerrado; milissegundos: %1
#endif

[Code]
const
  // Quenz's verdict lines, byte for byte: the last line of every answer it gives.
  QuenzNone = 'Nenhum Dalmivorax esta em execucao.';
  QuenzJava = 'O Dalmivorax Java esta em execucao.';
  QuenzWindows = 'O Dalmivorax Windows esta em execucao.';
  QuenzNoBestFit = $400; // WC_NO_BEST_FIT_CHARS
  QuenzInvalidChars = $80; // WC_ERR_INVALID_CHARS
  QuenzUtf8 = 65001;
  // Quenz cuts every path at 259 bytes: past 244 bytes of folder, Dalmivorax.jar's name is cut.
  QuenzMostFolderBytes = 244;
  QuenzMaxPath = 260;
  // SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
  QuenzEndRights = $101001;

function QuenzGetACP: Cardinal;
  external 'GetACP@kernel32.dll stdcall';
function QuenzWideCharToMultiByte(CodePage, Flags: Cardinal; Text: String; TextLength: Integer;
  Buffer: Cardinal; BufferSize: Integer; DefaultChar: Cardinal; var UsedDefault: Integer): Integer;
  external 'WideCharToMultiByte@kernel32.dll stdcall';
// The same call without the used-default flag, which UTF-8 does not take.
function QuenzWideCharToUtf8(CodePage, Flags: Cardinal; Text: String; TextLength: Integer;
  Buffer: Cardinal; BufferSize: Integer; DefaultChar, UsedDefault: Cardinal): Integer;
  external 'WideCharToMultiByte@kernel32.dll stdcall';
function QuenzSetTimer(Window, Id, Elapse: Cardinal; Callback: Longword): Longword;
  external 'SetTimer@user32.dll stdcall';
function QuenzKillTimer(Window, Id: Longword): Integer;
  external 'KillTimer@user32.dll stdcall';
function QuenzProcessId: Cardinal;
  external 'GetCurrentProcessId@kernel32.dll stdcall';
function QuenzSnapshot(Flags, ProcessId: Cardinal): THandle;
  external 'CreateToolhelp32Snapshot@kernel32.dll stdcall';
function QuenzFirstProcess(Snapshot: THandle; Entry: String): Integer;
  external 'Process32FirstW@kernel32.dll stdcall';
function QuenzNextProcess(Snapshot: THandle; Entry: String): Integer;
  external 'Process32NextW@kernel32.dll stdcall';
function QuenzOpenProcess(Rights, Inherit, ProcessId: Cardinal): THandle;
  external 'OpenProcess@kernel32.dll stdcall';
function QuenzImageName(Process: THandle; Flags: Cardinal; Name: String; var Size: Cardinal): Integer;
  external 'QueryFullProcessImageNameW@kernel32.dll stdcall';
function QuenzLongPathName(Path, LongPath: String; Size: Cardinal): Cardinal;
  external 'GetLongPathNameW@kernel32.dll stdcall';
function QuenzTerminateProcess(Process: THandle; ExitCode: Cardinal): Integer;
  external 'TerminateProcess@kernel32.dll stdcall';
function QuenzWaitFor(Handle: THandle; Milliseconds: Cardinal): Cardinal;
  external 'WaitForSingleObject@kernel32.dll stdcall';
function QuenzCloseHandle(Handle: THandle): Integer;
  external 'CloseHandle@kernel32.dll stdcall';

var
  // The program of the Quenz that runs now, as given and as its long path; and whether its time
  // ran out.
  QuenzRunningExe, QuenzRunningLongExe: String;
  QuenzTimedOut: Boolean;

// Quenz reads its command line in the ANSI code page, where other letters would arrive changed:
// as "?", as a look-alike (Ł as L), or, for a fullwidth quotation mark, as a quote that ends the
// argument. True when every letter of Text converts exactly and it takes at most 244 bytes. Under
// Windows' "Use Unicode UTF-8" setting (65001) every letter has a form, and the call takes no
// flag but WC_ERR_INVALID_CHARS and no used-default flag: with any other it fails.
function QuenzFits(Text: String): Boolean;
var
  CodePage: Cardinal;
  Bytes, UsedDefault: Integer;
begin
#ifdef QuenzTestCodePage
  CodePage := {#QuenzTestCodePage}; // as under another ANSI code page
#else
  CodePage := QuenzGetACP;
#endif
  UsedDefault := 0;
  if CodePage = QuenzUtf8 then
    Bytes := QuenzWideCharToUtf8(CodePage, QuenzInvalidChars, Text, -1, 0, 0, 0, 0)
  else
    Bytes := QuenzWideCharToMultiByte(CodePage, QuenzNoBestFit, Text, -1, 0, 0, 0, UsedDefault);
  // The count includes the final NUL.
  Result := (Text <> '') and (Bytes > 0) and (Bytes - 1 <= QuenzMostFolderBytes)
    and (UsedDefault = 0);
end;

// What Quenz is given for Dir: the folder as it is, or its short (8.3) form, quoted; or -nj for
// a folder that does not exist, from which the Java edition cannot be running. False, with Why
// set, when none of these reaches Quenz intact.
function QuenzArgument(Dir: String; var Argument, Why: String): Boolean;
var
  ShortName: String;
begin
  // A backslash before the closing quote would escape it: "C:\Apps\" reaches Quenz as C:\Apps"
  // followed by the rest of the command line. The folder means the same without it.
  while (Length(Dir) > 0) and (Dir[Length(Dir)] = '\') do
    Delete(Dir, Length(Dir), 1);
  Argument := '"' + Dir + '"';
  Why := FmtMessage(CustomMessage('QuenzUnreachableDir'), [Dir]);
  Result := QuenzFits(Dir);
  if Result or (Dir = '') then
    Exit;
  if DirExists(Dir) then begin
    ShortName := GetShortName(Dir);
    Argument := '"' + ShortName + '"';
    Result := QuenzFits(ShortName);
  end else if Length(Dir) < QuenzMaxPath then begin
    // Missing only where the system can say so: a name of MAX_PATH letters or more may be
    // beyond what it looks up, where long paths are not enabled.
    Argument := '-nj';
    Result := True;
  end;
end;

// A DWORD of a PROCESSENTRY32W held in a String, at the character At.
function QuenzEntryField(Entry: String; At: Integer): Cardinal;
begin
  Result := Ord(Entry[At]) or (Ord(Entry[At + 1]) shl 16);
end;

// Ends the Quenz that runs too long, and nothing else, by the two marks that only it has here:
// its parent is this process, and its program is QuenzRunningExe. A process whose program cannot
// be read is left alone. The wait for it is bounded: a process stuck in I/O, on a dead network
// path say, may take long to go even then.
procedure QuenzEndRunning;
var
  Snapshot, Process: THandle;
  Entry, Image: String;
  ParentAt: Integer;
  Size: Cardinal;
  More: Boolean;
begin
  Snapshot := QuenzSnapshot(2, 0);
  // 556 bytes in a 32-bit Setup, the parent's ID at byte 24; 568 in a 64-bit one, at byte 32.
  // Chr would cut the size to a byte.
  Entry := StringOfChar(#0, 284);
  Entry[1] := #556;
  ParentAt := 13;
  More := QuenzFirstProcess(Snapshot, Entry) <> 0;
  if not More then begin
    Entry[1] := #568;
    ParentAt := 17;
    More := QuenzFirstProcess(Snapshot, Entry) <> 0;
  end;
  while More do begin
    if QuenzEntryField(Entry, ParentAt) = QuenzProcessId then begin
      Process := QuenzOpenProcess(QuenzEndRights, 0, QuenzEntryField(Entry, 5));
      Image := StringOfChar(#0, 1024);
      Size := 1024;
      if (Process <> 0) and (QuenzImageName(Process, 0, Image, Size) <> 0) then begin
        Image := Copy(Image, 1, Size);
        if (CompareText(Image, QuenzRunningExe) = 0) or
            (CompareText(Image, QuenzRunningLongExe) = 0) then begin
          QuenzTerminateProcess(Process, 1);
          QuenzWaitFor(Process, 5000);
        end;
      end;
      if Process <> 0 then
        QuenzCloseHandle(Process);
    end;
    More := QuenzNextProcess(Snapshot, Entry) <> 0;
  end;
  QuenzCloseHandle(Snapshot);
end;

// Setup handles its messages while ExecAndCaptureOutput waits, so this timer fires in the midst
// of the wait.
procedure QuenzTimeIsUp(Window, Message, Id, Time: Longword);
begin
  QuenzKillTimer(0, Id);
  QuenzTimedOut := True;
  QuenzEndRunning;
end;

// Runs Quenz once for Dir. Returns 0 when no edition runs, 1 when the Java edition runs, 2 when
// the Windows edition does, and -1 when Quenz gave no answer; Text gets the verdict line, or why
// there is none. The exit code counts only with the verdict line that goes with it.
function QuenzAsk(Exe, Dir: String; var Text: String): Integer;
var
  Argument, Verdict: String;
  ExitCode: Integer;
  Output: TExecOutput;
  Timer: Longword;
  Started: Boolean;
begin
  Result := -1;
  if not QuenzArgument(Dir, Argument, Text) then
    Exit;
  QuenzRunningExe := Exe;
  QuenzRunningLongExe := StringOfChar(#0, 1024);
  QuenzRunningLongExe := Copy(QuenzRunningLongExe, 1,
    QuenzLongPathName(Exe, QuenzRunningLongExe, 1024));
  QuenzTimedOut := False;
  // A Quenz that never ends is ended after QuenzTimeoutMs, from the timer.
  Timer := QuenzSetTimer(0, 0, {#QuenzTimeoutMs}, CreateCallback(@QuenzTimeIsUp));
  if Timer = 0 then begin
    Text := FmtMessage(CustomMessage('QuenzNotStarted'), [Exe, SysErrorMessage(DLLGetLastError)]);
    Exit;
  end;
  try
    try
      Started := ExecAndCaptureOutput(Exe, Argument, '', SW_HIDE, ewWaitUntilTerminated, ExitCode, Output);
    finally
      QuenzKillTimer(0, Timer);
    end;
  except
    Text := FmtMessage(CustomMessage('QuenzNotStarted'), [Exe, GetExceptionMessage]);
    Exit;
  end;
  if QuenzTimedOut then begin
    Text := FmtMessage(CustomMessage('QuenzTimedOut'), ['{#QuenzTimeoutMs}']);
    Exit;
  end;
  if not Started then begin
    Text := FmtMessage(CustomMessage('QuenzNotStarted'), [Exe, SysErrorMessage(ExitCode)]);
    Exit;
  end;
  Verdict := '';
  if GetArrayLength(Output.StdOut) > 0 then
    Verdict := Output.StdOut[GetArrayLength(Output.StdOut) - 1];
  Log('Quenz ' + Argument + ': ' + Verdict + ' (exit code ' + IntToStr(ExitCode) + ')');
  Text := Verdict;
  if (ExitCode = 0) and (Verdict = QuenzNone) then
    Result := 0
  else if (ExitCode = 1) and (Verdict = QuenzJava) then
    Result := 1
  else if (ExitCode = 1) and (Verdict = QuenzWindows) then
    Result := 2
  else
    Text := FmtMessage(CustomMessage('QuenzNoVerdict'), [IntToStr(ExitCode)]);
end;

// The Quenz this run asks: in Setup, a copy in Setup's temporary folder, which Setup removes; in
// the uninstaller, the one Setup installed. Empty, with Why set, when it cannot be had.
function QuenzProgram(var Why: String): String;
begin
  if IsUninstaller then begin
    Result := ExpandConstant('{app}\Quenz.exe');
    Exit;
  end;
  Result := ExpandConstant('{tmp}\QuenzIss-Quenz.exe');
  if FileExists(Result) then
    Exit;
  try
    ExtractTemporaryFile('QuenzIss-Quenz.exe');
  except
    Why := FmtMessage(CustomMessage('QuenzNotStarted'), [Result, GetExceptionMessage]);
    Result := '';
  end;
end;

// For the script's own logic, in Setup and in the uninstaller: runs Quenz once for Dir, the Java
// edition's folder, and asks nobody. Returns 0 when no edition runs, 1 when the Java edition
// does, 2 when the Windows edition does, and -1 when Quenz cannot tell; Text gets Quenz's
// verdict line, or why there is none.
function QuenzCheck(Dir: String; var Text: String): Integer;
var
  Exe: String;
begin
  Result := -1;
  Exe := QuenzProgram(Text);
  if Exe <> '' then
    Result := QuenzAsk(Exe, Dir, Text);
end;

// Returns '' once no edition runs. While one does, a box asks the person to close it, and
// Retry asks again; otherwise returns why nothing may change, with Asked telling whether the
// person saw that reason in the box. Each check opens the main file exclusively for a moment, so
// another check of the same file at the same instant looks like a running edition: "running" is
// believed only when a second check, after a pause, says it too.
function QuenzWaitWhileRunning(Dir: String; var Asked: Boolean): String;
var
  Answer: Integer;
  Confirming: Boolean;
  Text: String;
begin
  Confirming := False;
  while True do begin
    Asked := False;
    Answer := QuenzCheck(Dir, Text);
    if Answer = 0 then begin
      Result := '';
      Exit;
    end;
    if Answer < 0 then begin
      Log('Quenz cannot tell: ' + Text);
      Result := CustomMessage('QuenzCannotCheck') + #13#10#13#10 + Text;
      Exit;
    end;
    if not Confirming then begin
      Confirming := True;
      Sleep({#QuenzConfirmPauseMs});
    end else begin
      Confirming := False;
      if Answer = 1 then
        Result := CustomMessage('QuenzJavaRunning')
      else
        Result := CustomMessage('QuenzWindowsRunning');
      Log(Result);
      Asked := True;
      if SuppressibleMsgBox(Result + #13#10#13#10 + CustomMessage('QuenzCloseIt'), mbError,
          MB_RETRYCANCEL, IDCANCEL) <> IDRETRY then
        Exit;
    end;
  end;
end;

// Setup shows the text it returns: as the reason on its Preparing to Install page, or in a box
// when silent.
<event('PrepareToInstall')>
function QuenzPrepareToInstall(var NeedsRestart: Boolean): String;
var
  Asked: Boolean;
begin
  Result := QuenzWaitWhileRunning(ExpandConstant('{#QuenzDir}'), Asked);
end;

// After the person has confirmed the removal. A refusal the person did not see in a box is
// shown in one, which a silent run logs; Abort then ends the uninstaller with exit code 1.
<event('CurUninstallStepChanged')>
procedure QuenzCurUninstallStepChanged(CurUninstallStep: TUninstallStep);
var
  Asked: Boolean;
  Why: String;
begin
  if CurUninstallStep <> usAppMutexCheck then
    Exit;
  Why := QuenzWaitWhileRunning(ExpandConstant('{#QuenzDir}'), Asked);
  if Why = '' then
    Exit;
  if not Asked then
    SuppressibleMsgBox(Why, mbCriticalError, MB_OK, IDOK);
  Log('Quenz: nothing is removed.');
  Abort;
end;

#endif
