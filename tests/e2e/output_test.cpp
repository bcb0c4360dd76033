// Where the output goes, and what changes when a holder lets go.
#include "tests/e2e/harness.h"

namespace {

const char* const kIni = "[Dal-vor]\r\nPath={win}\r\n";

TEST(Output, FileGetsTheSameBytesAsAPipe)
{
    World world({.jar = Main::Absent, .exe = Main::Running, .ini = kIni});
    const std::string arguments = world.Expand("\"{java}\" -v");
    const Outcome piped = RunQuenz(arguments, world.scratch(), Sink::Pipe);
    const Outcome filed = RunQuenz(arguments, world.scratch(), Sink::File);
    const std::string expected = Crlf(world.Expand(OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(
        2) DONE WINDOWS CHECK("{win}\\Dalmivorax.exe") ERR(32) DONE WINDOWS_RUNS));
    EXPECT_EQ(piped.out, expected);
    EXPECT_EQ(filed.out, expected);
    EXPECT_EQ(piped.exitCode, 1u);
    EXPECT_EQ(filed.exitCode, 1u);
    EXPECT_EQ(filed.err, "");
}

TEST(Output, NoStandardOutputKeepsTheExitCode)
{
    struct Case
    {
        Scene setup;
        DWORD exitCode;
    };
    for (const Case& each : {Case{{.jar = Main::Shared}, 1}, Case{{.jar = Main::Free}, 0},
                             Case{{.exe = Main::Running, .ini = kIni}, 1}}) {
        World world(each.setup);
        const std::string arguments = world.Expand("\"{java}\" -v");
        EXPECT_EQ(RunQuenz(arguments, world.scratch(), Sink::Pipe).exitCode, each.exitCode);
        const Outcome lost = RunQuenz(arguments, world.scratch(), Sink::Invalid);
        EXPECT_EQ(lost.exitCode, each.exitCode) << "with no standard output: " << arguments;
        EXPECT_EQ(lost.err, "");
        world.EndHolders();
        world.ExpectUnchanged();
    }
}

// The same file counts as in use while it is held, and as free once its holder has ended.
TEST(Holders, FileIsFreeOnceTheHolderEnds)
{
    for (const Scene& setup : {Scene{.jar = Main::Shared}, Scene{.jar = Main::Exclusive},
                               Scene{.jar = Main::Free, .exe = Main::Running, .ini = kIni}}) {
        World world(setup);
        const std::string arguments = world.Expand("\"{java}\"");
        EXPECT_EQ(RunQuenz(arguments, world.scratch()).exitCode, 1u) << "while held";
        world.EndHolders();
        const Outcome after = RunQuenz(arguments, world.scratch());
        EXPECT_EQ(after.out, Crlf(OPEN NONE)) << "after the holder ended";
        EXPECT_EQ(after.exitCode, 0u);
        world.ExpectUnchanged();
    }
}

// A case killed while it held Dal-vor.ini aside leaves what was there beside it; the next case
// puts that back, rather than taking the killed case's file for someone's own.
TEST(Holders, IniSetAsideByAKilledCaseComesBack)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string path = std::string(windows) + "\\Dal-vor.ini";
    std::string bytes;
    if (ReadBytes(path, bytes)) {
        GTEST_SKIP() << path << " is someone's own";
    }
    const std::string own = "[Dal-vor]\r\nPath=C:\\own\r\n";
    WriteBytes(path + ".quenz-saved", own);
    WriteBytes(path, "the killed case's");
    {
        IniFile next(nullptr);
        EXPECT_FALSE(ReadBytes(path, bytes));
    }
    EXPECT_TRUE(ReadBytes(path, bytes));
    EXPECT_EQ(bytes, own);
    DeleteFileA(path.c_str());
}

} // namespace
