#include "integration/msi/folder_argument.h"

#include <wchar.h>

namespace {

// The most bytes of folder with which "\Dalmivorax.jar" still fits into Quenz's 259.
const int kMostFolderBytes = 244;

// No "?" for a missing letter and no best fit: the text reaches Quenz as it is, or not at all.
bool FitsQuenz(const wchar_t* text, UINT codePage)
{
    const Conversion conversion = ConversionFor(codePage);
    BOOL usedDefault = FALSE;
    // The count includes the final NUL.
    const int bytes = WideCharToMultiByte(codePage, conversion.flags, text, -1, nullptr, 0, nullptr,
                                          conversion.usedDefault ? &usedDefault : nullptr);
    return text[0] != L'\0' && bytes > 0 && bytes - 1 <= kMostFolderBytes && !usedDefault;
}

bool Quote(const wchar_t* text, wchar_t* argument, size_t size)
{
    const int written = _snwprintf(argument, size, L"\"%ls\"", text);
    return written > 0 && static_cast<size_t>(written) < size;
}

} // namespace

Conversion ConversionFor(UINT codePage)
{
    if (codePage == CP_UTF8) {
        return {WC_ERR_INVALID_CHARS, false};
    }
    return {WC_NO_BEST_FIT_CHARS, true};
}

bool MakeFolderArgument(const wchar_t* folder, const wchar_t* shortForm, bool exists, UINT codePage,
                        wchar_t* argument, size_t size)
{
    if (FitsQuenz(folder, codePage)) {
        return Quote(folder, argument, size);
    }
    if (exists && FitsQuenz(shortForm, codePage)) {
        return Quote(shortForm, argument, size);
    }
    if (!exists && folder[0] != L'\0' && size > 3) {
        wcscpy(argument, L"-nj");
        return true;
    }
    return false;
}
