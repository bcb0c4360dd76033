#pragma once
// One run of Quenz, without a window, gathering what it prints.
#include <windows.h>

#include <stddef.h>

struct QuenzOutput
{
    char bytes[8192];
    // Dropped whole (0) when Quenz printed more than `bytes` holds: no answer of its is that long.
    size_t length;
    // Quenz's exit code; or, when it could not be started, the system's error code.
    DWORD exitCode;
};

enum class RunEnd
{
    Ended,
    NotStarted,
    TimedOut, // it had not ended by the deadline, and was ended
};

// Runs the program `quenz` with `commandLine`, whose first word is a fixed name: Quenz reads its
// command line in the ANSI code page, and a folder of the program's own with a letter outside it
// (a fullwidth quotation mark) could end that word early and swallow the argument after it.
// Waits until `deadline` (a GetTickCount64 value) at most, looked at on every pass, also after
// Quenz has ended while a child that kept its pipe may still write: Quenz starts none, so such
// a program is no Quenz. Quenz runs in
// a job object that ends it, and all it started, once the run is over, and when this process is
// ended, as an installer's own limit would do.
RunEnd RunQuenz(const wchar_t* quenz, wchar_t* commandLine, ULONGLONG deadline,
                QuenzOutput& output);
