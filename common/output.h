#pragma once

// The program's only way out to the user: formatted printing to standard output in text
// mode, so that every "\n" leaves as CR LF. Format strings hold "%s" and "%d" only.
// When standard output is unusable the text is lost without a word.
void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));
