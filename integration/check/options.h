#pragma once
// QuenzCheck.exe's command line: [--timeout-ms=N] [--pause-ms=N] [--] FOLDER.
#include <windows.h>

struct CheckOptions
{
    DWORD timeoutMs = 120000; // both looks and the pause between them
    DWORD pauseMs = 500;      // before the second look
    const wchar_t* folder = nullptr;
};

// Reads the arguments after the program's name. Before "--", one that starts with "--" is an
// option, --name=value; every other is the folder. False for an unknown option, a value out of
// its range (--timeout-ms 1 to 86400000, --pause-ms 0 to 60000), no folder or more than one: a
// script that meant something else must not get an answer about something it did not ask.
bool ReadOptions(int argc, wchar_t** argv, CheckOptions& options);
