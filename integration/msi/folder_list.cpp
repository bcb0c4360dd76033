#include "integration/msi/folder_list.h"

#include <wchar.h>

namespace {

// Copies `length` characters of `text` and ends them; false when they do not fit.
bool CopyPart(const wchar_t* text, size_t length, wchar_t* copy, size_t size)
{
    if (length >= size) {
        return false;
    }
    wmemcpy(copy, text, length);
    copy[length] = L'\0';
    return true;
}

} // namespace

bool AddFolder(FolderList& folders, const wchar_t* folder)
{
    size_t length = wcslen(folder);
    while (length > 0 && folder[length - 1] == L'\\') {
        --length;
    }
    for (size_t index = 0; index < folders.count; ++index) {
        if (wcslen(folders.names[index]) == length &&
            _wcsnicmp(folders.names[index], folder, length) == 0) {
            return true;
        }
    }
    if (folders.count == FolderList::kCapacity ||
        !CopyPart(folder, length, folders.names[folders.count], FolderList::kSize)) {
        folders.dropped = true;
        return false;
    }
    ++folders.count;
    return true;
}

bool AllFoldersListed(const FolderList& folders)
{
    return folders.count > 0 && !folders.dropped;
}

bool IsJarFileName(const wchar_t* fileName)
{
    const wchar_t* bar = wcschr(fileName, L'|');
    return _wcsicmp(bar != nullptr ? bar + 1 : fileName, L"Dalmivorax.jar") == 0;
}

bool FolderOfKeyPath(const wchar_t* keyPath, wchar_t* folder, size_t size)
{
    const bool registry = keyPath[0] >= L'0' && keyPath[0] <= L'9' && keyPath[1] >= L'0' &&
                          keyPath[1] <= L'9' && keyPath[2] == L':';
    const wchar_t* last = wcsrchr(keyPath, L'\\');
    return !registry && last != nullptr &&
           CopyPart(keyPath, static_cast<size_t>(last - keyPath), folder, size);
}
