#include "integration/check/print.h"

#include <windows.h>

#include <stdarg.h>
#include <wchar.h>

void Print(const wchar_t* format, ...)
{
    wchar_t text[1024];
    va_list arguments;
    va_start(arguments, format);
    const int written = _vsnwprintf(text, 1024, format, arguments);
    va_end(arguments);
    const int length = written >= 0 && written < 1024 ? written : 1023;
    text[length] = L'\0';
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    DWORD count = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text, static_cast<DWORD>(length), &count, nullptr);
        return;
    }
    char bytes[3 * 1024];
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text, length, bytes, sizeof bytes, nullptr, nullptr);
    WriteFile(out, bytes, static_cast<DWORD>(size > 0 ? size : 0), &count, nullptr);
}
