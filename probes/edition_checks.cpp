#include "probes/edition_checks.h"

#include <windows.h>

#include "common/output.h"
#include "probes/probe_file.h"

// Appends the file name to the directory already in `path` and probes the result. The
// backslash always goes in, whatever the directory ends with.
static bool ProbeMainFile(PathBuffer& path, const char* fileName, bool verbose)
{
    AppendTruncating(path, "\\");
    AppendTruncating(path, fileName);
    return ProbeFile(path, verbose);
}

bool CheckJavaEdition(bool verbose, const PathBuffer& installDir)
{
    if (verbose) {
        Print("Verificacao se o Dalmivorax Java esta executando.\n");
    }
    PathBuffer path;
    AppendTruncating(path, installDir.text);
    return ProbeMainFile(path, "Dalmivorax.jar", verbose);
}

bool CheckWindowsEdition(bool verbose)
{
    if (verbose) {
        Print("Verificacao se o Dalmivorax Windows esta executando.\n");
    }
    PathBuffer path;
    // A name without a folder is looked for in the Windows directory.
    const DWORD copied = GetPrivateProfileStringA("Dal-vor", "Path", "", path.text,
                                                  PathBuffer::kCapacity, "Dal-vor.ini");
    if (copied == 0) {
        if (verbose) {
            Print("Nao foi encontrado o caminho do Dalmivorax Windows no arquivo Dal-Vor.ini.\n");
        }
        return true;
    }
    return ProbeMainFile(path, "Dalmivorax.exe", verbose);
}
