// Under a double-byte ANSI code page (932, Japanese): paths are cut between characters,
// never inside one, and the system's Japanese texts pass through byte for byte. ctest runs
// these with LC_ALL=ja_JP.UTF-8, which gives Wine that code page.
#include "tests/e2e/harness.h"

namespace {

// KATAKANA SO in code page 932: its trail byte is a backslash.
#define SO "\x83\x5C"
// KATAKANA HU and TO.
#define HUTO "\x83t\x83g"

class Dbcs : public testing::TestWithParam<Row>
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
    }
};

TEST_P(Dbcs, PrintsAndExits)
{
    CheckRow(GetParam());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Dbcs, testing::Values(
    // 257 bytes and a two-byte character fill the buffer exactly.
    Row{"CharacterFitsAtTheEnd", "\"{java}" SO "\" -v", {.jar = Main::NoFolder, .javaLength = 257},
        OPEN JAVA CHECK("{java}" SO) ERR(3) DONE WINDOWS NOPATH NONE, 0},
    // With 258, the character would straddle the last byte: it is dropped whole, and its
    // lead byte does not pair with the backslash that follows.
    Row{"StraddlingCharacterDropped", "\"{java}" SO "\" -v", {.jar = Main::NoFolder, .javaLength = 258},
        OPEN JAVA CHECK("{java}\\") ERR(3) DONE WINDOWS NOPATH NONE, 0},
    Row{"StraddlingArgumentDropped", "\"{java}\" " SO " -v", {.jar = Main::NoFolder, .javaLength = 258},
        OPEN JAVA CHECK("{java}\\") ERR(3) DONE WINDOWS NOPATH NONE, 0},
    Row{"HeldInJapaneseFolder", "\"{java}\" -v", {.jar = Main::Shared, .javaDir = "{scratch}\\" SO HUTO},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(32) DONE JAVA_RUNS, 1},
    Row{"JapaneseTextForMissingFile", "\"{java}\"", {.jar = Main::Absent}, OPEN ERR(2) NONE, 0},
    Row{"JapaneseTextForBadName", "\"{java}|\" -nw", {}, OPEN ERR(123) NONE, 0},
    Row{"WindowsRunningInJapaneseFolder", "-nj -v",
        {.exe = Main::Running, .ini = "[Dal-vor]\r\nPath={win}\r\n", .winDir = "{scratch}\\" SO HUTO},
        OPEN WINDOWS CHECK("{win}\\Dalmivorax.exe") ERR(32) DONE WINDOWS_RUNS, 1},
    Row{"HelpTextUnconverted", "-h", {}, HELP, 0}),
    RowName);
// clang-format on

} // namespace
