#pragma once
// How the callers' rules tell their caller what they did, as they go: the custom action writes
// each line to the installation's log, QuenzCheck.exe shows the pause before the second look.
#include <windows.h>

#include <stdarg.h>
#include <stddef.h>

#include "integration/core/answer.h"

struct Report
{
    // One line, without a line end, for a log; null drops it.
    void (*line)(void* context, const wchar_t* text);
    // A first look found `first`; the second follows `pauseMs` later. Null: nothing is shown.
    void (*lookingAgain)(void* context, Answer first, DWORD pauseMs);
    void* context;
};

// Formats one line, printf-style, for the report's log.
void Tell(const Report& report, const wchar_t* format, ...);

// Formats one line, printf-style, into `text`; a longer one is cut at its end. Each binding's
// own log lines go through it too.
constexpr size_t kLineSize = 2048;
void FormatLine(wchar_t (&text)[kLineSize], const wchar_t* format, va_list arguments);
