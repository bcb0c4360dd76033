#pragma once

#include "common/path_buffer.h"

// Tells whether the file at `path` is in use, by one attempt to open the existing file for
// writing with no sharing. Returns true when it is free: opened (and closed at once), or
// not there. Returns false for any other failure. A failed open is always reported.
bool ProbeFile(const PathBuffer& path, bool verbose);
