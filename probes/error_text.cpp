#include "probes/error_text.h"

void LoadErrorText(DWORD code, ErrorText& message)
{
    // The system may fill one byte less than the buffer holds, so the last zero always
    // stays in place, whatever FormatMessageA does on failure.
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), message.text,
                   ErrorText::kCapacity - 1, nullptr);
    CutAtFirstCarriageReturn(message.text);
}

void CutAtFirstCarriageReturn(char* text)
{
    char* at = text;
    while (*at != '\0') {
        if (*at == '\r') {
            *at = '\0';
            return;
        }
        // A lead byte takes its trail byte along, unless the text ends right after it.
        const bool pair = IsDBCSLeadByte(static_cast<BYTE>(*at)) && at[1] != '\0';
        at += pair ? 2 : 1;
    }
}
