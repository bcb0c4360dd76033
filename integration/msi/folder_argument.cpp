#include "integration/msi/folder_argument.h"

#include <windows.h>

#include <wchar.h>

namespace {

// No "?" for a missing letter and no best fit: the text reaches Quenz as it is, or not at all.
bool IsExactlyAnsi(const wchar_t* text)
{
    BOOL usedDefault = TRUE;
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr,
                               &usedDefault) > 0 &&
           !usedDefault;
}

bool Quote(const wchar_t* text, wchar_t* argument, size_t size)
{
    const int written = _snwprintf(argument, size, L"\"%ls\"", text);
    return written > 0 && static_cast<size_t>(written) < size;
}

} // namespace

bool MakeFolderArgument(const wchar_t* folder, const wchar_t* shortForm, bool exists,
                        wchar_t* argument, size_t size)
{
    if (IsExactlyAnsi(folder)) {
        return Quote(folder, argument, size);
    }
    if (exists && shortForm[0] != L'\0' && IsExactlyAnsi(shortForm)) {
        return Quote(shortForm, argument, size);
    }
    if (!exists && size > 3) {
        wcscpy(argument, L"-nj");
        return true;
    }
    return false;
}
