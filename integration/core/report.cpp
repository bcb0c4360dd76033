#include "integration/core/report.h"

#include <wchar.h>

void FormatLine(wchar_t (&text)[kLineSize], const wchar_t* format, va_list arguments)
{
    const int written = _vsnwprintf(text, kLineSize, format, arguments);
    const size_t end = written >= 0 ? static_cast<size_t>(written) : kLineSize;
    text[end < kLineSize ? end : kLineSize - 1] = L'\0';
}

void Tell(const Report& report, const wchar_t* format, ...)
{
    if (report.line == nullptr) {
        return;
    }
    wchar_t text[kLineSize];
    va_list arguments;
    va_start(arguments, format);
    FormatLine(text, format, arguments);
    va_end(arguments);
    report.line(report.context, text);
}
