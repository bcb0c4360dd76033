#include "common/path_buffer.h"

#include <string.h>
#include <windows.h>

void AppendTruncating(PathBuffer& buffer, const char* text)
{
    const size_t used = strlen(buffer.text);
    const size_t room = PathBuffer::kCapacity - 1 - used;
    size_t taken = 0;
    while (text[taken] != '\0') {
        // A lead byte right before the terminator has no partner: it counts alone, so that
        // the walk never steps over the end of the text.
        const bool pair = IsDBCSLeadByte(static_cast<BYTE>(text[taken])) && text[taken + 1] != '\0';
        const size_t width = pair ? 2 : 1;
        if (taken + width > room) {
            break;
        }
        taken += width;
    }
    memcpy(buffer.text + used, text, taken);
    buffer.text[used + taken] = '\0';
}
