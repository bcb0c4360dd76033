#include "integration/core/quenz_process.h"

namespace {

// How long a program that was ended may take to go.
const DWORD kEndingMs = 5000;

// A job whose last handle's closing ends every process in it, Quenz and all it started. Null
// when there is none: where this process is in a job that allows no other (Windows 7), Quenz runs
// outside one, and the deadline alone ends it.
HANDLE MakeJob()
{
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr &&
        !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

// Reads what Quenz printed until it has ended and every holder of the pipe's writing end has
// closed it, or until the deadline, so that Quenz never blocks on a full pipe. Ended and empty
// is not enough: a child that kept the pipe may write again. The deadline is looked at on every
// pass: a program that never stops printing keeps the pipe from ever being empty.
bool ReadUntilEnded(HANDLE process, HANDLE reading, ULONGLONG deadline, QuenzOutput& output)
{
    bool fits = true;
    bool ended = false;
    bool closed = false;
    while (!ended || !closed) {
        DWORD available = 0;
        // It fails once the pipe is empty and no one holds its writing end any more.
        closed = !PeekNamedPipe(reading, nullptr, 0, nullptr, &available, nullptr);
        if (available > 0) {
            char rest[512];
            const bool room = output.length < sizeof output.bytes;
            const DWORD most =
                room ? static_cast<DWORD>(sizeof output.bytes - output.length) : sizeof rest;
            DWORD count = 0;
            ReadFile(reading, room ? output.bytes + output.length : rest,
                     available < most ? available : most, &count, nullptr);
            fits = fits && room;
            output.length += room ? count : 0;
        } else if (!ended) {
            ended = WaitForSingleObject(process, 20) == WAIT_OBJECT_0;
        } else if (!closed) {
            Sleep(20);
        }
        if (GetTickCount64() >= deadline) {
            output.length = 0;
            return false;
        }
    }
    output.length = fits ? output.length : 0;
    return true;
}

} // namespace

RunEnd RunQuenz(const wchar_t* quenz, wchar_t* commandLine, ULONGLONG deadline, QuenzOutput& output)
{
    output.length = 0;
    output.exitCode = 0;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    if (!CreatePipe(&reading, &writing, &inherit, 0)) {
        output.exitCode = GetLastError();
        return RunEnd::NotStarted;
    }
    SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
    const HANDLE job = MakeJob();
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdOutput = writing;
    startup.StartupInfo.hStdError = writing;
    // Quenz inherits the pipe's writing end and nothing else: a Quenz stuck in I/O that outlives
    // this process must not hold this process's own output, which its caller reads to the end.
    alignas(8) unsigned char attributes[256];
    SIZE_T size = sizeof attributes;
    startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes);
    HANDLE inherited = writing;
    HANDLE jobs = job;
    const bool listed =
        InitializeProcThreadAttributeList(startup.lpAttributeList, 2, 0, &size) &&
        UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                  &inherited, sizeof inherited, nullptr, nullptr);
    // Started in the job where the system can (Windows 10 on), so that no moment passes outside
    // it in which the end of this process would leave Quenz behind; else put in it at once,
    // still suspended.
    const bool startedInJob =
        listed && job != nullptr &&
        UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_JOB_LIST, &jobs,
                                  sizeof jobs, nullptr, nullptr);
    PROCESS_INFORMATION started = {};
    // Without a console: it prints into the pipe alone, and a console of its own
    // (CREATE_NO_WINDOW) would cost more than Quenz's whole run.
    bool running =
        listed && CreateProcessW(quenz, commandLine, nullptr, nullptr, TRUE,
                                 DETACHED_PROCESS | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT,
                                 nullptr, nullptr, &startup.StartupInfo, &started);
    if (!running) {
        output.exitCode = GetLastError();
    }
    if (listed) {
        DeleteProcThreadAttributeList(startup.lpAttributeList);
    }
    CloseHandle(writing);
    RunEnd end = RunEnd::NotStarted;
    if (running && job != nullptr && !startedInJob) {
        AssignProcessToJobObject(job, started.hProcess);
    }
    if (running && ResumeThread(started.hThread) == static_cast<DWORD>(-1)) {
        output.exitCode = GetLastError();
        TerminateProcess(started.hProcess, 1);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        running = false;
    }
    if (running) {
        end = ReadUntilEnded(started.hProcess, reading, deadline, output) ? RunEnd::Ended
                                                                          : RunEnd::TimedOut;
        if (end == RunEnd::TimedOut) {
            // A process stuck in I/O, on a dead network path say, may take long to go even
            // then: the wait for it is bounded too.
            TerminateProcess(started.hProcess, 1);
            WaitForSingleObject(started.hProcess, kEndingMs);
        }
        GetExitCodeProcess(started.hProcess, &output.exitCode);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    if (job != nullptr) {
        CloseHandle(job);
    }
    CloseHandle(reading);
    return end;
}
