#pragma once
// QuenzCheck.exe's only way out: formatted lines to standard output. To a console they go as
// UTF-16, so that a person sees every letter of a folder's name; to a pipe or a file as UTF-8,
// which a program reading them decodes whole. The lines a caller decides by are ASCII, the same
// in every code page. Without a usable standard output they are lost without a word.
void Print(const wchar_t* format, ...);
