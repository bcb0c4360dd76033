// A stand-in for a Quenz caught in a loop: it prints without end, in writes larger than a pipe
// holds, so that whoever reads its output never finds the pipe empty.
#include <windows.h>

int main()
{
    static char line[1 << 20];
    FillMemory(line, sizeof line - 2, 'x');
    line[sizeof line - 2] = '\r';
    line[sizeof line - 1] = '\n';
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    for (DWORD written = 0;;) {
        WriteFile(out, line, sizeof line, &written, nullptr);
    }
}
