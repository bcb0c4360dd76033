#pragma once

// A file or directory path in the process's ANSI code page, sized like MAX_PATH:
// at most 259 bytes of text and the terminating zero. It starts empty.
struct PathBuffer
{
    static const unsigned kCapacity = 260;
    char text[kCapacity] = {};
};

// Appends as much of `text` as still fits and drops the rest without a word.
// A double-byte character of the ANSI code page is either appended whole or not at all.
void AppendTruncating(PathBuffer& buffer, const char* text);
