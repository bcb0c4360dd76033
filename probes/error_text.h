#pragma once

#include <windows.h>

// The system's text for an error code, as the error line shows it.
struct ErrorText
{
    static const unsigned kCapacity = 2048;
    // Zeroed up front: FormatMessageA leaves the buffer alone when the system has no text
    // for a code, and the error line then shows an empty text.
    char text[kCapacity] = {};
};

// Fills `message` with the system's text for `code` in the user's language, cut at its
// first carriage return; empty when the system has no text.
void LoadErrorText(DWORD code, ErrorText& message);

// Ends `text` at its first carriage return, if it has one. The search steps over
// double-byte characters of the ANSI code page whole.
void CutAtFirstCarriageReturn(char* text);
