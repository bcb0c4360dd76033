#include "app/run_verdict.h"

#include "app/command_line.h"
#include "app/help_text.h"
#include "common/output.h"
#include "probes/edition_checks.h"

int RunVerdict(int argc, char** argv)
{
    if (IsHelpRun(argc, argv)) {
        PrintHelpText();
        return 0;
    }
    CommandLine commandLine;
    ReadCommandLine(argc, argv, commandLine);
    Print("Verificando se algum Dalmivorax esta em execucao.\n");

    // The Java edition goes first; once it is found running, the Windows edition no longer
    // changes the answer and is not looked at.
    if (!commandLine.skipJava && !CheckJavaEdition(commandLine.verbose, commandLine.installDir)) {
        Print("O Dalmivorax Java esta em execucao.\n");
        return 1;
    }
    if (!commandLine.skipWindows && !CheckWindowsEdition(commandLine.verbose)) {
        Print("O Dalmivorax Windows esta em execucao.\n");
        return 1;
    }
    Print("Nenhum Dalmivorax esta em execucao.\n");
    return 0;
}
