// QuenzCheck, a type 1 immediate custom action: while an edition of Dalmivorax runs, nothing
// is installed or removed. It runs Quenz over the folders of quenz_run.h, and returns
// - ERROR_SUCCESS when no edition runs;
// - ERROR_INSTALL_USEREXIT when the person, asked to close the running edition, cancels;
// - ERROR_INSTALL_FAILURE when an edition runs and nobody can be asked (no box in a silent or
//   passive run), or when Quenz cannot tell: that never counts as "nothing runs".
#include <windows.h>

#include <msi.h>
#include <wchar.h>

#include "integration/msi/installed_folders.h"
#include "integration/msi/msi_session.h"
#include "integration/msi/quenz_run.h"

namespace {

// The box's texts, as Quenz.nsh's defines of the same names; a package may set each property.
const wchar_t kJavaRuns[] = L"O Dalmivorax Java está em execução.";
const wchar_t kWindowsRuns[] = L"O Dalmivorax Windows está em execução.";
const wchar_t kCloseIt[] =
    L"Feche-o e clique em Repetir para continuar, ou em Cancelar para sair sem alterar nada.";

// The property `name` as the package or the command line set it, or else `fallback`.
const wchar_t* TextOr(MSIHANDLE install, const wchar_t* name, const wchar_t* fallback,
                      wchar_t* value, DWORD size)
{
    return ReadProperty(install, name, value, size) && value[0] != L'\0' ? value : fallback;
}

// Asks Quenz until no edition runs, or the person cancels, or nobody can be asked.
UINT WaitWhileRunning(MSIHANDLE install, const QuenzRun& run)
{
    for (;;) {
        const Answer answer = AskQuenzAboutAll(install, run);
        if (answer == Answer::NothingRuns) {
            Log(install, L"QuenzCheck: no edition of Dalmivorax runs: the installation goes on");
            return ERROR_SUCCESS;
        }
        if (CannotTell(answer)) {
            Log(install, L"QuenzCheck: cannot tell whether Dalmivorax runs: nothing is changed");
            return ERROR_INSTALL_FAILURE;
        }
        const bool java = answer == Answer::JavaRuns;
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

} // namespace

// The package's CustomAction row names it: its name and calling convention are the interface.
extern "C" __declspec(dllexport) UINT __stdcall QuenzCheck(MSIHANDLE install);

UINT __stdcall QuenzCheck(MSIHANDLE install)
{
    static QuenzRun run;
    if (!StartRun(install, L"QuenzCheck", run)) {
        return ERROR_INSTALL_FAILURE;
    }
    // Here, after CostFinalize, and not in QuenzDetect, which a package may schedule before it.
    const UINT result = RecordFolder(install, L"QuenzCheck", run.record)
                            ? WaitWhileRunning(install, run)
                            : ERROR_INSTALL_FAILURE;
    EndRun(run);
    return result;
}
