#pragma once
// What one run of Quenz answered.
#include <windows.h>

#include <stddef.h>

enum class QuenzAnswer
{
    NothingRuns,
    JavaRuns,
    WindowsRuns,
    NoAnswer, // no verdict line, or one that does not go with the exit code
};

// The exit code counts only with the verdict line that goes with it, as the last line of the
// output: anything else at the Binary row is no answer, however it ends.
QuenzAnswer ReadAnswer(DWORD exitCode, const char* output, size_t length);

// How long to wait for Quenz's answer: the property QUENZ_TIMEOUT_MS's value, milliseconds in
// decimal digits from 1 to 86400000 (a day), or else 120000 (two minutes).
DWORD TimeoutMs(const wchar_t* value);
