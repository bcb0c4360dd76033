#include "integration/core/folder_argument.h"

#include <wchar.h>

#include "integration/core/folder_form.h"

namespace {

// The most bytes of folder with which "\Dalmivorax.jar" still fits into Quenz's 259.
const int kMostFolderBytes = 244;

// Writes `text` as Quenz's argument when it reaches Quenz as it is: no "?" for a missing letter
// and no best fit, and not more than 244 bytes.
bool Reaches(const wchar_t* text, UINT codePage, wchar_t* argument, size_t size)
{
    const Conversion conversion = ConversionFor(codePage);
    BOOL usedDefault = FALSE;
    char bytes[kMostFolderBytes + 1];
    // The count includes the final NUL; a text that does not fit fails the call.
    const int count = WideCharToMultiByte(codePage, conversion.flags, text, -1, bytes, sizeof bytes,
                                          nullptr, conversion.usedDefault ? &usedDefault : nullptr);
    if (text[0] == L'\0' || count <= 1 || usedDefault) {
        return false;
    }
    const bool blank = wcspbrk(text, L" \t") != nullptr;
    if (blank && bytes[count - 2] == '\\') {
        return false;
    }
    const int written = _snwprintf(argument, size, blank ? L"\"%ls\"" : L"%ls", text);
    return written > 0 && static_cast<size_t>(written) < size;
}

} // namespace

Conversion ConversionFor(UINT codePage)
{
    if (codePage == CP_UTF8) {
        return {WC_ERR_INVALID_CHARS, false};
    }
    return {WC_NO_BEST_FIT_CHARS, true};
}

bool MakeFolderArgument(const wchar_t* folder, const wchar_t* shortForm, bool exists, UINT codePage,
                        wchar_t* argument, size_t size)
{
    if (Reaches(folder, codePage, argument, size)) {
        return true;
    }
    if (exists && Reaches(shortForm, codePage, argument, size)) {
        return true;
    }
    if (!exists && folder[0] != L'\0' && size > 3) {
        wcscpy(argument, L"-nj");
        return true;
    }
    return false;
}

bool MayExist(const wchar_t* folder)
{
    const DWORD attributes = GetFileAttributesW(folder);
    const DWORD error = GetLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    return wcslen(folder) >= MAX_PATH ||
           (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND);
}

bool FolderArgument(const wchar_t* folder, wchar_t* argument, size_t size)
{
    // A bare drive is looked up as its root: X: alone is the current folder on it.
    wchar_t lookedUp[kFolderSize + 1];
    _snwprintf(lookedUp, kFolderSize + 1,
               folder[0] != L'\0' && folder[1] == L':' && folder[2] == L'\0' ? L"%ls\\" : L"%ls",
               folder);
    lookedUp[kFolderSize] = L'\0';
    wchar_t shortForm[kFolderSize];
    const DWORD length = GetShortPathNameW(lookedUp, shortForm, kFolderSize);
    shortForm[length > 0 && length < kFolderSize ? length : 0] = L'\0';
    // The root's short form ends in its backslash, which Quenz adds itself.
    const size_t end = wcslen(shortForm);
    if (end > 0 && shortForm[end - 1] == L'\\') {
        shortForm[end - 1] = L'\0';
    }
    return MakeFolderArgument(folder, shortForm, MayExist(lookedUp), GetACP(), argument, size);
}
