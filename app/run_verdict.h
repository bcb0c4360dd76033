#pragma once

// Runs the whole check for the process arguments, as the C runtime split the command line,
// and returns the process exit code: 1 when an edition of Dalmivorax is running, 0 when
// none is, when both checks were skipped, or after the help text.
int RunVerdict(int argc, char** argv);
