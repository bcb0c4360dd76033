#pragma once
// Where Dalmivorax.jar is for the products that this run changes besides the one it installs: the
// installed product itself (repair, change, removal) and those that a major upgrade replaces. The
// package's INSTALLDIR need not name them: Windows Installer resolves it afresh from the Directory
// table unless the package remembers it. Windows Installer knows the folder of a component whose
// key path is a file or a folder; for one whose key path is a registry key (as ICE38 asks of a
// component in the user's profile), or that it does not register (a null ComponentId), the folder
// that QuenzCheck recorded when it let the product in stands in: Quenz.wxi's component
// QuenzRecord, whose key path is the folder QUENZFOLDER, which QuenzCheck sets.
#include <windows.h>

#include <msi.h>

#include "integration/msi/folder_list.h"

// Adds to `folders` the folder of each installed component that holds a file named
// Dalmivorax.jar, and the recorded folder, for the installed product and for each product in the
// property of an Upgrade row that replaces what it finds; `recorded` gets the installed product's
// record (or the folder QUENZ_OLD_DIR gave in its place), empty when there is none. Each finding,
// and each product where none was found, goes to the log. False, with the reason in the log, when a
// folder did not fit into the list, or a product's jar has a folder that neither Windows Installer,
// a record nor QUENZ_OLD_DIR names.
bool AddInstalledFolders(MSIHANDLE install, const wchar_t* who, FolderList& folders,
                         wchar_t* recorded, DWORD size);

// Records `folder` as the one this run installs the Java edition into. A package without
// Quenz.wxi's QUENZFOLDER records nothing, which the log says: its removal then cannot tell
// where a jar went that Windows Installer cannot name. False, with the reason in the log, when
// the folder cannot be recorded: the record would then name another.
bool RecordFolder(MSIHANDLE install, const wchar_t* who, const wchar_t* folder);
