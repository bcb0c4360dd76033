#pragma once
// What the callers' rules answer to "does Dalmivorax run?": an edition, none, or, for a reason
// of its own, that Quenz cannot tell, which never counts as "nothing runs".
#include <windows.h>

#include <stddef.h>

enum class Answer
{
    NothingRuns,
    JavaRuns,
    WindowsRuns,
    UnclearFolder,     // the name given does not mean one folder
    UnreachableFolder, // the folder cannot reach Quenz intact, and may exist
    NotStarted,        // Quenz could not be started
    NoVerdict,         // no verdict line, or one that does not go with the exit code
    TimedOut,          // Quenz had not answered in time, and was ended
};

bool IsRunning(Answer answer);
bool CannotTell(Answer answer);

// Quenz's own verdict line for an edition's answer or for "nothing runs", without its line end;
// null for an answer that cannot tell.
const char* VerdictLine(Answer answer);

// The exit code counts only with the verdict line that goes with it, as the last line of the
// output: anything else is no verdict, however it ends.
Answer ReadAnswer(DWORD exitCode, const char* output, size_t length);

// Reads `text`, decimal digits alone, as milliseconds from `least` to `most`; false for anything
// else, an empty text included.
bool ReadMilliseconds(const wchar_t* text, DWORD least, DWORD most, DWORD& milliseconds);
