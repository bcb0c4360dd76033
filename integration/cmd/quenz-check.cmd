@echo off
rem quenz-check.cmd FOLDER: runs the Quenz.exe beside it for FOLDER, the Java edition's folder.
rem Exit code 0 only when Quenz answered with exit code 0 and its line "Nenhum Dalmivorax esta em
rem execucao."; 2 on everything else: while an edition runs, and whenever Quenz cannot tell (it
rem cannot be run, it crashed, it printed no verdict, FOLDER is empty or cannot reach it intact).
rem There is no time limit: a Quenz that never ends holds this file too.
setlocal DisableDelayedExpansion
set "QUENZ=%~dp0Quenz.exe"
set "DIR=%~1"
set "WHY=nenhuma pasta foi indicada."
if not defined DIR goto cannot-tell
set "WHY=o Quenz nao recebe o nome desta pasta (so letras ASCII, no maximo 244), nem um nome curto (8.3) dela."
set "UNQUOTED=%DIR:"=%"
setlocal EnableDelayedExpansion
if not "!DIR!"=="!UNQUOTED!" goto cannot-tell
endlocal
rem "C:\Apps\" in quotes would reach Quenz as C:\Apps" followed by the rest of the line; Quenz
rem adds its own backslash, so a drive's root goes as C:.
:trim
if not "%DIR:~-1%"=="\" goto trimmed
set "DIR=%DIR:~0,-1%"
if defined DIR goto trim
goto cannot-tell
:trimmed
set "CANDIDATE=%DIR%"
call :fits
if not errorlevel 1 goto as-is
if not exist "%DIR%\" goto missing
for %%I in ("%DIR%") do set "CANDIDATE=%%~sI"
call :fits
if not errorlevel 1 goto short-form
goto cannot-tell
rem A folder that does not exist cannot hold a running Java edition: the Windows edition alone.
rem Only where cmd.exe can say so: a name of 260 letters or more may be beyond what it looks up.
rem Lengths are read off a padded copy, since Wine's cmd.exe reads past the end of a short text.
:missing
set "PROBE=%DIR%||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||"
if not "%PROBE:~259,1%"=="|" goto cannot-tell
set ARG=-nj
goto run
:as-is
set ARG="%DIR%"
goto run
:short-form
set ARG="%CANDIDATE%"

:run
set "OUTPUT=%TEMP%\quenz-check-%RANDOM%-%RANDOM%.txt"
if exist "%OUTPUT%" goto run
"%QUENZ%" %ARG% >"%OUTPUT%"
rem Read at once: "if errorlevel 1" is false for a negative code, as a crash gives.
set CODE=%ERRORLEVEL%
type "%OUTPUT%"
set VERDICT=
for /f "usebackq eol=| delims=" %%L in ("%OUTPUT%") do set "VERDICT=%%L"
del "%OUTPUT%"
setlocal EnableDelayedExpansion
if "!CODE! !VERDICT!"=="0 Nenhum Dalmivorax esta em execucao." exit /b 0
if "!CODE! !VERDICT!"=="1 O Dalmivorax Java esta em execucao." goto running
if "!CODE! !VERDICT!"=="1 O Dalmivorax Windows esta em execucao." goto running
set "WHY=o Quenz terminou com o codigo !CODE! sem a sua resposta."

:cannot-tell
setlocal EnableDelayedExpansion
echo Nao foi possivel verificar se o Dalmivorax esta em execucao: !WHY! [!DIR!]
exit /b 2
:running
echo Feche o Dalmivorax e tente de novo.
exit /b 2

rem Exit code 0 when CANDIDATE reaches Quenz as it is under every ANSI code page: printable ASCII
rem alone, a byte a letter everywhere, and at most 244 of them, so that Quenz, which cuts every
rem path at 259 bytes, probes its Dalmivorax.jar whole. Each such letter is a delimiter here, so
rem any other letter makes a token (Wine's cmd.exe also passes an empty one).
:fits
if not defined CANDIDATE exit /b 1
set "PROBE=%CANDIDATE%||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||||"
if not "%PROBE:~244,1%"=="|" exit /b 1
set OTHER=
for /f "eol=| delims=!#$%%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\]^_`abcdefghijklmnopqrstuvwxyz{|}~ " %%T in ("%CANDIDATE%") do if not "%%T"=="" set OTHER=1
if defined OTHER exit /b 1
exit /b 0
