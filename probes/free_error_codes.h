#pragma once

#include <windows.h>

// Codes after which a failed open still counts as free: the file, its folder, its drive or
// its share is not there, or the name cannot be a file at all. Any other failure, access
// denied and sharing violation first among them, means somebody holds the file.
inline constexpr DWORD FreeErrorCodes[] = {
    ERROR_FILE_NOT_FOUND, // 2
    ERROR_PATH_NOT_FOUND, // 3
    ERROR_INVALID_DRIVE,  // 15
    ERROR_BAD_NETPATH,    // 53
    ERROR_DEV_NOT_EXIST,  // 55
    ERROR_BAD_NET_NAME,   // 67
    ERROR_INVALID_NAME,   // 123
};

// True when a failed open with this code leaves the file counted as free.
bool IsFreeErrorCode(DWORD code);
