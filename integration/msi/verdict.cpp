#include "integration/msi/verdict.h"

#include <string.h>

namespace {

// True when the output ends with the whole line `line`, CR LF included.
bool EndsWithLine(const char* output, size_t length, const char* line)
{
    const size_t size = strlen(line);
    return length >= size && memcmp(output + length - size, line, size) == 0 &&
           (length == size || output[length - size - 1] == '\n');
}

} // namespace

DWORD TimeoutMs(const wchar_t* value)
{
    const DWORD fallback = 120000;
    const DWORD most = 86400000;
    DWORD milliseconds = 0;
    for (const wchar_t* digit = value; *digit != L'\0'; ++digit) {
        if (*digit < L'0' || *digit > L'9' || milliseconds > most / 10) {
            return fallback;
        }
        milliseconds = milliseconds * 10 + static_cast<DWORD>(*digit - L'0');
    }
    return milliseconds > 0 && milliseconds <= most ? milliseconds : fallback;
}

QuenzAnswer ReadAnswer(DWORD exitCode, const char* output, size_t length)
{
    if (exitCode == 0 && EndsWithLine(output, length, "Nenhum Dalmivorax esta em execucao.\r\n")) {
        return QuenzAnswer::NothingRuns;
    }
    if (exitCode == 1 && EndsWithLine(output, length, "O Dalmivorax Java esta em execucao.\r\n")) {
        return QuenzAnswer::JavaRuns;
    }
    if (exitCode == 1 &&
        EndsWithLine(output, length, "O Dalmivorax Windows esta em execucao.\r\n")) {
        return QuenzAnswer::WindowsRuns;
    }
    return QuenzAnswer::NoAnswer;
}
