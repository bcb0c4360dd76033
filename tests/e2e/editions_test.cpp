// What Quenz decides about each edition, from real files held by real processes, and from
// the error codes and texts the system gives.
#include "tests/e2e/harness.h"

namespace {

class Editions : public testing::TestWithParam<Row>
{
};

TEST_P(Editions, PrintsAndExits)
{
    CheckRow(GetParam());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Java, Editions, testing::Values(
    Row{"Free", "\"{java}\"", {.jar = Main::Free}, OPEN NONE, 0},
    Row{"FreeVerbose", "\"{java}\" -v", {.jar = Main::Free},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") DONE WINDOWS NOPATH NONE, 0},
    Row{"FileMissing", "\"{java}\"", {.jar = Main::Absent}, OPEN ERR(2) NONE, 0},
    Row{"FolderMissing", "\"{java}\" -v", {.jar = Main::NoFolder},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(3) DONE WINDOWS NOPATH NONE, 0},
    Row{"HeldLikeAJavaRuntime", "\"{java}\"", {.jar = Main::Shared}, OPEN ERR(32) JAVA_RUNS, 1},
    Row{"HeldWithoutSharing", "\"{java}\" -v", {.jar = Main::Exclusive},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(32) DONE JAVA_RUNS, 1},
    Row{"DirectoryInItsPlace", "\"{java}\"", {.jar = Main::Directory}, OPEN ERR(5) JAVA_RUNS, 1},
    // A read-only jar (code 5 on Windows) cannot be staged here: the suite runs as root,
    // and Wine lets root open it for writing. IsFreeErrorCode's table covers code 5.
    Row{"VerticalBarInName", "\"{java}|x\" -v", {.jar = Main::Shared},
        OPEN JAVA CHECK("{java}|x\\Dalmivorax.jar") ERR(123) DONE WINDOWS NOPATH NONE, 0},
    Row{"DoubleQuoteInName", "{java}\\\"x -nw", {.jar = Main::Shared}, OPEN ERR(123) NONE, 0},
    Row{"RunningHidesWindows", "\"{java}\" -v", {Main::Shared, Main::Running, kIni},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(32) DONE JAVA_RUNS, 1}),
    RowName);

INSTANTIATE_TEST_SUITE_P(Windows, Editions, testing::Values(
    Row{"Running", "-nj -v", {.exe = Main::Running, .ini = kIni},
        OPEN WINDOWS CHECK("{win}\\Dalmivorax.exe") ERR(32) DONE WINDOWS_RUNS, 1},
    Row{"RunningAfterFreeJava", "\"{java}\"", {Main::Free, Main::Running, kIni},
        OPEN ERR(32) WINDOWS_RUNS, 1},
    Row{"RunningAfterMissingJava", "\"{java}\" -v", {Main::Absent, Main::Running, kIni},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(2) DONE
        WINDOWS CHECK("{win}\\Dalmivorax.exe") ERR(32) DONE WINDOWS_RUNS, 1},
    Row{"Free", "-nj -v", {.exe = Main::Free, .ini = kIni},
        OPEN WINDOWS CHECK("{win}\\Dalmivorax.exe") DONE NONE, 0},
    Row{"FolderWithoutProgram", "-nj -v", {.exe = Main::Absent, .ini = kIni},
        OPEN WINDOWS CHECK("{win}\\Dalmivorax.exe") ERR(2) DONE NONE, 0},
    Row{"FolderWithoutProgramQuiet", "-nj", {.exe = Main::Absent, .ini = kIni},
        OPEN ERR(2) NONE, 0},
    Row{"PathEndingInBackslash", "-nj -v", {.exe = Main::Running, .ini = "[Dal-vor]\r\nPath={win}\\\r\n"},
        OPEN WINDOWS CHECK("{win}\\\\Dalmivorax.exe") ERR(32) DONE WINDOWS_RUNS, 1},
    Row{"NamesInOtherCase", "-nj", {.exe = Main::Running, .ini = "[DAL-VOR]\r\npath={win}\r\n"},
        OPEN ERR(32) WINDOWS_RUNS, 1},
    Row{"NoIni", "-nj -v", {.exe = Main::Running}, OPEN WINDOWS NOPATH NONE, 0},
    Row{"NoIniQuiet", "-nj", {.exe = Main::Running}, OPEN NONE, 0},
    Row{"NoSection", "-nj -v", {.exe = Main::Running, .ini = "[Outro]\r\nPath={win}\r\n"},
        OPEN WINDOWS NOPATH NONE, 0},
    Row{"NoKey", "-nj -v", {.exe = Main::Running, .ini = "[Dal-vor]\r\nCaminho={win}\r\n"},
        OPEN WINDOWS NOPATH NONE, 0},
    Row{"EmptyValue", "-nj -v", {.exe = Main::Running, .ini = "[Dal-vor]\r\nPath=\r\n"},
        OPEN WINDOWS NOPATH NONE, 0}),
    RowName);

// Missing drives and shares are free wherever they are, but each system names them its own
// way: Windows answers 15 for a drive and 53 or 67 for a server or share, after a network
// time-out; Wine answers 3 for all. IsFreeErrorCode's table covers 15, 53, 55 and 67.
class UnderWine : public Editions
{
};

TEST_P(UnderWine, PrintsAndExits)
{
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr) {
        GTEST_SKIP() << "Wine's codes";
    }
    CheckRow(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Missing, UnderWine, testing::Values(
    Row{"DriveMissing", "Q:\\Apps -nw -v", {}, OPEN JAVA CHECK("Q:\\Apps\\Dalmivorax.jar") ERR(3) DONE NONE, 0},
    Row{"ShareMissing", "\\\\nohost\\share -nw", {}, OPEN ERR(3) NONE, 0}),
    RowName);
// clang-format on

} // namespace
