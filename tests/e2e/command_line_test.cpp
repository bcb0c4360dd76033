// How Quenz reads the command line a person, a script or an installer types.
#include "tests/e2e/harness.h"

namespace {

class CommandLineTyped : public testing::TestWithParam<Row>
{
};

TEST_P(CommandLineTyped, PrintsAndExits)
{
    CheckRow(GetParam());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, CommandLineTyped, testing::Values(
    Row{"NoArguments", "", {}, HELP, 0},
    Row{"HelpAlone", "-h", {}, HELP, 0},
    Row{"HelpAfterVerbose", "-v -h", {}, HELP, 0},
    Row{"HelpAfterSkip", "-nj -h", {}, HELP, 0},
    Row{"HelpInQuotes", "\"-h\"", {}, HELP, 0},
    Row{"HelpIgnoresRunningJava", "\"{java}\" -h", {.jar = Main::Shared}, HELP, 0},
    Row{"HelpNotLastIsADirectory", "-h -v", {},
        OPEN JAVA CHECK("-h\\Dalmivorax.jar") ERR(3) DONE WINDOWS NOPATH NONE, 0},
    Row{"SkipBothProbesNothing", "\"{java}\" -nj -nw", {Main::Shared, Main::Running, kIni},
        OPEN NONE, 0},
    Row{"SkipBothVerbose", "-nw -v -nj", {Main::Shared, Main::Running, kIni}, OPEN NONE, 0},
    Row{"VerboseAloneProbesRoot", "-v", {},
        OPEN JAVA CHECK("\\Dalmivorax.jar") ERR(2) DONE WINDOWS NOPATH NONE, 0},
    Row{"EmptyArgument", "\"\"", {}, OPEN ERR(2) NONE, 0},
    Row{"EmptyAmongOthers", "\"{java}\" \"\" -v", {.jar = Main::Free},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") DONE WINDOWS NOPATH NONE, 0},
    Row{"OptionsInQuotes", "\"-v\" \"-nw\" \"{java}\"", {.jar = Main::Free},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") DONE NONE, 0},
    Row{"RepeatedOptions", "-v -v \"{java}\" -nw -nw", {.jar = Main::Free},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") DONE NONE, 0},
    Row{"WrongCaseJoinsTheDirectory", "-v -V -NJ -Nw -nJ /? --help", {},
        OPEN JAVA CHECK("-V-NJ-Nw-nJ/?--help\\Dalmivorax.jar") ERR(123) DONE WINDOWS NOPATH NONE,
        0},
    Row{"UnquotedBlanksJoin", "{scratch}\\Arquivos de Programas -v",
        {.jar = Main::Shared, .javaDir = "{scratch}\\ArquivosdeProgramas"},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(32) DONE JAVA_RUNS, 1},
    Row{"TwoPiecesJoin", "{scratch} \\java -nw", {.jar = Main::Exclusive},
        OPEN ERR(32) JAVA_RUNS, 1},
    Row{"QuotedWithBlanks", "\"{java}\" -v", {.jar = Main::Shared, .javaDir = "{scratch}\\Meus Programas"},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") ERR(32) DONE JAVA_RUNS, 1},
    // The backslash before the closing quote escapes it: the quote, the blank and -v stay in
    // the one argument, and the running Java edition goes unseen.
    Row{"BackslashBeforeClosingQuote", "\"{java}\\\" -v", {.jar = Main::Shared},
        OPEN ERR(123) NONE, 0},
    Row{"BackslashBeforeClosingQuoteVerbose", "-v \"{java}\\\" -v", {.jar = Main::Shared},
        OPEN JAVA CHECK("{java}\" -v\\Dalmivorax.jar") ERR(123) DONE WINDOWS NOPATH NONE, 0},
    Row{"DoubledBackslashBeforeQuote", "\"{java}\\\\\" -v", {.jar = Main::Shared},
        OPEN JAVA CHECK("{java}\\\\Dalmivorax.jar") ERR(32) DONE JAVA_RUNS, 1},
    Row{"TwoQuotesInsideQuotes", "-v \"{java}\"\"x\"", {.jar = Main::Shared},
        OPEN JAVA CHECK("{java}\"x\\Dalmivorax.jar") ERR(123) DONE WINDOWS NOPATH NONE, 0},
    Row{"PercentSignsPrintUnchanged", "\"{java}\" -v", {.jar = Main::Free, .javaDir = "{scratch}\\100%s%d%n%%"},
        OPEN JAVA CHECK("{java}\\Dalmivorax.jar") DONE WINDOWS NOPATH NONE, 0},
    Row{"NoWildcardExpansion", "{scratch}\\* -v", {.jar = Main::Free},
        OPEN JAVA CHECK("{scratch}\\*\\Dalmivorax.jar") ERR(123) DONE WINDOWS NOPATH NONE, 0}),
    RowName);
// clang-format on

} // namespace
