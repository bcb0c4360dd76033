#include "integration/msi/installed_folders.h"

#include <msiquery.h>
#include <wchar.h>

#include "integration/msi/msi_session.h"

namespace {

// An Upgrade row of this kind only detects: it replaces nothing (msidbUpgradeAttributesOnlyDetect).
const int kOnlyDetect = 2;

// Where Windows Installer put the component `component` of `product`: true with its key path's
// folder in `folder`, or with an empty `folder` when the component is not installed. False when
// the folder cannot be known: a null ComponentId, a registry key path, or a path too long.
bool ComponentFolder(const wchar_t* product, const wchar_t* component, wchar_t* folder, size_t size)
{
    folder[0] = L'\0';
    if (component[0] == L'\0') {
        return false;
    }
    // A key file that is gone, as in a damaged installation, still names its place.
    wchar_t keyPath[FolderList::kSize] = L"";
    DWORD keyPathSize = FolderList::kSize;
    const INSTALLSTATE state = MsiGetComponentPathW(product, component, keyPath, &keyPathSize);
    if (state == INSTALLSTATE_UNKNOWN || state == INSTALLSTATE_NOTUSED) {
        return true;
    }
    return state != INSTALLSTATE_MOREDATA && FolderOfKeyPath(keyPath, folder, size);
}

// Adds the folder of each component of `database` that holds Dalmivorax.jar, as Windows Installer
// recorded it for `product`; false when one did not fit, or one cannot be known (`unknown` set).
bool AddJarFolders(MSIHANDLE install, const wchar_t* who, MSIHANDLE database,
                   const wchar_t* product, FolderList& folders, bool& unknown)
{
    MSIHANDLE view = 0;
    if (MsiDatabaseOpenViewW(database,
                             L"SELECT `File`.`FileName`, `Component`.`ComponentId` FROM "
                             L"`File`, `Component` WHERE `File`.`Component_` = "
                             L"`Component`.`Component`",
                             &view) != ERROR_SUCCESS ||
        MsiViewExecute(view, 0) != ERROR_SUCCESS) {
        Log(install, L"%ls: the package of %ls has no File table to look for Dalmivorax.jar in",
            who, product);
        MsiCloseHandle(view);
        return true;
    }
    bool fits = true;
    bool found = false;
    MSIHANDLE row = 0;
    while (fits && MsiViewFetch(view, &row) == ERROR_SUCCESS) {
        wchar_t name[512];
        DWORD nameSize = 512;
        if (MsiRecordGetStringW(row, 1, name, &nameSize) == ERROR_SUCCESS && IsJarFileName(name)) {
            wchar_t component[64] = L"";
            DWORD componentSize = 64;
            wchar_t folder[FolderList::kSize];
            if (MsiRecordGetStringW(row, 2, component, &componentSize) != ERROR_SUCCESS ||
                !ComponentFolder(product, component, folder, FolderList::kSize)) {
                Log(install,
                    L"%ls: Windows Installer cannot name the folder of Dalmivorax.jar of %ls "
                    L"(component \"%ls\": no code, a registry key as its key path, or a path too "
                    L"long)",
                    who, product, component);
                unknown = true;
            } else if (folder[0] != L'\0') {
                Log(install, L"%ls: %ls installed Dalmivorax.jar in %ls (component %ls)", who,
                    product, folder, component);
                fits = AddFolder(folders, folder);
                found = true;
            }
        }
        MsiCloseHandle(row);
    }
    MsiCloseHandle(view);
    if (!found) {
        Log(install, L"%ls: Windows Installer names no folder of Dalmivorax.jar for %ls", who,
            product);
    }
    return fits;
}

// Puts the folder that QuenzCheck recorded for `product`, by the package `database`, into
// `recorded`: empty when none was.
void ReadRecord(MSIHANDLE database, const wchar_t* product, wchar_t* recorded, DWORD size)
{
    recorded[0] = L'\0';
    MSIHANDLE view = 0;
    MSIHANDLE row = 0;
    wchar_t component[64] = L"";
    DWORD componentSize = 64;
    if (MsiDatabaseOpenViewW(database,
                             L"SELECT `ComponentId` FROM `Component` WHERE `Component` = "
                             L"'QuenzRecord'",
                             &view) == ERROR_SUCCESS &&
        MsiViewExecute(view, 0) == ERROR_SUCCESS && MsiViewFetch(view, &row) == ERROR_SUCCESS &&
        MsiRecordGetStringW(row, 1, component, &componentSize) == ERROR_SUCCESS) {
        DWORD length = size;
        const INSTALLSTATE state = MsiGetComponentPathW(product, component, recorded, &length);
        if (state == INSTALLSTATE_UNKNOWN || state == INSTALLSTATE_NOTUSED ||
            state == INSTALLSTATE_MOREDATA) {
            recorded[0] = L'\0';
        }
        // A folder as key path ends in its backslash.
        for (size_t end = wcslen(recorded); end > 0 && recorded[end - 1] == L'\\'; --end) {
            recorded[end - 1] = L'\0';
        }
    }
    MsiCloseHandle(row);
    MsiCloseHandle(view);
}

// The jar folders and the record of `product`, whose package is `database`; `recorded` gets
// the record. False when a folder did not fit, or one is known neither way.
bool AddProductFolders(MSIHANDLE install, const wchar_t* who, MSIHANDLE database,
                       const wchar_t* product, FolderList& folders, wchar_t* recorded, DWORD size)
{
    bool unknown = false;
    if (!AddJarFolders(install, who, database, product, folders, unknown)) {
        return false;
    }
    ReadRecord(database, product, recorded, size);
    if (recorded[0] != L'\0') {
        Log(install, L"%ls: %ls recorded its Java edition's folder %ls", who, product, recorded);
        return AddFolder(folders, recorded);
    }
    if (!unknown) {
        return true;
    }
    // Where nothing was recorded, only the person or the package can say where the jar went.
    if (ReadProperty(install, L"QUENZ_OLD_DIR", recorded, size) && recorded[0] != L'\0') {
        Log(install, L"%ls: QUENZ_OLD_DIR names the Java edition's folder of %ls: %ls", who,
            product, recorded);
        return AddFolder(folders, recorded);
    }
    Log(install,
        L"%ls: %ls recorded no folder of its Java edition (an installation made before "
        L"QuenzCheck recorded one, or without the feature QuenzRecord), and QUENZ_OLD_DIR names "
        L"none: nothing is changed",
        who, product);
    return false;
}

// The jar of a product that this package replaces may belong to a component of another code in
// that product's own package, which Windows Installer keeps; this package serves when there is
// none.
bool AddReplacedFolders(MSIHANDLE install, const wchar_t* who, MSIHANDLE database,
                        const wchar_t* product, FolderList& folders)
{
    wchar_t cached[MAX_PATH];
    DWORD size = MAX_PATH;
    MSIHANDLE own = 0;
    // INSTALLPROPERTY_LOCALPACKAGE, and nullptr is MSIDBOPEN_READONLY.
    const bool opened =
        MsiGetProductInfoW(product, L"LocalPackage", cached, &size) == ERROR_SUCCESS &&
        MsiOpenDatabaseW(cached, nullptr, &own) == ERROR_SUCCESS;
    wchar_t recorded[FolderList::kSize];
    const bool fits = AddProductFolders(install, who, opened ? own : database, product, folders,
                                        recorded, FolderList::kSize);
    MsiCloseHandle(own);
    return fits;
}

} // namespace

bool AddInstalledFolders(MSIHANDLE install, const wchar_t* who, FolderList& folders,
                         wchar_t* recorded, DWORD size)
{
    recorded[0] = L'\0';
    const MSIHANDLE database = MsiGetActiveDatabase(install);
    bool fits = true;
    wchar_t installed[16];
    // A value too long for the buffer is set all the same.
    if (!ReadProperty(install, L"Installed", installed, 16) || installed[0] != L'\0') {
        wchar_t product[64];
        fits = ReadProperty(install, L"ProductCode", product, 64) &&
               AddProductFolders(install, who, database, product, folders, recorded, size);
    }
    MSIHANDLE view = 0;
    MSIHANDLE row = 0;
    if (MsiDatabaseOpenViewW(database, L"SELECT `ActionProperty`, `Attributes` FROM `Upgrade`",
                             &view) == ERROR_SUCCESS &&
        MsiViewExecute(view, 0) == ERROR_SUCCESS) {
        while (fits && MsiViewFetch(view, &row) == ERROR_SUCCESS) {
            if ((MsiRecordGetInteger(row, 2) & kOnlyDetect) == 0) {
                wchar_t property[80];
                DWORD propertySize = 80;
                // FindRelatedProducts, which comes first, puts the products it found there.
                wchar_t related[4096] = L"";
                // A list that does not fit would leave replaced products unchecked.
                fits = MsiRecordGetStringW(row, 1, property, &propertySize) == ERROR_SUCCESS &&
                       ReadProperty(install, property, related, 4096);
                if (!fits) {
                    Log(install, L"%ls: a list of replaced products too long: nothing is changed",
                        who);
                }
                // Product codes, separated by semicolons.
                for (wchar_t* code = related; fits && *code != L'\0';) {
                    wchar_t* end = code + wcscspn(code, L";");
                    const bool more = *end != L'\0';
                    *end = L'\0';
                    if (end != code) {
                        Log(install, L"%ls: this package replaces %ls (%ls)", who, code, property);
                        fits = AddReplacedFolders(install, who, database, code, folders);
                    }
                    code = more ? end + 1 : end;
                }
            }
            MsiCloseHandle(row);
        }
    }
    MsiCloseHandle(view);
    MsiCloseHandle(database);
    if (folders.dropped) {
        Log(install,
            L"%ls: more than %u folders to check, or a folder too long: nothing is changed", who,
            static_cast<unsigned>(FolderList::kCapacity));
    }
    return fits;
}

bool RecordFolder(MSIHANDLE install, const wchar_t* who, const wchar_t* folder)
{
    // Windows Installer takes a folder's path with its final backslash.
    wchar_t path[FolderList::kSize + 1];
    _snwprintf(path, FolderList::kSize + 1, L"%ls\\", folder);
    path[FolderList::kSize] = L'\0';
    const UINT result = MsiSetTargetPathW(install, L"QUENZFOLDER", path);
    if (result == ERROR_SUCCESS) {
        Log(install, L"%ls: the Java edition's folder %ls is recorded", who, folder);
        return true;
    }
    if (result == ERROR_DIRECTORY) {
        Log(install, L"%ls: the package has no directory QUENZFOLDER: no folder is recorded", who);
        return true;
    }
    // The record would name the default folder, and a later run would trust it.
    Log(install, L"%ls: the folder %ls cannot be recorded (error %u): nothing is changed", who,
        folder, result);
    return false;
}
