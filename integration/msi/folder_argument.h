#pragma once
// How the Java edition's folder reaches Quenz, which reads its command line in the ANSI code
// page: letters outside it would arrive as "?", as a look-alike (Ł as L), or, for a fullwidth
// quotation mark, as a quote that ends the argument.
#include <stddef.h>

// Writes Quenz's argument into `argument`: the folder, quoted, when it converts to the ANSI code
// page exactly; else its short (8.3) form `shortForm` (empty when there is none) when that
// does; else, for a folder that does not exist, -nj, since the Java edition cannot run from
// there. False when the folder exists and no form of it converts, or the argument does not fit.
bool MakeFolderArgument(const wchar_t* folder, const wchar_t* shortForm, bool exists,
                        wchar_t* argument, size_t size);
