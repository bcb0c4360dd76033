#include "integration/msi/quenz_run.h"

#include <wchar.h>

#include "integration/msi/binary_file.h"
#include "integration/msi/folder_argument.h"
#include "integration/msi/hidden_process.h"
#include "integration/msi/installed_folders.h"
#include "integration/msi/msi_session.h"

namespace {

// Runs Quenz once, `timeoutMs` at most, writing each line it printed and its answer to the log.
QuenzAnswer AskQuenz(MSIHANDLE install, const wchar_t* given, DWORD timeoutMs)
{
    // CreateProcessW may write into its command line.
    wchar_t commandLine[QuenzRun::kCommandLineSize];
    wcscpy(commandLine, given);
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
    _snwprintf(commandLine, QuenzRun::kCommandLineSize, L"\"%ls\" %ls%ls", quenz, argument,
               first ? L"" : L" -nw");
    commandLine[QuenzRun::kCommandLineSize - 1] = L'\0';
    return true;
}

} // namespace

bool StartRun(MSIHANDLE install, const wchar_t* who, QuenzRun& run)
{
    Log(install, L"%ls: checking whether Dalmivorax runs", who);
    FolderList folders = {};
    wchar_t target[FolderList::kSize];
    if (!TargetFolder(install, target, FolderList::kSize) || !AddFolder(folders, target) ||
        !AddInstalledFolders(install, folders) || !AllFoldersListed(folders) ||
        !ExtractBinary(install, L"Quenz", run.quenz, MAX_PATH)) {
        return false;
    }
    bool reachable = true;
    for (size_t index = 0; index < folders.count && reachable; ++index) {
        reachable = CommandLineFor(install, run.quenz, folders.names[index], index == 0,
                                   run.commandLines[index]);
    }
    run.count = folders.count;
    wchar_t limit[16] = L"";
    run.timeoutMs = TimeoutMs(ReadProperty(install, L"QUENZ_TIMEOUT_MS", limit, 16) ? limit : L"");
    if (!reachable) {
        EndRun(run);
    }
    return reachable;
}

QuenzAnswer AskQuenzAboutAll(MSIHANDLE install, const QuenzRun& run)
{
    QuenzAnswer answer = QuenzAnswer::NothingRuns;
    for (size_t index = 0; index < run.count && answer == QuenzAnswer::NothingRuns; ++index) {
        answer = AskQuenz(install, run.commandLines[index], run.timeoutMs);
    }
    return answer;
}

void EndRun(const QuenzRun& run)
{
    DeleteFileW(run.quenz);
}
