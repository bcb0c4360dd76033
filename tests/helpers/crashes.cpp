// A stand-in for a Quenz that crashed on its way out: it prints the line of "nothing runs", then
// ends with an access violation's code, which a batch file's errorlevel reads as a negative
// number. Only the pair of 0 and that line means "nothing runs".
#include <windows.h>

int main()
{
    const char line[] = "Nenhum Dalmivorax esta em execucao.\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, sizeof line - 1, &written, nullptr);
    ExitProcess(EXCEPTION_ACCESS_VIOLATION);
}
