#include "probes/free_error_codes.h"

#include <gtest/gtest.h>

namespace {

TEST(FreeErrorCodes, OnlyTheListedCodesAreFree)
{
    for (const DWORD code : {2u, 3u, 15u, 53u, 55u, 67u, 123u}) {
        EXPECT_TRUE(IsFreeErrorCode(code)) << code;
    }
    // Neighbours of each listed code, the codes of a held or protected file, and the edges.
    for (const DWORD code : {0u, 1u, 4u, 14u, 16u, 52u, 54u, 56u, 66u, 68u, 122u, 124u, 5u, 32u,
                             33u, 206u, 1224u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_FALSE(IsFreeErrorCode(code)) << code;
    }
}

} // namespace
