#pragma once
// What the custom action asks of the installation it runs in.
#include <windows.h>

#include <msi.h>

// Reads the property `name` into `value`, empty when it is not set. False when it does not fit.
bool ReadProperty(MSIHANDLE install, const wchar_t* name, wchar_t* value, DWORD size);

// Sets the property `name` to `value`.
void WriteProperty(MSIHANDLE install, const wchar_t* name, const wchar_t* value);

// Writes one line, printf-style, to the installation's log. A support person has nothing else.
void Log(MSIHANDLE install, const wchar_t* format, ...);

// Asks the person with a Retry/Cancel box, shown as `text` reads, and returns what Windows
// Installer answered: IDRETRY, IDCANCEL, or anything else (0 under /qn and /passive) when nobody
// could be asked.
int AskRetryOrCancel(MSIHANDLE install, const wchar_t* text);
