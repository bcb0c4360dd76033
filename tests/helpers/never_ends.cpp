// A stand-in for a Quenz that never answers, as one stuck on a network path would be: it prints
// nothing and waits until it is ended.
#include <windows.h>

int main()
{
    Sleep(INFINITE);
    return 0;
}
