#include "integration/msi/hidden_process.h"

bool RunHidden(wchar_t* commandLine, char* output, size_t size, size_t& length, DWORD& exitCode)
{
    length = 0;
    exitCode = 0;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    if (!CreatePipe(&reading, &writing, &inherit, 0)) {
        exitCode = GetLastError();
        return false;
    }
    SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writing;
    startup.hStdError = writing;
    PROCESS_INFORMATION started = {};
    const bool running = CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
    if (!running) {
        exitCode = GetLastError();
    }
    CloseHandle(writing);
    bool fits = true;
    if (running) {
        // Read to the end even past the buffer, so that the program never blocks on a full pipe.
        char rest[512] = {};
        DWORD count = 0;
        for (;;) {
            const bool room = length < size;
            if (!ReadFile(reading, room ? output + length : rest,
                          room ? static_cast<DWORD>(size - length) : sizeof rest, &count,
                          nullptr) ||
                count == 0) {
                break;
            }
            fits = fits && room;
            length += room ? count : 0;
        }
        WaitForSingleObject(started.hProcess, INFINITE);
        GetExitCodeProcess(started.hProcess, &exitCode);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    CloseHandle(reading);
    length = fits ? length : 0;
    return running;
}
