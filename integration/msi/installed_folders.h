#pragma once
// Where Windows Installer has put Dalmivorax.jar for the products that this run changes besides
// the one it installs: the installed product itself (repair, change, removal) and those that a
// major upgrade replaces. The package's INSTALLDIR need not name them: Windows Installer resolves
// it afresh from the Directory table unless the package remembers it.
#include <windows.h>

#include <msi.h>

#include "integration/msi/folder_list.h"

// Adds to `folders` the folder of each installed component that holds a file named
// Dalmivorax.jar, for the installed product and for each product in the property of an Upgrade
// row that replaces what it finds. Each finding, and each product where none was found, goes to
// the log. False when a folder did not fit into the list.
bool AddInstalledFolders(MSIHANDLE install, FolderList& folders);
