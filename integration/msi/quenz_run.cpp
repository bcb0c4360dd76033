#include "integration/msi/quenz_run.h"

#include <wchar.h>

#include "integration/msi/binary_file.h"
#include "integration/msi/installed_folders.h"
#include "integration/msi/msi_session.h"

namespace {

// Each check opens the main file exclusively for a moment, so another check of the same file at
// the same instant looks like a running edition. A running edition holds its file for longer.
const DWORD kConfirmPauseMs = 500;

struct LogTarget
{
    MSIHANDLE install;
    const wchar_t* who;
};

void LogLine(void* context, const wchar_t* text)
{
    const LogTarget& target = *static_cast<const LogTarget*>(context);
    Log(target.install, L"%ls: %ls", target.who, text);
}

// The folder that the run installs into: QUENZ_DIR, or else INSTALLDIR. False, with the reason in
// the log, when neither is set.
bool TargetFolder(MSIHANDLE install, const wchar_t* who, wchar_t* folder, DWORD size)
{
    if (!ReadProperty(install, L"QUENZ_DIR", folder, size) ||
        (folder[0] == L'\0' && !ReadProperty(install, L"INSTALLDIR", folder, size))) {
        Log(install, L"%ls: QUENZ_DIR or INSTALLDIR is too long", who);
        return false;
    }
    if (folder[0] == L'\0') {
        Log(install, L"%ls: neither QUENZ_DIR nor INSTALLDIR is set: nothing is changed", who);
        return false;
    }
    return true;
}

// How long the whole question may take: the property QUENZ_TIMEOUT_MS, milliseconds in decimal
// digits from 1 to 86400000 (a day), or else 120000 (two minutes).
DWORD TimeoutMs(MSIHANDLE install)
{
    wchar_t value[16] = L"";
    DWORD milliseconds = 120000;
    if (ReadProperty(install, L"QUENZ_TIMEOUT_MS", value, 16)) {
        ReadMilliseconds(value, 1, 86400000, milliseconds);
    }
    return milliseconds;
}

} // namespace

bool StartRun(MSIHANDLE install, const wchar_t* who, QuenzRun& run)
{
    run = {};
    run.who = who;
    Log(install, L"%ls: checking whether Dalmivorax runs", who);
    FolderList folders = {};
    wchar_t target[FolderList::kSize];
    if (!TargetFolder(install, who, target, FolderList::kSize)) {
        return false;
    }
    if (!AddFolder(folders, target)) {
        Log(install, L"%ls: the folder %ls is too long: nothing is changed", who, target);
        return false;
    }
    if (!AddInstalledFolders(install, who, folders, run.record, kFolderSize) ||
        !AllFoldersListed(folders) || !ExtractBinary(install, L"Quenz", run.quenz, MAX_PATH)) {
        return false;
    }
    if (run.record[0] == L'\0') {
        wcscpy(run.record, folders.names[0]);
    }
    run.question.quenz = run.quenz;
    run.question.timeoutMs = TimeoutMs(install);
    run.question.pauseMs = kConfirmPauseMs;
    LogTarget log = {install, who};
    const Report report = {LogLine, nullptr, &log};
    for (size_t index = 0; index < folders.count; ++index) {
        Answer doubt = Answer::NoVerdict;
        if (!PutFolder(run.question, folders.names[index], report, doubt)) {
            Log(install, L"%ls: nothing is changed", who);
            EndRun(run);
            return false;
        }
    }
    return true;
}

Answer AskQuenzAboutAll(MSIHANDLE install, const QuenzRun& run)
{
    LogTarget log = {install, run.who};
    return Ask(run.question, {LogLine, nullptr, &log});
}

void EndRun(const QuenzRun& run)
{
    DeleteFileW(run.quenz);
}
