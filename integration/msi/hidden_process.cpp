#include "integration/msi/hidden_process.h"

namespace {

// How long a program that was ended may take to go.
const DWORD kEndingMs = 5000;

} // namespace

bool RunHidden(wchar_t* commandLine, DWORD timeoutMs, char* output, size_t size, size_t& length,
               DWORD& exitCode, bool& timedOut)
{
    length = 0;
    exitCode = 0;
    timedOut = false;
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
        // Read what has come while waiting, so that the program never blocks on a full pipe, and
        // past the buffer. The deadline is looked at on every pass: a program that never stops
        // printing keeps the pipe from ever being empty.
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        bool ended = false;
        for (;;) {
            DWORD available = 0;
            if (!PeekNamedPipe(reading, nullptr, 0, nullptr, &available, nullptr)) {
                available = 0;
            }
            if (available > 0) {
                char rest[512] = {};
                const bool room = length < size;
                DWORD count = 0;
                const DWORD most = room ? static_cast<DWORD>(size - length) : sizeof rest;
                ReadFile(reading, room ? output + length : rest,
                         available < most ? available : most, &count, nullptr);
                fits = fits && room;
                length += room ? count : 0;
            } else if (ended) {
                break;
            } else {
                // Once it has ended, one more round takes what it wrote last.
                ended = WaitForSingleObject(started.hProcess, 20) == WAIT_OBJECT_0;
            }
            if (!ended && GetTickCount64() >= deadline) {
                // A process stuck in I/O, on a dead network path say, may take long to go even
                // then: the wait for it is bounded too.
                TerminateProcess(started.hProcess, 1);
                WaitForSingleObject(started.hProcess, kEndingMs);
                timedOut = true;
                break;
            }
        }
        GetExitCodeProcess(started.hProcess, &exitCode);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    CloseHandle(reading);
    length = fits ? length : 0;
    return running && !timedOut;
}
