#include "app/command_line.h"

#include <string.h>

// The options are plain ASCII, so a whole-argument byte comparison cannot match half of a
// double-byte character.
static bool IsOption(const char* argument, const char* option)
{
    return strcmp(argument, option) == 0;
}

bool IsHelpRun(int argc, char** argv)
{
    return argc < 2 || IsOption(argv[argc - 1], "-h");
}

void ReadCommandLine(int argc, char** argv, CommandLine& commandLine)
{
    for (int index = 1; index < argc; ++index) {
        const char* argument = argv[index];
        if (IsOption(argument, "-v")) {
            commandLine.verbose = true;
        } else if (IsOption(argument, "-nj")) {
            commandLine.skipJava = true;
        } else if (IsOption(argument, "-nw")) {
            commandLine.skipWindows = true;
        } else {
            AppendTruncating(commandLine.installDir, argument);
        }
    }
}
