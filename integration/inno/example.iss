; A minimal Setup and uninstaller for the Java edition that nothing installs or removes while
; Dalmivorax runs: Quenz.iss does that by itself. Build it where the kit lies:
;   ISCC example.iss           (or: ISCC /I<the kit's folder> example.iss, from elsewhere)

[Setup]
AppName=Dalmivorax Java
AppVersion=1.0
; {autopf} would be the same folder; Wine cannot expand it for a per-user install.
DefaultDirName={localappdata}\Programs\Dalmivorax
DisableProgramGroupPage=yes
PrivilegesRequired=lowest
OutputDir=.
OutputBaseFilename=DalmivoraxJava-setup-inno

#include "Quenz.iss"

[Files]
Source: "Dalmivorax.jar"; DestDir: "{app}"

[Code]
// The script's own event functions still run, after Quenz.iss's let the run go on.
function PrepareToInstall(var NeedsRestart: Boolean): String;
begin
  Log('The example''s own PrepareToInstall ran.');
  Result := '';
end;
