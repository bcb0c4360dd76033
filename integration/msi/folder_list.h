#pragma once
// The Java edition's folders that one run of the package would change, each once.
#include <stddef.h>

struct FolderList
{
    static constexpr size_t kCapacity = 8;
    static constexpr size_t kSize = 1024;
    wchar_t names[kCapacity][kSize];
    size_t count;
    bool dropped; // a folder did not fit
};

// Adds `folder`, its final backslashes dropped, unless the list holds it already, in any case.
// False, and the list marked, when it does not fit: the list is full, or the name too long.
bool AddFolder(FolderList& folders, const wchar_t* folder);

// Whether Quenz may be asked about the list: it holds a folder and dropped none, since a folder
// left out would go unchecked and count as free.
bool AllFoldersListed(const FolderList& folders);

// True for a File row's FileName ("SHORT.JAR|Long name.jar", or the long name alone) whose long
// name is Dalmivorax.jar, in any case.
bool IsJarFileName(const wchar_t* fileName);

// Puts the folder of a component's key path into `folder`: all before its last backslash, which is
// the key file's folder, or the folder itself for a key path that is one (it ends in a backslash).
// False for a registry key path ("02:\..."), which names no folder, and for one that does not fit.
bool FolderOfKeyPath(const wchar_t* keyPath, wchar_t* folder, size_t size);
