// Stands in for a running Dalmivorax: holds a file open the way a Java runtime or a plain
// reader does, or, copied to Dalmivorax.exe, simply runs. It writes one byte to standard
// output once it is ready and ends when its standard input closes, so that a test never
// has to guess with a sleep.
//   holder shared PATH      GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE
//   holder exclusive PATH   GENERIC_READ, no sharing
//   holder                  holds nothing but its own image
#include <wchar.h>
#include <windows.h>

#include <string>

// Wide arguments, so that a path outside the ANSI code page arrives whole.
int wmain(int argc, wchar_t** argv)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    if (argc == 3) {
        const DWORD share =
            wcscmp(argv[1], L"shared") == 0 ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
        // The \\?\ form reaches paths longer than MAX_PATH as well.
        file = CreateFileW((std::wstring(L"\\\\?\\") + argv[2]).c_str(), GENERIC_READ, share,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return 2;
        }
    }
    DWORD count = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "R", 1, &count, nullptr);
    char byte = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &count, nullptr) && count == 1) {
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return 0;
}
