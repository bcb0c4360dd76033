#include "probes/free_error_codes.h"

bool IsFreeErrorCode(DWORD code)
{
    for (const DWORD freeCode : FreeErrorCodes) {
        if (code == freeCode) {
            return true;
        }
    }
    return false;
}
