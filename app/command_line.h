#pragma once

#include "common/path_buffer.h"

// What the arguments ask for, held for the length of the run.
struct CommandLine
{
    bool verbose = false;
    bool skipJava = false;
    bool skipWindows = false;
    PathBuffer installDir;
};

// True when the run only shows the help text: there is no argument after the program's
// name, or the last argument is exactly "-h". An "-h" anywhere else is no option.
bool IsHelpRun(int argc, char** argv);

// Sets the option fields from "-v", "-nj" and "-nw", compared whole and case-sensitively,
// and joins every other argument, in order and with nothing between them, into
// `installDir`, cut at its capacity. argv[0] is never looked at.
void ReadCommandLine(int argc, char** argv, CommandLine& commandLine);
