// QuenzCheck.exe, the callers' rules as a program: hostile folders, held and free where the name
// means a real folder, and stand-ins for a Quenz that cannot answer. Each row runs a copy of
// QuenzCheck.exe from a kit folder of its own, beside a Quenz.exe that is the real one or a
// stand-in, under a raw command line, and reads its exit code and last line.
#include <algorithm>
#include <atomic>
#include <thread>

#include "tests/e2e/harness.h"

namespace {

#define NONE_LINE "Nenhum Dalmivorax esta em execucao."
#define JAVA_LINE "O Dalmivorax Java esta em execucao."
#define WINDOWS_LINE "O Dalmivorax Windows esta em execucao."
#define UNCLEAR "nao-sabe: pasta-ambigua"
#define NO_VERDICT "nao-sabe: sem-veredito"
#define TIMED_OUT "nao-sabe: tempo-esgotado"
#define NOT_STARTED "nao-sabe: quenz-nao-executa"
#define COMMAND_LINE "nao-sabe: linha-de-comando"
#define THE_FOLDER "\"{java}\""

// What stands beside the kit's QuenzCheck.exe as Quenz.exe: a program of the suite's, a file that
// is no program, or nothing.
const char* const kNoProgram = "";
const char* const kNothing = nullptr;

// Names are UTF-8 here, and reach files and programs through the wide API.
// 表's second byte in code page 932 is 0x5C, a backslash's.
const char* const kTrailBackslash = "{scratch}\\\xE8\xA1\xA8";
// A blank and a fullwidth quotation mark, which msvcrt's reading of an ANSI command line would
// take for a quote.
const char* const kFullwidthKit = "x \xEF\xBC\x82 y";
#define MSVCRT_SPLIT                                                                               \
    "Wine builds a program's arguments from its wide command line, so Quenz's own reading of "     \
    "an ANSI one never runs there"

struct CheckRow
{
    std::string name;
    std::string commandLine; // after the program's name
    Scene setup;
    DWORD exitCode;
    std::string last; // the last line, without its CR LF
    const char* quenz = "Quenz.exe";
    const char* kit = "kit";            // below {scratch}
    const char* needsWindows = nullptr; // why the row shows nothing under Wine
};

// The name alone: ctest's discovery reads what this prints, and a command line that ends in a
// backslash and a quote would lose the row.
std::ostream& operator<<(std::ostream& stream, const CheckRow& row)
{
    return stream << row.name;
}

// QuenzCheck.exe and its Quenz.exe in {scratch}\<kit>.
std::string MakeKit(const World& world, const char* kit, const char* quenz)
{
    const std::string folder = world.scratch() + "\\" + kit;
    MakeFolders(folder);
    EXPECT_TRUE(CopyFileW(ToWide(BesideTests("QuenzCheck.exe")).c_str(),
                          ToWide(folder + "\\QuenzCheck.exe").c_str(), FALSE));
    if (quenz == kNoProgram) {
        WriteBytes(folder + "\\Quenz.exe", "not a program\r\n");
    } else if (quenz != kNothing) {
        EXPECT_TRUE(CopyFileW(ToWide(BesideTests(quenz)).c_str(),
                              ToWide(folder + "\\Quenz.exe").c_str(), FALSE));
    }
    return folder;
}

// Whatever the kit started has gone, in time: a Quenz that was ended, and what it started.
void ExpectNothingLeftRunning(const std::string& kit)
{
    std::wstring running = ProgramRunningIn(kit);
    for (int waited = 0; waited < 10000 && !running.empty(); waited += 50) {
        Sleep(50);
        running = ProgramRunningIn(kit);
    }
    EXPECT_EQ(FromWide(running), "") << "left running";
}

class Check : public testing::TestWithParam<CheckRow>
{
protected:
    void SetUp() override
    {
        const bool dbcs = GetParam().name.find("Dbcs") != std::string::npos;
        ASSERT_EQ(GetACP(), dbcs ? 932u : 1252u);
        if (GetParam().needsWindows != nullptr && UnderWine()) {
            GTEST_SKIP() << GetParam().needsWindows;
        }
        SetNameCodePage(CP_UTF8);
    }
    void TearDown() override
    {
        SetNameCodePage(CP_ACP);
    }
};

TEST_P(Check, AnswersByExitCodeAndLastLine)
{
    const CheckRow& row = GetParam();
    World world(row.setup);
    ASSERT_FALSE(testing::Test::HasFailure());
    const std::string kit = MakeKit(world, row.kit, row.quenz);
    const std::string program = kit + "\\QuenzCheck.exe";
    const std::string commandLine = "\"" + program + "\" " + world.Expand(row.commandLine);
    const Outcome outcome = RunProgram(program.c_str(), commandLine, world.scratch());
    EXPECT_EQ(outcome.exitCode, row.exitCode) << commandLine << "\n" << outcome.out;
    // A few lines, each ending in CR LF, all within what NSIS reads; the last one the row's.
    ASSERT_GE(outcome.out.size(), 2u) << commandLine;
    EXPECT_EQ(outcome.out.substr(outcome.out.size() - 2), "\r\n");
    const std::string body = outcome.out.substr(0, outcome.out.size() - 2);
    const std::string last =
        body.substr(body.rfind("\r\n") == std::string::npos ? 0 : body.rfind("\r\n") + 2);
    EXPECT_EQ(last, row.last) << commandLine << "\n" << outcome.out;
    EXPECT_LE(std::count(body.begin(), body.end(), '\n'), 3) << outcome.out;
    EXPECT_LT(outcome.out.size(), 1024u);
    EXPECT_EQ(outcome.err, "");
    world.EndHolders();
    world.ExpectUnchanged();
    ExpectNothingLeftRunning(kit);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(QuenzCheck, Check, testing::Values(
    CheckRow{"Free", THE_FOLDER, {.jar = Main::Free}, 0, NONE_LINE},
    CheckRow{"Held", THE_FOLDER, {.jar = Main::Shared}, 1, JAVA_LINE},
    CheckRow{"WindowsRuns", THE_FOLDER, {.exe = Main::Running, .ini = kIni}, 2, WINDOWS_LINE},
    CheckRow{"NotThereYet", THE_FOLDER, {.jar = Main::NoFolder}, 0, NONE_LINE},
    CheckRow{"FinalBackslashHeld", "{java}\\", {.jar = Main::Shared}, 1, JAVA_LINE},
    // In quotes, the final backslash makes the quote a letter of the name.
    CheckRow{"QuotedFinalBackslash", "\"{java}\\\"", {.jar = Main::Shared}, 3, UNCLEAR},
    // Windows drops a last name's final blank or dot where an installer writes; Quenz would not.
    CheckRow{"TrailingBlankHeld", THE_FOLDER, {.jar = Main::Shared, .javaDir = "{scratch}\\java "}, 3, UNCLEAR},
    CheckRow{"TrailingBlankFree", THE_FOLDER, {.jar = Main::Free, .javaDir = "{scratch}\\java "}, 3, UNCLEAR},
    CheckRow{"TrailingDotHeld", THE_FOLDER, {.jar = Main::Shared, .javaDir = "{scratch}\\java."}, 3, UNCLEAR},
    CheckRow{"TrailingDotFree", THE_FOLDER, {.jar = Main::Free, .javaDir = "{scratch}\\java."}, 3, UNCLEAR},
    // Relative names that Quenz would read as its options; the jar held where they lead.
    CheckRow{"RelativeNw", "-nw", {.jar = Main::Shared, .javaDir = "{scratch}\\-nw"}, 3, UNCLEAR},
    CheckRow{"RelativeV", "-v", {.jar = Main::Shared, .javaDir = "{scratch}\\-v"}, 3, UNCLEAR},
    CheckRow{"RelativeH", "-h", {.jar = Main::Shared, .javaDir = "{scratch}\\-h"}, 3, UNCLEAR},
    CheckRow{"DriveRelative", "C:java", {.jar = Main::Shared}, 3, UNCLEAR},
    CheckRow{"InDeviceForm", "\"\\\\?\\{java}\"", {.jar = Main::Shared}, 3, UNCLEAR},
    // A bare drive is its root.
    CheckRow{"BareDriveHeld", "{drive}", {.jar = Main::Shared, .javaDir = "{drive}"}, 1, JAVA_LINE},
    CheckRow{"BareDriveFree", "{drive}", {.jar = Main::Free, .javaDir = "{drive}"}, 0, NONE_LINE},
    CheckRow{"TwoFolders", THE_FOLDER " " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"UnquotedBlanks", "{java}", {.jar = Main::Shared, .javaDir = "{scratch}\\Arquivos de Programas"}, 3,
        COMMAND_LINE},
    CheckRow{"NoFolder", "", {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"UnknownOption", "--verbose " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"OptionsEnded", "--pause-ms=0 --timeout-ms=86400000 -- " THE_FOLDER, {.jar = Main::Shared}, 1,
        JAVA_LINE},
    CheckRow{"OptionAfterEnd", "-- --timeout-ms=5", {.jar = Main::Shared}, 3, UNCLEAR},
    // An option's value out of its range, none, or an option it does not know, in any case.
    CheckRow{"TimeoutZero", "--timeout-ms=0 " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"TimeoutOverADay", "--timeout-ms=86400001 " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"TimeoutInSeconds", "--timeout-ms=2s " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"TimeoutWithoutValue", "--timeout-ms " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"PauseOverAMinute", "--pause-ms=60001 " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    CheckRow{"OptionInCapitals", "--TIMEOUT-MS=5 " THE_FOLDER, {.jar = Main::Shared}, 3, COMMAND_LINE},
    // Past 244 bytes, or outside the code page, by the folder's short (8.3) name.
    CheckRow{"Past244BytesHeld", THE_FOLDER, {.jar = Main::Shared, .javaLength = 260}, 1, JAVA_LINE},
    CheckRow{"Past244BytesFree", THE_FOLDER, {.jar = Main::Free, .javaLength = 260}, 0, NONE_LINE},
    CheckRow{"OutsideCodePageHeld", THE_FOLDER, {.jar = Main::Shared, .javaDir = kVietnamese}, 1, JAVA_LINE},
    CheckRow{"OutsideCodePageFree", THE_FOLDER, {.jar = Main::Free, .javaDir = kVietnamese}, 0, NONE_LINE},
    CheckRow{"DbcsTrailBackslashHeld", THE_FOLDER, {.jar = Main::Shared, .javaDir = kTrailBackslash}, 1, JAVA_LINE},
    CheckRow{"DbcsTrailBackslashFree", THE_FOLDER, {.jar = Main::Free, .javaDir = kTrailBackslash}, 0, NONE_LINE},
    CheckRow{"ShellLettersHeld", THE_FOLDER, {.jar = Main::Shared, .javaDir = kShellLetters}, 1, JAVA_LINE},
    CheckRow{"ShellLettersFree", THE_FOLDER, {.jar = Main::Free, .javaDir = kShellLetters}, 0, NONE_LINE},
    // QuenzCheck.exe's own folder never passes through Quenz's command line.
    CheckRow{"KitWithFullwidthQuoteFree", THE_FOLDER, {.jar = Main::Free}, 0, NONE_LINE, "Quenz.exe",
        kFullwidthKit},
    CheckRow{"KitWithFullwidthQuoteHeld", THE_FOLDER, {.jar = Main::Shared}, 1, JAVA_LINE, "Quenz.exe",
        kFullwidthKit, MSVCRT_SPLIT},
    // Stand-ins for a Quenz that cannot answer.
    CheckRow{"QuenzCrashes", THE_FOLDER, {.jar = Main::Free}, 3, NO_VERDICT, "crashes.exe"},
    CheckRow{"QuenzSaysNothing", THE_FOLDER, {.jar = Main::Free}, 3, NO_VERDICT, "empty.exe"},
    CheckRow{"QuenzNeverEnds", "--timeout-ms=2000 " THE_FOLDER, {.jar = Main::Free}, 3, TIMED_OUT,
        "never_ends.exe"},
    CheckRow{"QuenzPrintsWithoutEnd", "--timeout-ms=2000 " THE_FOLDER, {.jar = Main::Free}, 3, TIMED_OUT,
        "prints_forever.exe"},
    CheckRow{"QuenzLeavesAChild", "--timeout-ms=2000 " THE_FOLDER, {.jar = Main::Free}, 3, TIMED_OUT,
        "leaves_child.exe"},
    CheckRow{"QuenzIsNoProgram", THE_FOLDER, {.jar = Main::Free}, 3, NOT_STARTED, kNoProgram},
    CheckRow{"NoQuenz", THE_FOLDER, {.jar = Main::Free}, 3, NOT_STARTED, kNothing}),
    RowName);
// clang-format on

// A jar held for a moment, as by another check at the same instant, is forgiven: the holder lets
// go once QuenzCheck says it looks again, and the second look's answer is the answer.
TEST(CheckTransient, SecondLookForgivesAMomentaryHold)
{
    ASSERT_EQ(GetACP(), 1252u);
    World world({.jar = Main::Shared});
    const std::string program = MakeKit(world, "kit", "Quenz.exe") + "\\QuenzCheck.exe";
    std::atomic<bool> lookingAgain = false;
    std::thread letGo([&] {
        for (int waited = 0; waited < 60000 && !lookingAgain; waited += 10) {
            Sleep(10);
        }
        world.EndHolders();
    });
    const Outcome outcome = RunProgram(
        program.c_str(), "\"" + program + "\" --pause-ms=3000 \"" + world.Expand("{java}") + "\"",
        world.scratch(), Sink::Pipe, [&](const std::string& output) {
            lookingAgain =
                lookingAgain || output.find("nova verificacao em 3000 ms") != std::string::npos;
        });
    letGo.join();
    EXPECT_TRUE(lookingAgain) << outcome.out;
    EXPECT_EQ(outcome.exitCode, 0u) << outcome.out;
    EXPECT_NE(outcome.out.find(NONE_LINE "\r\n"), std::string::npos) << outcome.out;
}

// An installer's own limit ends QuenzCheck.exe, not the Quenz it runs: the job object does.
TEST(CheckEnded, EndsTheQuenzItRuns)
{
    ASSERT_EQ(GetACP(), 1252u);
    World world({.jar = Main::Free});
    const std::string kit = MakeKit(world, "kit", "never_ends.exe");
    const std::wstring program = ToWide(kit + "\\QuenzCheck.exe");
    std::wstring commandLine = L"QuenzCheck \"" + ToWide(world.Expand("{java}")) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION check = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &check));
    std::wstring quenz;
    for (int waited = 0; waited < 30000 && quenz.empty(); waited += 20) {
        Sleep(20);
        quenz = ProgramRunningIn(kit, check.dwProcessId);
    }
    EXPECT_NE(quenz, L"") << "QuenzCheck started no Quenz";
    TerminateProcess(check.hProcess, 1);
    WaitForSingleObject(check.hProcess, 10000);
    CloseHandle(check.hThread);
    CloseHandle(check.hProcess);
    ExpectNothingLeftRunning(kit);
}

} // namespace
