// A stand-in for a Quenz that answers "nothing runs" and ends, but leaves behind a child that
// inherited its standard output and holds it open without a word. Quenz itself starts nothing, so
// its output is whole only once every holder of the pipe has let go: a reader that stops at
// "ended, and nothing to read for now" would take this line for Quenz's verdict.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "child") == 0) {
        Sleep(INFINITE);
    }
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t commandLine[] = L"child child";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessW(self, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &child)) {
        return 2;
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    const char verdict[] = "Nenhum Dalmivorax esta em execucao.\r\n";
    DWORD written = 0;
    WriteFile(out, verdict, sizeof verdict - 1, &written, nullptr);
    return 0;
}
