#include "probes/probe_file.h"

#include <windows.h>

#include "common/output.h"
#include "probes/error_text.h"
#include "probes/free_error_codes.h"

bool ProbeFile(const PathBuffer& path, bool verbose)
{
    bool isFree = true;
    if (verbose) {
        Print("Verificando se o arquivo [%s] esta em uso.\n", path.text);
    }
    // OPEN_EXISTING: the probe must never create or truncate the file it looks at.
    HANDLE file = CreateFileA(path.text, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        ErrorText message;
        LoadErrorText(code, message);
        Print("Durante a verificacao se o arquivo esta sendo utilizado, foi retornado o codigo "
              "[%d] e a mensagem [%s].\n",
              static_cast<int>(code), message.text);
        isFree = IsFreeErrorCode(code);
    } else {
        CloseHandle(file);
    }
    if (verbose) {
        Print("Verificacao do arquivo concluida.\n");
    }
    return isFree;
}
