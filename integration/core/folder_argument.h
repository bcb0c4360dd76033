#pragma once
// How the Java edition's folder reaches Quenz, which reads its command line in the ANSI code
// page: letters outside it would arrive as "?", as a look-alike (Ł as L), or, for a fullwidth
// quotation mark, as a quote that ends the argument. Quenz also cuts every path at 259 bytes of
// that code page, so a folder of more than 244 bytes would have Dalmivorax.jar's name cut, and
// the cut name is never held.
#include <windows.h>

#include <stddef.h>

// How WideCharToMultiByte must be called to tell whether a text converts to `codePage` exactly:
// no best fit, and a flag set where a letter had none. UTF-8 (65001, Windows' "Use Unicode
// UTF-8" setting) has a form for every letter, and takes no flag but WC_ERR_INVALID_CHARS and no
// used-default flag: with any other the call fails.
struct Conversion
{
    DWORD flags;
    bool usedDefault; // whether to pass the used-default flag
};
Conversion ConversionFor(UINT codePage);

// Writes Quenz's argument for `folder`, a folder form, into `argument`: the folder when it
// converts to the ANSI code page `codePage` exactly and takes at most 244 bytes there; else its
// short (8.3) form `shortForm` (empty when there is none) under the same conditions; else, for a
// folder that does not exist, -nj, since the Java edition cannot run from there. A name with a
// blank goes in quotes, and then must not end in a byte 0x5C: the last letter's trail byte in a
// double-byte code page, which a reading of the command line that knows no such letters takes
// for a backslash before the closing quote. False when none of these holds (an empty folder
// included), or the argument does not fit.
bool MakeFolderArgument(const wchar_t* folder, const wchar_t* shortForm, bool exists, UINT codePage,
                        wchar_t* argument, size_t size);

// Whether the folder may be there: it is, or the system cannot say that it is not. A name of
// MAX_PATH letters or more, which the system may be unable to look up where long paths are not
// enabled, is never taken as missing, nor is one whose lookup failed for another reason than
// that it is not there (access denied, a drive not ready, a network error).
bool MayExist(const wchar_t* folder);

// MakeFolderArgument with the folder's own short form and existence, under the ANSI code page.
bool FolderArgument(const wchar_t* folder, wchar_t* argument, size_t size);
