// QuenzCheck, a type 1 immediate custom action: while an edition of Dalmivorax runs, nothing
// is installed or removed. It runs the package's own Quenz.exe (Binary row "Quenz") for each
// folder of the Java edition that the run would change: the property QUENZ_DIR or else
// INSTALLDIR, and where Windows Installer has put Dalmivorax.jar for the installed product and
// for those that a major upgrade replaces. It returns
// - ERROR_SUCCESS when no edition runs;
// - ERROR_INSTALL_USEREXIT when the person, asked to close the running edition, cancels;
// - ERROR_INSTALL_FAILURE when an edition runs and nobody can be asked (no box in a silent or
//   passive run), or when Quenz cannot be run or gives no verdict: that never counts as
//   "nothing runs".
#include <windows.h>

#include <msi.h>
#include <wchar.h>

#include "integration/msi/binary_file.h"
#include "integration/msi/folder_argument.h"
#include "integration/msi/folder_list.h"
#include "integration/msi/hidden_process.h"
#include "integration/msi/installed_folders.h"
#include "integration/msi/msi_session.h"
#include "integration/msi/verdict.h"

namespace {

// The box's texts, as Quenz.nsh's defines of the same names; a package may set each property.
const wchar_t kJavaRuns[] = L"O Dalmivorax Java está em execução.";
const wchar_t kWindowsRuns[] = L"O Dalmivorax Windows está em execução.";
const wchar_t kCloseIt[] =
    L"Feche-o e clique em Repetir para continuar, ou em Cancelar para sair sem alterar nada.";
// Each check opens the main file exclusively for a moment, so another check of the same file at
// the same instant looks like a running edition. A running edition holds its file for longer.
const DWORD kConfirmPauseMs = 500;
// Quenz's path and one folder's argument, quoted, with room for -nw.
const size_t kCommandLineSize = MAX_PATH + 1110;

// Runs Quenz once, `timeoutMs` at most, writing each line it printed and its answer to the log.
QuenzAnswer AskQuenz(MSIHANDLE install, wchar_t* commandLine, DWORD timeoutMs)
{
    char output[8192];
    size_t length = 0;
    DWORD exitCode = 0;
    bool timedOut = false;
    if (!RunHidden(commandLine, timeoutMs, output, sizeof output, length, exitCode, timedOut)) {
        if (timedOut) {
            Log(install, L"QuenzCheck: Quenz did not end within %lu ms, and was ended: %ls",
                timeoutMs, commandLine);
        } else {
            Log(install, L"QuenzCheck: Quenz could not be run (error %lu): %ls", exitCode,
                commandLine);
        }
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

// Asks Quenz about every folder, the Windows edition with the first only; the first edition found
// running is the answer.
QuenzAnswer AskQuenzAboutAll(MSIHANDLE install, wchar_t (*commandLines)[kCommandLineSize],
                             size_t count, DWORD timeoutMs)
{
    QuenzAnswer answer = QuenzAnswer::NothingRuns;
    for (size_t index = 0; index < count && answer == QuenzAnswer::NothingRuns; ++index) {
        answer = AskQuenz(install, commandLines[index], timeoutMs);
    }
    return answer;
}

// The property `name` as the package or the command line set it, or else `fallback`.
const wchar_t* TextOr(MSIHANDLE install, const wchar_t* name, const wchar_t* fallback,
                      wchar_t* value, DWORD size)
{
    return ReadProperty(install, name, value, size) && value[0] != L'\0' ? value : fallback;
}

// Asks Quenz until no edition runs, or the person cancels, or nobody can be asked.
UINT WaitWhileRunning(MSIHANDLE install, wchar_t (*commandLines)[kCommandLineSize], size_t count)
{
    wchar_t limit[16] = L"";
    const DWORD timeoutMs =
        TimeoutMs(ReadProperty(install, L"QUENZ_TIMEOUT_MS", limit, 16) ? limit : L"");
    bool confirming = false;
    for (;;) {
        const QuenzAnswer answer = AskQuenzAboutAll(install, commandLines, count, timeoutMs);
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
        Log(install, L"QuenzCheck: the %ls edition runs", java ? L"Java" : L"Windows");
        wchar_t running[1024];
        wchar_t closeIt[1024];
        wchar_t text[2048];
        _snwprintf(
            text, 2048, L"%ls\r\n\r\n%ls",
            java ? TextOr(install, L"QUENZ_TEXT_JAVA_RUNNING", kJavaRuns, running, 1024)
                 : TextOr(install, L"QUENZ_TEXT_WINDOWS_RUNNING", kWindowsRuns, running, 1024),
            TextOr(install, L"QUENZ_TEXT_CLOSE_IT", kCloseIt, closeIt, 1024));
        text[2047] = L'\0';
        // Windows Installer shows the box in the full, reduced and basic UI (Apps & Features
        // removes a product with the basic one), and answers 0 where nobody can see it.
        const int choice = AskRetryOrCancel(install, text);
        if (choice == IDCANCEL) {
            Log(install, L"QuenzCheck: asking the person to close it: Cancel, nothing is changed");
            return ERROR_INSTALL_USEREXIT;
        }
        if (choice != IDRETRY) {
            Log(install,
                L"QuenzCheck: nobody can be asked (no box in a silent or passive run, "
                L"answer %d): nothing is changed",
                choice);
            return ERROR_INSTALL_FAILURE;
        }
        Log(install, L"QuenzCheck: asking the person to close it: Retry, Quenz checks again");
    }
}

// The folder that the run installs into: QUENZ_DIR, or else INSTALLDIR. False, with the reason in
// the log, when neither is set.
bool TargetFolder(MSIHANDLE install, wchar_t* folder, DWORD size)
{
    if (!ReadProperty(install, L"QUENZ_DIR", folder, size) ||
        (folder[0] == L'\0' && !ReadProperty(install, L"INSTALLDIR", folder, size))) {
        Log(install, L"QuenzCheck: QUENZ_DIR or INSTALLDIR is too long");
        return false;
    }
    if (folder[0] == L'\0') {
        Log(install, L"QuenzCheck: neither QUENZ_DIR nor INSTALLDIR is set: nothing is changed");
        return false;
    }
    return true;
}

// Whether the folder may be there: it is, or the system cannot say that it is not. A name of
// MAX_PATH letters or more, which the system may be unable to look up where long paths are not
// enabled, is never taken as missing, nor is one that cannot be read.
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

// Puts Quenz's command line for `folder` into `commandLine`, with -nw after the first folder;
// false, with the reason in the log, when the folder cannot reach Quenz.
bool CommandLineFor(MSIHANDLE install, const wchar_t* quenz, const wchar_t* folder, bool first,
                    wchar_t* commandLine)
{
    wchar_t shortForm[FolderList::kSize];
    const DWORD length = GetShortPathNameW(folder, shortForm, FolderList::kSize);
    shortForm[length > 0 && length < FolderList::kSize ? length : 0] = L'\0';
    wchar_t argument[FolderList::kSize + 8];
    if (!MakeFolderArgument(folder, shortForm, MayExist(folder), GetACP(), argument,
                            FolderList::kSize + 8)) {
        Log(install,
            L"QuenzCheck: the folder \"%ls\" has letters that Quenz cannot receive, or takes "
            L"more than 244 bytes in the ANSI code page, and no short (8.3) name that fits: "
            L"nothing is changed",
            folder);
        return false;
    }
    Log(install, L"QuenzCheck: the Java edition's folder is %ls; Quenz is given %ls", folder,
        argument);
    _snwprintf(commandLine, kCommandLineSize, L"\"%ls\" %ls%ls", quenz, argument,
               first ? L"" : L" -nw");
    commandLine[kCommandLineSize - 1] = L'\0';
    return true;
}

} // namespace

// The package's CustomAction row names it: its name and calling convention are the interface.
extern "C" __declspec(dllexport) UINT __stdcall QuenzCheck(MSIHANDLE install);

UINT __stdcall QuenzCheck(MSIHANDLE install)
{
    Log(install, L"QuenzCheck: checking whether Dalmivorax runs");
    FolderList folders = {};
    wchar_t target[FolderList::kSize];
    if (!TargetFolder(install, target, FolderList::kSize) || !AddFolder(folders, target) ||
        !AddInstalledFolders(install, folders) || !AllFoldersListed(folders)) {
        return ERROR_INSTALL_FAILURE;
    }
    wchar_t quenz[MAX_PATH];
    if (!ExtractBinary(install, L"Quenz", quenz, MAX_PATH)) {
        return ERROR_INSTALL_FAILURE;
    }
    wchar_t commandLines[FolderList::kCapacity][kCommandLineSize];
    bool reachable = true;
    for (size_t index = 0; index < folders.count && reachable; ++index) {
        reachable =
            CommandLineFor(install, quenz, folders.names[index], index == 0, commandLines[index]);
    }
    const UINT result =
        reachable ? WaitWhileRunning(install, commandLines, folders.count) : ERROR_INSTALL_FAILURE;
    DeleteFileW(quenz);
    return result;
}
