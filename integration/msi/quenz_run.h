#pragma once
// One run of the package's own Quenz.exe (Binary row "Quenz") over each folder of the Java
// edition that the installation would change: the property QUENZ_DIR or else INSTALLDIR, and
// where the installed product and those that a major upgrade replaces have their Dalmivorax.jar,
// as Windows Installer or the product's record says.
#include <windows.h>

#include <msi.h>

#include "integration/core/ask.h"
#include "integration/core/folder_form.h"

struct QuenzRun
{
    wchar_t quenz[MAX_PATH]; // the copy, deleted by EndRun
    Question question;
    // The folder QuenzCheck records for later runs (installed_folders.h): what this one installs
    // into, or in a run of the installed product, what was recorded.
    wchar_t record[kFolderSize];
    const wchar_t* who; // the custom action, which starts each line of the log
};

// Lists the folders, writes Quenz out of the package and puts each folder into the question.
// False, with the reason in the log, when any of it fails: then there is nothing to end.
bool StartRun(MSIHANDLE install, const wchar_t* who, QuenzRun& run);

// Asks Quenz about every folder (ask.h); each line Quenz printed goes to the log.
Answer AskQuenzAboutAll(MSIHANDLE install, const QuenzRun& run);

// Deletes the copy of Quenz.
void EndRun(const QuenzRun& run);
