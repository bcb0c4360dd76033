// QuenzCheck.exe [--timeout-ms=N] [--pause-ms=N] [--] FOLDER: whether Dalmivorax runs, by the
// callers' rules (integration/core), for scripts and installers, which decide by its exit code:
// 0 when no edition runs, 1 when the Java edition does, 2 when the Windows edition does, 3 when it
// cannot tell. It runs the Quenz.exe beside it. Its last line is Quenz's verdict line, or
// "nao-sabe: " and a keyword that names why it cannot tell; the lines before it are for people.
#include <windows.h>

#include <wchar.h>

#include <algorithm>
#include <iterator>

#include "integration/check/options.h"
#include "integration/check/print.h"
#include "integration/core/ask.h"

namespace {

// Each answer's exit code, last line (Quenz's verdict line where it has one), and the line for
// people before it when it cannot tell.
struct Conclusion
{
    Answer answer;
    int exitCode;
    const wchar_t* last;
    const wchar_t* why;
};

const Conclusion kConclusions[] = {
    {Answer::NothingRuns, 0, nullptr, nullptr},
    {Answer::JavaRuns, 1, nullptr, nullptr},
    {Answer::WindowsRuns, 2, nullptr, nullptr},
    {Answer::UnclearFolder, 3, L"nao-sabe: pasta-ambigua",
     L"Indique a pasta por um caminho absoluto (C:\\... ou \\\\servidor\\pasta\\...), sem . nem "
     L".., sem nome que termine em espaco ou ponto."},
    {Answer::UnreachableFolder, 3, L"nao-sabe: pasta-inalcancavel",
     L"O Quenz nao recebe o nome desta pasta (letras fora da pagina de codigo ANSI, ou mais de "
     L"244 bytes) e ela nao tem um nome curto (8.3) que sirva."},
    {Answer::NotStarted, 3, L"nao-sabe: quenz-nao-executa",
     L"Nao foi possivel executar o Quenz.exe da pasta do QuenzCheck.exe."},
    {Answer::NoVerdict, 3, L"nao-sabe: sem-veredito", L"O Quenz terminou sem uma resposta valida."},
    {Answer::TimedOut, 3, L"nao-sabe: tempo-esgotado",
     L"O Quenz nao respondeu a tempo e foi encerrado."},
};

static_assert(std::size(kConclusions) == static_cast<size_t>(Answer::TimedOut) + 1,
              "a conclusion for every answer");

// The folder as it was given, in brackets so that a final blank shows; a long one is cut, so that
// every line fits in what an installer reads of the output (NSIS: 1024 bytes).
void ShowFolder(const wchar_t* folder)
{
    const size_t most = 200;
    size_t shown = wcslen(folder);
    const bool cut = shown > most;
    if (cut) {
        shown = most - (folder[most - 1] >= 0xD800 && folder[most - 1] <= 0xDBFF ? 1 : 0);
    }
    Print(L"Pasta do Dalmivorax Java: [%.*ls]%ls\r\n", static_cast<int>(shown), folder,
          cut ? L"..." : L"");
}

void ShowLookingAgain(void*, Answer, DWORD pauseMs)
{
    Print(L"Parece haver um Dalmivorax em execucao; nova verificacao em %lu ms.\r\n", pauseMs);
}

// The Quenz.exe in this program's own folder; false when its path does not fit.
bool QuenzBesideMe(wchar_t* quenz, DWORD size)
{
    const DWORD length = GetModuleFileNameW(nullptr, quenz, size);
    wchar_t* name = length > 0 && length < size ? wcsrchr(quenz, L'\\') : nullptr;
    if (name == nullptr || static_cast<size_t>(name - quenz) + 11 > size) {
        return false;
    }
    wcscpy(name + 1, L"Quenz.exe");
    return true;
}

int Conclude(Answer answer)
{
    const Conclusion* conclusion =
        std::find_if(std::begin(kConclusions), std::end(kConclusions),
                     [answer](const Conclusion& each) { return each.answer == answer; });
    if (conclusion->why != nullptr) {
        Print(L"%ls\r\n", conclusion->why);
    }
    if (conclusion->last != nullptr) {
        Print(L"%ls\r\n", conclusion->last);
    } else {
        Print(L"%hs\r\n", VerdictLine(answer));
    }
    return conclusion->exitCode;
}

} // namespace

// MinGW's start-up calls it with the arguments of the wide command line (-municode).
int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv)
{
    CheckOptions options;
    if (!ReadOptions(argc, argv, options)) {
        Print(L"Uso: QuenzCheck [--timeout-ms=N] [--pause-ms=N] [--] PASTA\r\n");
        Print(L"nao-sabe: linha-de-comando\r\n");
        return 3;
    }
    ShowFolder(options.folder);
    static wchar_t quenz[1024];
    static Question question;
    if (!QuenzBesideMe(quenz, 1024)) {
        return Conclude(Answer::NotStarted);
    }
    question.quenz = quenz;
    question.timeoutMs = options.timeoutMs;
    question.pauseMs = options.pauseMs;
    const Report report = {nullptr, ShowLookingAgain, nullptr};
    Answer answer = Answer::NoVerdict;
    if (PutFolder(question, options.folder, report, answer)) {
        answer = Ask(question, report);
    }
    return Conclude(answer);
}
