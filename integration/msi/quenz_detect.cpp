// QuenzDetect, a type 1 immediate custom action for a package's own logic (a condition, a
// dialog): it asks Quenz about the folders of quenz_run.h, looking twice when an edition seems
// to run, and sets the property QUENZ_RUNNING to 0 when no edition runs, 1 when the Java edition
// does, 2 when the Windows edition does, and "error" when Quenz cannot tell. It asks nobody and
// never fails the installation: the guard is QuenzCheck's.
#include <windows.h>

#include <msi.h>

#include "integration/msi/msi_session.h"
#include "integration/msi/quenz_run.h"

// The package's CustomAction row names it: its name and calling convention are the interface.
extern "C" __declspec(dllexport) UINT __stdcall QuenzDetect(MSIHANDLE install);

UINT __stdcall QuenzDetect(MSIHANDLE install)
{
    static QuenzRun run;
    Answer answer = Answer::NoVerdict;
    if (StartRun(install, L"QuenzDetect", run)) {
        answer = AskQuenzAboutAll(install, run);
        EndRun(run);
    }
    const wchar_t* value = answer == Answer::NothingRuns   ? L"0"
                           : answer == Answer::JavaRuns    ? L"1"
                           : answer == Answer::WindowsRuns ? L"2"
                                                           : L"error";
    WriteProperty(install, L"QUENZ_RUNNING", value);
    Log(install, L"QuenzDetect: QUENZ_RUNNING = %ls", value);
    return ERROR_SUCCESS;
}
