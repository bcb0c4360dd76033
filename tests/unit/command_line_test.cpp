#include "app/command_line.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Args
{
    std::vector<std::string> words;
    std::vector<char*> argv;
    explicit Args(std::vector<std::string> given) : words(std::move(given))
    {
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
    }
    int argc() const
    {
        return static_cast<int>(argv.size());
    }
};

TEST(CommandLine, HelpOnlyWhenLastOrAlone)
{
    struct Case
    {
        std::vector<std::string> words;
        bool help;
    };
    for (const Case& each : std::vector<Case>{{{"Quenz"}, true},
                                              {{"Quenz", "-h"}, true},
                                              {{"Quenz", "-v", "-h"}, true},
                                              {{"Quenz", "-h", "-v"}, false},
                                              {{"Quenz", "-H"}, false},
                                              {{"Quenz", "-h "}, false},
                                              {{"Quenz", ""}, false}}) {
        Args args(each.words);
        EXPECT_EQ(IsHelpRun(args.argc(), args.argv.data()), each.help) << args.argc();
    }
}

TEST(CommandLine, OptionsAreWholeAndCaseSensitive)
{
    struct Case
    {
        std::vector<std::string> words;
        bool verbose, skipJava, skipWindows;
        std::string installDir;
    };
    for (const Case& each : std::vector<Case>{
             {{"-v", "-nj", "-nw"}, true, true, true, ""},
             {{"C:\\Apps", "-v", "\\Dalmivorax"}, true, false, false, "C:\\Apps\\Dalmivorax"},
             {{"-V", "-NJ", "-nW", "-n", "-vv", "-h"}, false, false, false, "-V-NJ-nW-n-vv-h"},
             {{"-nw", "-nw", "x"}, false, false, true, "x"}}) {
        // argv[0] is the program's name, whatever it reads: an "-v" there sets nothing.
        std::vector<std::string> words = {"-v"};
        words.insert(words.end(), each.words.begin(), each.words.end());
        Args args(words);
        CommandLine commandLine;
        ReadCommandLine(args.argc(), args.argv.data(), commandLine);
        EXPECT_EQ(commandLine.verbose, each.verbose) << each.installDir;
        EXPECT_EQ(commandLine.skipJava, each.skipJava) << each.installDir;
        EXPECT_EQ(commandLine.skipWindows, each.skipWindows) << each.installDir;
        EXPECT_STREQ(commandLine.installDir.text, each.installDir.c_str());
    }
}

} // namespace
