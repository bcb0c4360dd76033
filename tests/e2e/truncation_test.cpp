// Paths longer than a PathBuffer holds are cut at 259 bytes, and the cut path is probed.
#include <algorithm>
#include <iterator>

#include "tests/e2e/harness.h"

#include "probes/free_error_codes.h"

namespace {

class Truncation : public testing::TestWithParam<Row>
{
};

TEST_P(Truncation, PrintsAndExits)
{
    CheckRow(GetParam());
}

// Thousands of arguments "d\" near the 32,767-character limit of a command line: joined,
// only the first 259 bytes are kept, the relative path d\d\...\d. In the scratch folder its
// full form passes MAX_PATH, and which code that gives is the platform's (3 under Wine, 206
// on Windows): the same open here learns it, and Quenz must decide by it as by any other.
TEST(LongCommandLine, NearCommandLineLimit)
{
    std::string arguments = "-v";
    while (arguments.size() + 3 < 32767 - sizeof "Quenz ") {
        arguments += " d\\";
    }
    std::string kept;
    while (kept.size() < 259) {
        kept += "d\\";
    }
    kept.resize(259);
    DWORD code = 0;
    {
        // The row's own world, which CheckRow makes again in the same folder.
        World world({});
        char before[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, before);
        SetCurrentDirectoryA(world.scratch().c_str());
        const HANDLE file = CreateFileA(kept.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        code = GetLastError();
        SetCurrentDirectoryA(before);
        ASSERT_EQ(file, INVALID_HANDLE_VALUE);
    }
    const std::string error =
        "Durante a verificacao se o arquivo esta sendo utilizado, foi retornado o codigo [" +
        std::to_string(code) + "] e a mensagem [{E" + std::to_string(code) + "}].\n";
    const bool free = std::find(std::begin(FreeErrorCodes), std::end(FreeErrorCodes), code) !=
                      std::end(FreeErrorCodes);
    CheckRow(Row{"NearCommandLineLimit",
                 arguments,
                 {},
                 OPEN JAVA "Verificando se o arquivo [" + kept + "] esta em uso.\n" + error +
                     (free ? DONE WINDOWS NOPATH NONE : DONE JAVA_RUNS),
                 free ? 0u : 1u});
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Truncation, testing::Values(
    // 244 bytes and the 15 of \Dalmivorax.jar just fit: the held jar is found.
    Row{"InstallDir244", "\"{java}\" -v", {.jar = Main::Shared, .javaLength = 244},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(32) DONE JAVA_RUNS, 1},
    // One byte more and the name loses its last letter: the held jar goes unseen.
    Row{"InstallDir245", "\"{java}\" -v", {.jar = Main::Shared, .javaLength = 245},
        OPEN JAVA CHECK("{java}\\Dalmivorax.ja") ERR(2) DONE WINDOWS NOPATH NONE, 0},
    Row{"InstallDir258", "\"{java}\" -v", {.jar = Main::NoFolder, .javaLength = 258},
        OPEN JAVA CHECK("{java}\\") ERR(3) DONE WINDOWS NOPATH NONE, 0},
    Row{"InstallDir259", "\"{java}\" -v", {.jar = Main::NoFolder, .javaLength = 259},
        OPEN JAVA CHECK("{java}") ERR(3) DONE WINDOWS NOPATH NONE, 0},
    Row{"InstallDirBeyond", "\"{java}\" more -v pieces", {.jar = Main::NoFolder, .javaLength = 259},
        OPEN JAVA CHECK("{java}") ERR(3) DONE WINDOWS NOPATH NONE, 0},
    Row{"IniDir244", "-nj -v", {.exe = Main::Running, .ini = "[Dal-vor]\r\nPath={win}\r\n", .winLength = 244},
        OPEN WINDOWS CHECK("{win}\\Dalmivorax.exe") ERR(32) DONE WINDOWS_RUNS, 1},
    Row{"IniDir245", "-nj -v", {.exe = Main::Free, .ini = "[Dal-vor]\r\nPath={win}\r\n", .winLength = 245},
        OPEN WINDOWS CHECK("{win}\\Dalmivorax.ex") ERR(2) DONE NONE, 0},
    Row{"IniDir259", "-nj -v", {.exe = Main::NoFolder, .ini = "[Dal-vor]\r\nPath={win}\r\n", .winLength = 259},
        OPEN WINDOWS CHECK("{win}") ERR(3) DONE NONE, 0}),
    RowName);
// clang-format on

} // namespace
