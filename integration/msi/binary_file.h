#pragma once
// The package's own copy of Quenz.exe, out of its Binary table.
#include <windows.h>

#include <msi.h>

// Writes the Binary row `name` to a new file in the temporary folder and puts its path into
// `path`. The file is created with CREATE_NEW under a name of its own, so that nothing prepared
// there in advance can stand in for it. False, with the reason in the log, when it could not.
bool ExtractBinary(MSIHANDLE install, const wchar_t* name, wchar_t* path, DWORD size);
