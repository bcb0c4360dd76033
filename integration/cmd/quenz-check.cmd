@echo off
rem Stops with exit code 2 while Dalmivorax runs from the directory given as the first
rem argument, or when Quenz cannot be run (cmd.exe then sets errorlevel 9009).
set "DIR=%~1"
rem "C:\Apps\" in quotes would reach Quenz as C:\Apps" followed by the rest of the line.
if "%DIR:~-1%"=="\" set "DIR=%DIR:~0,-1%"
rem Quenz reads its command line in the ANSI code page, where other letters would arrive
rem changed: an existing folder goes by its short (8.3) name, and a folder that does not
rem exist cannot hold a running Java edition, so then only the Windows edition is checked.
set ARG=-nj
if exist "%DIR%\" for %%I in ("%DIR%") do set ARG="%%~sI"
"%~dp0Quenz.exe" %ARG%
if errorlevel 1 (
  echo Feche o Dalmivorax e tente de novo.
  exit /b 2
)
rem Nothing runs: exit code 0. In a copy of these lines, replace or remove the files here.
