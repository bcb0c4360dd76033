#pragma once
// The callers' one question, "does Dalmivorax run where nothing may change?", asked of one
// Quenz.exe about the Java edition's folders that a caller would change. QuenzCA.dll and
// QuenzCheck.exe both ask it here, so that every installer keeps the same rules.
#include <windows.h>

#include <stddef.h>

#include "integration/core/answer.h"
#include "integration/core/report.h"

struct Question
{
    static constexpr size_t kMostFolders = 8;
    // A folder goes at most as 244 letters in quotes.
    static constexpr size_t kArgumentSize = 256;
    const wchar_t* quenz; // the program to run
    wchar_t arguments[kMostFolders][kArgumentSize];
    size_t count;
    DWORD timeoutMs; // for the whole question: both looks and the pause between them
    DWORD pauseMs;   // before the second look
};

// Adds Quenz's argument for the folder `given`, the Java edition's. False, with `doubt` set to
// UnclearFolder or UnreachableFolder and the reason in the report, when the name does not mean one
// folder, or the folder cannot reach Quenz intact and may exist; or when the question is full.
bool PutFolder(Question& question, const wchar_t* given, const Report& report, Answer& doubt);

// Asks Quenz about each folder, the Windows edition with the first only; the first edition found
// running is the answer. "Running" is believed only when a second look, `pauseMs` later, says it
// too, and that second answer is the answer: two checks at the same instant see each other's
// open of the file. Every line Quenz printed, and why it could not tell, go to the report.
Answer Ask(const Question& question, const Report& report);
