#include "integration/core/folder_form.h"

#include <windows.h>

#include <wchar.h>

namespace {

bool IsDriveLetter(wchar_t letter)
{
    return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}

// No file name holds these; a colon past the drive would name a stream of a file.
bool HoldsForbiddenLetter(const wchar_t* name)
{
    for (const wchar_t* letter = name; *letter != L'\0'; ++letter) {
        if (*letter < 0x20 || wcschr(L"\"<>|*?", *letter) != nullptr ||
            (*letter == L':' && letter != name + 1)) {
            return true;
        }
    }
    return false;
}

// Every part between backslashes from `start` on: none empty, none ending in a blank or a dot.
bool PartsAreWhole(const wchar_t* start)
{
    for (const wchar_t* part = start;;) {
        const wchar_t* end = part + wcscspn(part, L"\\");
        if (end == part || end[-1] == L' ' || end[-1] == L'.') {
            return false;
        }
        if (*end == L'\0') {
            return true;
        }
        part = end + 1;
    }
}

// X:\name or \\server\share, and the offset of the first part after the drive or the
// backslashes; 0 when the name is neither.
size_t AbsoluteStart(const wchar_t* name)
{
    if (IsDriveLetter(name[0]) && name[1] == L':' && name[2] == L'\\') {
        return 3;
    }
    const bool unc = name[0] == L'\\' && name[1] == L'\\' && name[2] != L'?' && name[2] != L'.';
    return unc && wcschr(name + 2, L'\\') != nullptr ? 2 : 0;
}

} // namespace

bool MakeFolderForm(const wchar_t* given, wchar_t (&folder)[kFolderSize])
{
    size_t length = wcslen(given);
    if (length >= kFolderSize) {
        return false;
    }
    for (size_t index = 0; index <= length; ++index) {
        folder[index] = given[index] == L'/' ? L'\\' : given[index];
    }
    while (length > 0 && folder[length - 1] == L'\\') {
        folder[--length] = L'\0';
    }
    if (length == 0 || HoldsForbiddenLetter(folder)) {
        return false;
    }
    if (length == 2 && IsDriveLetter(folder[0]) && folder[1] == L':') {
        return true;
    }
    const size_t start = AbsoluteStart(folder);
    if (start == 0 || !PartsAreWhole(folder + start)) {
        return false;
    }
    // What the system makes of the name is what it means: the checks above only say why.
    wchar_t full[kFolderSize];
    const DWORD written = GetFullPathNameW(folder, kFolderSize, full, nullptr);
    return written == length && wcscmp(full, folder) == 0;
}
