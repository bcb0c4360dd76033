// Stands in for a running Dalmivorax: holds a file open the way a Java runtime or a plain
// reader does, or, copied to Dalmivorax.exe, simply runs. It writes one byte to standard
// output once it is ready and ends when its standard input closes, so that a test never
// has to guess with a sleep.
//   holder shared PATH      GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE
//   holder exclusive PATH   GENERIC_READ, no sharing
//   holder                  holds nothing but its own image
#include <string.h>
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    if (argc == 3) {
        const DWORD share = strcmp(argv[1], "shared") == 0 ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
        // The \\?\ form reaches paths longer than MAX_PATH as well.
        wchar_t wide[1024];
        if (MultiByteToWideChar(CP_ACP, 0, argv[2], -1, wide, 1024) == 0) {
            return 3;
        }
        file = CreateFileW((std::wstring(L"\\\\?\\") + wide).c_str(), GENERIC_READ, share, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
