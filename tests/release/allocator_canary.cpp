// Proves that the allocator check can fail: it must find both allocations here.
#include <stdlib.h>

void* TakeFromTheCHeap(size_t size)
{
    return malloc(size);
}

int* TakeFromTheCppHeap()
{
    return new int(0);
}
