#include "integration/check/options.h"

#include <wchar.h>

#include "integration/core/answer.h"

namespace {

// Reads the value of `argument` when it is the option `name` (with its "="): true when it is
// that option, with `known` telling whether its value is in range.
bool IsOption(const wchar_t* argument, const wchar_t* name, DWORD least, DWORD most, DWORD& value,
              bool& known)
{
    const size_t length = wcslen(name);
    if (wcsncmp(argument, name, length) != 0) {
        return false;
    }
    known = ReadMilliseconds(argument + length, least, most, value);
    return true;
}

} // namespace

bool ReadOptions(int argc, wchar_t** argv, CheckOptions& options)
{
    bool optionsEnded = false;
    for (int index = 1; index < argc; ++index) {
        const wchar_t* argument = argv[index];
        if (!optionsEnded && wcscmp(argument, L"--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && wcsncmp(argument, L"--", 2) == 0) {
            bool known = false;
            if (!IsOption(argument, L"--timeout-ms=", 1, 86400000, options.timeoutMs, known) &&
                !IsOption(argument, L"--pause-ms=", 0, 60000, options.pauseMs, known)) {
                return false;
            }
            if (!known) {
                return false;
            }
        } else if (options.folder != nullptr) {
            return false;
        } else {
            options.folder = argument;
        }
    }
    return options.folder != nullptr;
}
