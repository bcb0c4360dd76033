#include "integration/core/report.h"

#include <stdarg.h>
#include <wchar.h>

void Tell(const Report& report, const wchar_t* format, ...)
{
    if (report.line == nullptr) {
        return;
    }
    wchar_t text[2048];
    va_list arguments;
    va_start(arguments, format);
    const int written = _vsnwprintf(text, 2048, format, arguments);
    va_end(arguments);
    text[written >= 0 && written < 2048 ? written : 2047] = L'\0';
    report.line(report.context, text);
}
