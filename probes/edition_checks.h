#pragma once

#include "common/path_buffer.h"

// True when the Java edition's main file in `installDir` is free or absent; false when it
// is in use. `installDir` may be empty.
bool CheckJavaEdition(bool verbose, const PathBuffer& installDir);

// True when no directory for the Windows edition is recorded in its INI file, or when its
// main file there is free or absent; false when it is in use.
bool CheckWindowsEdition(bool verbose);
