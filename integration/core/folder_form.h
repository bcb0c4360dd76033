#pragma once
// The one folder that a name given for the Java edition means, or none. Windows drops the blanks
// and dots that end a path's last name when it opens it, but keeps them in a name in the middle,
// and joins a relative name to a current folder: such a name means one folder to an installer and
// another to Quenz, which adds \Dalmivorax.jar to it. So "C:\Apps\Dalmi " or "-nw" could hold a
// running jar while Quenz answers that nothing runs.
#include <stddef.h>

// Letters of a folder form, its end included; a longer name has no form.
constexpr size_t kFolderSize = 1024;

// Writes `given` into `folder` with every / as \ and without final backslashes. True when it then
// means one folder: a bare drive X:, which is its root, as an installer writes one; or an absolute
// name (X:\... or \\server\share...) that GetFullPathNameW gives back unchanged, with no part that
// is empty or ends in a blank or a dot (. and .. among them), not in the \\?\ or \\.\ form, and
// without a letter that no file name holds. False for anything else, and for a name of kFolderSize
// letters or more.
bool MakeFolderForm(const wchar_t* given, wchar_t (&folder)[kFolderSize]);
