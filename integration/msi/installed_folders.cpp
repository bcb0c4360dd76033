#include "integration/msi/installed_folders.h"

#include <msiquery.h>
#include <wchar.h>

#include "integration/msi/msi_session.h"

namespace {

// An Upgrade row of this kind only detects: it replaces nothing (msidbUpgradeAttributesOnlyDetect).
const int kOnlyDetect = 2;

// Adds the folder of each component of `database` that holds Dalmivorax.jar, as Windows Installer
// recorded it for `product`; false when one did not fit.
bool AddJarFolders(MSIHANDLE install, MSIHANDLE database, const wchar_t* product,
                   FolderList& folders)
{
    MSIHANDLE view = 0;
    if (MsiDatabaseOpenViewW(database,
                             L"SELECT `File`.`FileName`, `Component`.`ComponentId` FROM "
                             L"`File`, `Component` WHERE `File`.`Component_` = "
                             L"`Component`.`Component`",
                             &view) != ERROR_SUCCESS ||
        MsiViewExecute(view, 0) != ERROR_SUCCESS) {
        Log(install,
            L"QuenzCheck: the package of %ls has no File table to look for Dalmivorax.jar in",
            product);
        MsiCloseHandle(view);
        return true;
    }
    bool fits = true;
    bool found = false;
    MSIHANDLE row = 0;
    while (fits && MsiViewFetch(view, &row) == ERROR_SUCCESS) {
        wchar_t name[512];
        DWORD nameSize = 512;
        wchar_t component[64];
        DWORD componentSize = 64;
        if (MsiRecordGetStringW(row, 1, name, &nameSize) == ERROR_SUCCESS && IsJarFileName(name) &&
            MsiRecordGetStringW(row, 2, component, &componentSize) == ERROR_SUCCESS) {
            // A key file that is gone, as in a damaged installation, still names its place.
            wchar_t keyPath[FolderList::kSize] = L"";
            DWORD keyPathSize = FolderList::kSize;
            const INSTALLSTATE state =
                MsiGetComponentPathW(product, component, keyPath, &keyPathSize);
            wchar_t folder[FolderList::kSize];
            if (state != INSTALLSTATE_MOREDATA &&
                FolderOfKeyPath(keyPath, folder, FolderList::kSize)) {
                Log(install, L"QuenzCheck: %ls installed Dalmivorax.jar in %ls (component %ls)",
                    product, folder, component);
                fits = AddFolder(folders, folder);
                found = true;
            }
        }
        MsiCloseHandle(row);
    }
    MsiCloseHandle(view);
    if (!found) {
        Log(install, L"QuenzCheck: Windows Installer names no folder of Dalmivorax.jar for %ls",
            product);
    }
    return fits;
}

// The jar of a product that this package replaces may belong to a component of another code in
// that product's own package, which Windows Installer keeps; this package serves when there is
// none.
bool AddReplacedFolders(MSIHANDLE install, MSIHANDLE database, const wchar_t* product,
                        FolderList& folders)
{
    wchar_t cached[MAX_PATH];
    DWORD size = MAX_PATH;
    MSIHANDLE own = 0;
    // INSTALLPROPERTY_LOCALPACKAGE, and nullptr is MSIDBOPEN_READONLY.
    const bool opened =
        MsiGetProductInfoW(product, L"LocalPackage", cached, &size) == ERROR_SUCCESS &&
        MsiOpenDatabaseW(cached, nullptr, &own) == ERROR_SUCCESS;
    const bool fits = AddJarFolders(install, opened ? own : database, product, folders);
    MsiCloseHandle(own);
    return fits;
}

} // namespace

bool AddInstalledFolders(MSIHANDLE install, FolderList& folders)
{
    const MSIHANDLE database = MsiGetActiveDatabase(install);
    bool fits = true;
    wchar_t installed[16];
    // A value too long for the buffer is set all the same.
    if (!ReadProperty(install, L"Installed", installed, 16) || installed[0] != L'\0') {
        wchar_t product[64];
        fits = ReadProperty(install, L"ProductCode", product, 64) &&
               AddJarFolders(install, database, product, folders);
    }
    MSIHANDLE view = 0;
    MSIHANDLE row = 0;
    if (MsiDatabaseOpenViewW(database, L"SELECT `ActionProperty`, `Attributes` FROM `Upgrade`",
                             &view) == ERROR_SUCCESS &&
        MsiViewExecute(view, 0) == ERROR_SUCCESS) {
        while (fits && MsiViewFetch(view, &row) == ERROR_SUCCESS) {
            if ((MsiRecordGetInteger(row, 2) & kOnlyDetect) == 0) {
                wchar_t property[80];
                DWORD size = 80;
                // FindRelatedProducts, which comes first, puts the products it found there.
                wchar_t related[4096] = L"";
                // A list that does not fit would leave replaced products unchecked.
                fits = MsiRecordGetStringW(row, 1, property, &size) == ERROR_SUCCESS &&
                       ReadProperty(install, property, related, 4096);
                // Product codes, separated by semicolons.
                for (wchar_t* code = related; fits && *code != L'\0';) {
                    wchar_t* end = code + wcscspn(code, L";");
                    const bool more = *end != L'\0';
                    *end = L'\0';
                    if (end != code) {
                        Log(install, L"QuenzCheck: this package replaces %ls (%ls)", code,
                            property);
                        fits = AddReplacedFolders(install, database, code, folders);
                    }
                    code = more ? end + 1 : end;
                }
            }
            MsiCloseHandle(row);
        }
    }
    MsiCloseHandle(view);
    MsiCloseHandle(database);
    if (!fits) {
        Log(install,
            L"QuenzCheck: more than %u folders to check, or a folder or a list of products "
            L"too long: nothing is changed",
            static_cast<unsigned>(FolderList::kCapacity));
    }
    return fits;
}
