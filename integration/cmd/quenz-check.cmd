@echo off
rem quenz-check.cmd [OPTIONS] FOLDER: runs the QuenzCheck.exe beside it with the same arguments
rem (see docs/quenzcheck.md), and exits with 0 only when it exits with 0: no edition of
rem Dalmivorax runs in FOLDER, the Java edition's, nor the Windows edition. On everything else it
rem exits with 2: an edition runs, Quenz cannot tell, or QuenzCheck.exe cannot be run.
rem QuenzCheck.exe's own lines say which. A new script runs QuenzCheck.exe itself, without "call",
rem which reads % a second time.
rem A caller's delayed expansion would read ! in the arguments.
setlocal DisableDelayedExpansion
"%~dp0QuenzCheck.exe" %*
rem "if errorlevel" reads the exit code itself, which a variable named ERRORLEVEL would hide from
rem %ERRORLEVEL%; a crash's code is negative.
if errorlevel 1 exit /b 2
if not errorlevel 0 exit /b 2
exit /b 0
