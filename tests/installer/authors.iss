; Setups as authors write them around Quenz.iss, for the installer tests, built in the kit's
; folder with one of:
;   /DLanguages /DQuenzNoDefaultMessages  Brazilian Portuguese and German, Quenz's German texts
;                                         from QuenzDE.isl, the Portuguese ones prefixed here
;   /DQuenzDir={app}\lib                  the Java edition's folder below the application's
;   /DNotUninstallable                    Uninstallable=no
;   /DNoAppDir                            CreateAppDir=no, which the include refuses to compile
; Each logs what the author's own call of QuenzCheck answers for the folder given with /DIR=.
[Setup]
AppName=Dalmivorax Java
AppVersion=1.0
DefaultDirName={localappdata}\Programs\Dalmivorax
DisableProgramGroupPage=yes
PrivilegesRequired=lowest
#ifdef NotUninstallable
Uninstallable=no
#endif
#ifdef NoAppDir
CreateAppDir=no
#endif

#ifdef Languages
[Languages]
Name: "pt"; MessagesFile: "compiler:Languages\BrazilianPortuguese.isl"
Name: "de"; MessagesFile: "compiler:Languages\German.isl,QuenzDE.isl"

[CustomMessages]
pt.QuenzJavaRunning=O Dalmivorax Java está aberto.
pt.QuenzWindowsRunning=O Dalmivorax Windows está aberto.
pt.QuenzCloseIt=Feche-o e clique em Repetir.
pt.QuenzCannotCheck=Não foi possível verificar.
pt.QuenzUnreachableDir=Pasta inalcançável: %1
pt.QuenzNotStarted=O Quenz não pôde ser executado: %1 (%2)
pt.QuenzNoVerdict=Sem resposta: %1
pt.QuenzTimedOut=Sem resposta em %1 ms
#endif

#include "Quenz.iss"

[Files]
Source: "Dalmivorax.jar"; DestDir: "{app}"

[Code]
function InitializeSetup: Boolean;
var
  Text: String;
  Answer: Integer;
begin
  Answer := QuenzCheck(ExpandConstant('{param:DIR}'), Text);
  Log('The author''s QuenzCheck: ' + IntToStr(Answer) + ' ' + Text);
  Result := True;
end;
