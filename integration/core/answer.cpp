#include "integration/core/answer.h"

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

bool IsRunning(Answer answer)
{
    return answer == Answer::JavaRuns || answer == Answer::WindowsRuns;
}

bool CannotTell(Answer answer)
{
    return answer != Answer::NothingRuns && !IsRunning(answer);
}

Answer ReadAnswer(DWORD exitCode, const char* output, size_t length)
{
    if (exitCode == 0 && EndsWithLine(output, length, "Nenhum Dalmivorax esta em execucao.\r\n")) {
        return Answer::NothingRuns;
    }
    if (exitCode == 1 && EndsWithLine(output, length, "O Dalmivorax Java esta em execucao.\r\n")) {
        return Answer::JavaRuns;
    }
    if (exitCode == 1 &&
        EndsWithLine(output, length, "O Dalmivorax Windows esta em execucao.\r\n")) {
        return Answer::WindowsRuns;
    }
    return Answer::NoVerdict;
}

bool ReadMilliseconds(const wchar_t* text, DWORD least, DWORD most, DWORD& milliseconds)
{
    DWORD value = 0;
    for (const wchar_t* digit = text; *digit != L'\0'; ++digit) {
        if (*digit < L'0' || *digit > L'9' || value > most / 10) {
            return false;
        }
        value = value * 10 + static_cast<DWORD>(*digit - L'0');
    }
    if (text[0] == L'\0' || value < least || value > most) {
        return false;
    }
    milliseconds = value;
    return true;
}
