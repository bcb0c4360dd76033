#include "integration/msi/msi_session.h"

#include <msiquery.h>
#include <stdarg.h>
#include <wchar.h>

#include "integration/core/report.h"

namespace {

// Shows `text` as it is: MSI takes [...] in a message for a property or a field, so each
// bracket goes through as the escape [\[] or [\]].
void Escape(const wchar_t* text, wchar_t* escaped, size_t size)
{
    size_t used = 0;
    for (; *text != L'\0' && used + 5 < size; ++text) {
        if (*text == L'[' || *text == L']') {
            escaped[used++] = L'[';
            escaped[used++] = L'\\';
            escaped[used++] = *text;
            escaped[used++] = L']';
        } else {
            escaped[used++] = *text;
        }
    }
    escaped[used] = L'\0';
}

int Message(MSIHANDLE install, INSTALLMESSAGE kind, const wchar_t* text)
{
    wchar_t escaped[4096];
    Escape(text, escaped, 4096);
    const MSIHANDLE record = MsiCreateRecord(0);
    MsiRecordSetStringW(record, 0, escaped);
    const int result = MsiProcessMessage(install, kind, record);
    MsiCloseHandle(record);
    return result;
}

} // namespace

bool ReadProperty(MSIHANDLE install, const wchar_t* name, wchar_t* value, DWORD size)
{
    DWORD length = size;
    value[0] = L'\0';
    return MsiGetPropertyW(install, name, value, &length) == ERROR_SUCCESS;
}

void WriteProperty(MSIHANDLE install, const wchar_t* name, const wchar_t* value)
{
    MsiSetPropertyW(install, name, value);
}

void Log(MSIHANDLE install, const wchar_t* format, ...)
{
    wchar_t line[kLineSize];
    va_list arguments;
    va_start(arguments, format);
    FormatLine(line, format, arguments);
    va_end(arguments);
    Message(install, INSTALLMESSAGE_INFO, line);
}

int AskRetryOrCancel(MSIHANDLE install, const wchar_t* text)
{
    // Whatever the UI level: Windows Installer itself knows where a box can be seen. A box of
    // the action's own would show even under /passive, where nobody is meant to be asked.
    return Message(
        install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_USER | MB_RETRYCANCEL | MB_ICONWARNING),
        text);
}
