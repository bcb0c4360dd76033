#pragma once
// One run of the package's own Quenz.exe (Binary row "Quenz") over each folder of the Java
// edition that the installation would change: the property QUENZ_DIR or else INSTALLDIR, and
// where Windows Installer has put Dalmivorax.jar for the installed product and for those that a
// major upgrade replaces.
#include <windows.h>

#include <msi.h>

#include "integration/msi/folder_list.h"
#include "integration/msi/verdict.h"

struct QuenzRun
{
    static constexpr size_t kCommandLineSize = MAX_PATH + 1110;
    wchar_t quenz[MAX_PATH];                                       // the copy, deleted by EndRun
    wchar_t commandLines[FolderList::kCapacity][kCommandLineSize]; // -nw after the first
    size_t count;
    DWORD timeoutMs; // the property QUENZ_TIMEOUT_MS, or two minutes
};

// Lists the folders, writes Quenz out of the package and makes a command line for each folder.
// False, with the reason in the log (each line starting with `who`), when any of it fails: then
// there is nothing to end.
bool StartRun(MSIHANDLE install, const wchar_t* who, QuenzRun& run);

// Asks Quenz about every folder, the Windows edition with the first only; the first edition found
// running is the answer. Each line Quenz printed goes to the log.
QuenzAnswer AskQuenzAboutAll(MSIHANDLE install, const QuenzRun& run);

// Deletes the copy of Quenz.
void EndRun(const QuenzRun& run);
