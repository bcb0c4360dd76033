#include "integration/msi/binary_file.h"

#include <msiquery.h>
#include <wchar.h>

#include "integration/msi/msi_session.h"

namespace {

// Creates a file of a name no one else has used: an existing one, whoever made it, is never
// opened.
HANDLE CreateNewFile(wchar_t* path, DWORD size)
{
    wchar_t folder[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) {
        return INVALID_HANDLE_VALUE;
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const int written = _snwprintf(path, size, L"%lsQuenz-%lu-%lu-%u.exe", folder,
                                       GetCurrentProcessId(), GetTickCount(), attempt);
        if (written <= 0 || static_cast<DWORD>(written) >= size) {
            return INVALID_HANDLE_VALUE;
        }
        const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// Copies the stream of the fetched row into the file; false when a read or a write fails.
bool CopyStream(MSIHANDLE row, HANDLE file)
{
    char buffer[4096];
    for (;;) {
        DWORD count = sizeof buffer;
        if (MsiRecordReadStream(row, 1, buffer, &count) != ERROR_SUCCESS) {
            return false;
        }
        if (count == 0) {
            return true;
        }
        DWORD written = 0;
        if (!WriteFile(file, buffer, count, &written, nullptr) || written != count) {
            return false;
        }
    }
}

} // namespace

bool ExtractBinary(MSIHANDLE install, const wchar_t* name, wchar_t* path, DWORD size)
{
    const MSIHANDLE database = MsiGetActiveDatabase(install);
    MSIHANDLE view = 0;
    MSIHANDLE key = MsiCreateRecord(1);
    MSIHANDLE row = 0;
    MsiRecordSetStringW(key, 1, name);
    bool found = database != 0 &&
                 MsiDatabaseOpenViewW(database, L"SELECT `Data` FROM `Binary` WHERE `Name` = ?",
                                      &view) == ERROR_SUCCESS &&
                 MsiViewExecute(view, key) == ERROR_SUCCESS &&
                 MsiViewFetch(view, &row) == ERROR_SUCCESS;
    bool copied = false;
    if (found) {
        const HANDLE file = CreateNewFile(path, size);
        const DWORD error = GetLastError();
        if (file == INVALID_HANDLE_VALUE) {
            Log(install,
                L"QuenzCheck: no new file for Quenz.exe in the temporary folder (error %lu)",
                error);
        } else {
            copied = CopyStream(row, file);
            CloseHandle(file);
            if (!copied) {
                Log(install, L"QuenzCheck: could not write %ls", path);
                DeleteFileW(path);
            }
        }
    } else {
        Log(install, L"QuenzCheck: the package has no Binary row %ls", name);
    }
    MsiCloseHandle(row);
    MsiCloseHandle(view);
    MsiCloseHandle(key);
    MsiCloseHandle(database);
    return copied;
}
