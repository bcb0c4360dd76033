#include "integration/core/answer.h"

#include <string.h>

#include <algorithm>
#include <iterator>

namespace {

// Quenz's verdict lines, each with the exit code that goes with it.
struct Verdict
{
    Answer answer;
    DWORD exitCode;
    const char* line;
};

const Verdict kVerdicts[] = {
    {Answer::NothingRuns, 0, "Nenhum Dalmivorax esta em execucao."},
    {Answer::JavaRuns, 1, "O Dalmivorax Java esta em execucao."},
    {Answer::WindowsRuns, 1, "O Dalmivorax Windows esta em execucao."},
};

// True when the output ends with the whole line `line` and its CR LF.
bool EndsWithLine(const char* output, size_t length, const char* line)
{
    const size_t size = strlen(line) + 2;
    return length >= size && memcmp(output + length - size, line, size - 2) == 0 &&
           memcmp(output + length - 2, "\r\n", 2) == 0 &&
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

const char* VerdictLine(Answer answer)
{
    const Verdict* verdict =
        std::find_if(std::begin(kVerdicts), std::end(kVerdicts),
                     [answer](const Verdict& each) { return each.answer == answer; });
    return verdict != std::end(kVerdicts) ? verdict->line : nullptr;
}

Answer ReadAnswer(DWORD exitCode, const char* output, size_t length)
{
    const auto verdict =
        std::find_if(std::begin(kVerdicts), std::end(kVerdicts), [&](const Verdict& each) {
            return exitCode == each.exitCode && EndsWithLine(output, length, each.line);
        });
    return verdict != std::end(kVerdicts) ? verdict->answer : Answer::NoVerdict;
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
