#include "probes/free_error_codes.h"

#include <algorithm>
#include <iterator>

bool IsFreeErrorCode(DWORD code)
{
    return std::any_of(std::begin(FreeErrorCodes), std::end(FreeErrorCodes),
                       [code](DWORD freeCode) { return freeCode == code; });
}
