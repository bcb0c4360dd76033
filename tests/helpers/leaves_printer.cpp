// A stand-in for a Quenz that answers "nothing runs" and ends, but leaves behind a child that
// inherited its standard output and prints into it without end: whoever reads that pipe finds
// Quenz ended while the pipe never empties. It ends only once the child has begun to print.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (argc == 3 && strcmp(argv[1], "child") == 0) {
        static char line[1 << 16];
        FillMemory(line, sizeof line, 'x');
        WriteFile(out, line, 1, &written, nullptr);
        SetEvent(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(strtoull(argv[2], nullptr, 10))));
        for (;;) {
            WriteFile(out, line, sizeof line, &written, nullptr);
        }
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const HANDLE printing = CreateEventW(&inherit, TRUE, FALSE, nullptr);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t commandLine[64];
    swprintf(commandLine, 64, L"child child %llu",
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(printing)));
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
    WaitForSingleObject(printing, 30000);
    const char verdict[] = "\r\nNenhum Dalmivorax esta em execucao.\r\n";
    WriteFile(out, verdict, sizeof verdict - 1, &written, nullptr);
    return 0;
}
