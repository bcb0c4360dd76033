#include "common/output.h"

#include <stdarg.h>
#include <stdio.h>

void Print(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    // msvcrt flushes a console stream after every call and buffers a file or a pipe until
    // exit, which keeps the prints in order either way.
    vprintf(format, arguments);
    va_end(arguments);
}
