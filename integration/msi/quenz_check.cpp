// QuenzCheck, a type 1 immediate custom action: while an edition of Dalmivorax runs, nothing
// is installed or removed. It runs the package's own Quenz.exe (Binary row "Quenz") for the
// Java edition's folder, the property QUENZ_DIR or else INSTALLDIR, and returns
// - ERROR_SUCCESS when no edition runs;
// - ERROR_INSTALL_USEREXIT when the person, asked to close the running edition, cancels;
// - ERROR_INSTALL_FAILURE when an edition runs and nobody can be asked (a silent or basic-UI
//   run), or when Quenz cannot be run or gives no verdict: that never counts as "nothing runs".
#include <windows.h>

#include <msi.h>
#include <wchar.h>

#include "integration/msi/binary_file.h"
#include "integration/msi/folder_argument.h"
#include "integration/msi/hidden_process.h"
#include "integration/msi/msi_session.h"
#include "integration/msi/verdict.h"

namespace {

const wchar_t kCloseIt[] = L"\r\n\r\nFeche-o e clique em Repetir para continuar, ou em Cancelar "
                           L"para sair sem alterar nada.";
// Each check opens the main file exclusively for a moment, so another check of the same file at
// the same instant looks like a running edition. A running edition holds its file for longer.
const DWORD kConfirmPauseMs = 500;

// Runs Quenz once, writing each line it printed and its answer to the log.
QuenzAnswer AskQuenz(MSIHANDLE install, wchar_t* commandLine)
{
    char output[8192];
    size_t length = 0;
    DWORD exitCode = 0;
    if (!RunHidden(commandLine, output, sizeof output, length, exitCode)) {
        Log(install, L"QuenzCheck: Quenz could not be run (error %lu): %ls", exitCode, commandLine);
        return QuenzAnswer::NoAnswer;
    }
    for (size_t start = 0, end = 0; start < length; start = end + 1) {
        for (end = start; end < length && output[end] != '\n'; ++end) {
        }
        wchar_t line[2048];
        const size_t bytes = end - start - (end > start && output[end - 1] == '\r' ? 1 : 0);
        const int count =
            MultiByteToWideChar(CP_ACP, 0, output + start, static_cast<int>(bytes), line, 2047);
        line[count > 0 ? count : 0] = L'\0';
        Log(install, L"QuenzCheck: Quenz: %ls", line);
    }
    const QuenzAnswer answer = ReadAnswer(exitCode, output, length);
    if (answer == QuenzAnswer::NoAnswer) {
        Log(install, L"QuenzCheck: Quenz gave no verdict (exit code %lu)", exitCode);
    }
    return answer;
}

// Asks Quenz until no edition runs, or the person cancels, or nobody can be asked.
UINT WaitWhileRunning(MSIHANDLE install, wchar_t* commandLine)
{
    bool confirming = false;
    for (;;) {
        const QuenzAnswer answer = AskQuenz(install, commandLine);
        if (answer == QuenzAnswer::NothingRuns) {
            Log(install, L"QuenzCheck: no edition of Dalmivorax runs: the installation goes on");
            return ERROR_SUCCESS;
        }
        if (answer == QuenzAnswer::NoAnswer) {
            Log(install, L"QuenzCheck: cannot tell whether Dalmivorax runs: nothing is changed");
            return ERROR_INSTALL_FAILURE;
        }
        if (!confirming) {
            confirming = true;
            Sleep(kConfirmPauseMs);
            continue;
        }
        confirming = false;
        const bool java = answer == QuenzAnswer::JavaRuns;
        wchar_t text[512];
        _snwprintf(text, 512, L"O Dalmivorax %ls está em execução.%ls", java ? L"Java" : L"Windows",
                   kCloseIt);
        text[511] = L'\0';
        Log(install, L"QuenzCheck: the %ls edition runs; asking the person to close it",
            java ? L"Java" : L"Windows");
        const int choice = AskRetryOrCancel(install, text);
        if (choice == IDCANCEL) {
            Log(install, L"QuenzCheck: the person cancelled: nothing is changed");
            return ERROR_INSTALL_USEREXIT;
        }
        if (choice != IDRETRY) {
            Log(install, L"QuenzCheck: nobody can be asked (a silent or basic-UI run): nothing is "
                         L"changed");
            return ERROR_INSTALL_FAILURE;
        }
    }
}

// Puts Quenz's argument for the Java edition's folder into `argument`; false, with the reason
// in the log, when the folder cannot reach Quenz.
bool FolderArgument(MSIHANDLE install, wchar_t* argument, size_t size)
{
    wchar_t folder[1024];
    if (!ReadProperty(install, L"QUENZ_DIR", folder, 1024) ||
        (folder[0] == L'\0' && !ReadProperty(install, L"INSTALLDIR", folder, 1024))) {
        Log(install, L"QuenzCheck: QUENZ_DIR or INSTALLDIR is too long");
        return false;
    }
    if (folder[0] == L'\0') {
        Log(install, L"QuenzCheck: neither QUENZ_DIR nor INSTALLDIR is set: nothing is changed");
        return false;
    }
    // A backslash before the closing quote would escape it: "C:\Apps\" reaches Quenz as
    // C:\Apps" followed by the rest of the command line. The folder means the same without it.
    for (size_t end = wcslen(folder); end > 0 && folder[end - 1] == L'\\'; --end) {
        folder[end - 1] = L'\0';
    }
    wchar_t shortForm[1024];
    const DWORD length = GetShortPathNameW(folder, shortForm, 1024);
    shortForm[length > 0 && length < 1024 ? length : 0] = L'\0';
    const DWORD attributes = GetFileAttributesW(folder);
    const bool exists =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!MakeFolderArgument(folder, shortForm, exists, argument, size)) {
        Log(install,
            L"QuenzCheck: the folder %ls has letters that Quenz cannot receive, and no short "
            L"(8.3) name: nothing is changed",
            folder);
        return false;
    }
    Log(install, L"QuenzCheck: the Java edition's folder is %ls; Quenz is given %ls", folder,
        argument);
    return true;
}

} // namespace

// The package's CustomAction row names it: its name and calling convention are the interface.
extern "C" __declspec(dllexport) UINT __stdcall QuenzCheck(MSIHANDLE install);

UINT __stdcall QuenzCheck(MSIHANDLE install)
{
    Log(install, L"QuenzCheck: checking whether Dalmivorax runs");
    wchar_t argument[1100];
    wchar_t quenz[MAX_PATH];
    if (!FolderArgument(install, argument, 1100) ||
        !ExtractBinary(install, L"Quenz", quenz, MAX_PATH)) {
        return ERROR_INSTALL_FAILURE;
    }
    wchar_t commandLine[MAX_PATH + 1104];
    _snwprintf(commandLine, MAX_PATH + 1104, L"\"%ls\" %ls", quenz, argument);
    commandLine[MAX_PATH + 1103] = L'\0';
    const UINT result = WaitWhileRunning(install, commandLine);
    DeleteFileW(quenz);
    return result;
}
