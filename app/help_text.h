#pragma once

// Prints the eight lines of the help text.
void PrintHelpText();
