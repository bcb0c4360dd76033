#pragma once
// Runs a console program without a window and gathers what it prints.
#include <windows.h>

#include <stddef.h>

// Runs `commandLine` and waits for it, `timeoutMs` at most. Its standard output and error go into
// `output`, `length` bytes of it, and its exit code into `exitCode`. An output that does not fit
// is dropped whole (`length` 0): no answer of Quenz's is that long. False, with the system's
// error code in `exitCode`, when it could not be started; false with `timedOut` set when it had
// not ended in time, and was ended.
bool RunHidden(wchar_t* commandLine, DWORD timeoutMs, char* output, size_t size, size_t& length,
               DWORD& exitCode, bool& timedOut);
