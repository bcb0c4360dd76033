#include "integration/core/ask.h"

#include <wchar.h>

#include "integration/core/folder_argument.h"
#include "integration/core/folder_form.h"
#include "integration/core/quenz_process.h"

namespace {

// Each line Quenz printed, as it printed it in the ANSI code page.
void TellLines(const Report& report, const QuenzOutput& output)
{
    for (size_t start = 0, end = 0; start < output.length; start = end + 1) {
        for (end = start; end < output.length && output.bytes[end] != '\n'; ++end) {
        }
        wchar_t line[2048];
        const size_t bytes = end - start - (end > start && output.bytes[end - 1] == '\r' ? 1 : 0);
        const int count = MultiByteToWideChar(CP_ACP, 0, output.bytes + start,
                                              static_cast<int>(bytes), line, 2047);
        line[count > 0 ? count : 0] = L'\0';
        Tell(report, L"Quenz: %ls", line);
    }
}

// Runs Quenz once about the folder of argument `index`, until `deadline`.
Answer AskOnce(const Question& question, size_t index, ULONGLONG deadline, const Report& report)
{
    wchar_t commandLine[Question::kArgumentSize + 16];
    _snwprintf(commandLine, Question::kArgumentSize + 16, L"Quenz %ls%ls",
               question.arguments[index], index == 0 ? L"" : L" -nw");
    commandLine[Question::kArgumentSize + 15] = L'\0';
    QuenzOutput output;
    switch (RunQuenz(question.quenz, commandLine, deadline, output)) {
    case RunEnd::NotStarted:
        Tell(report, L"Quenz could not be run (error %lu): %ls", output.exitCode, question.quenz);
        return Answer::NotStarted;
    case RunEnd::TimedOut:
        Tell(report, L"Quenz did not end within %lu ms, and was ended: %ls", question.timeoutMs,
             commandLine);
        return Answer::TimedOut;
    case RunEnd::Ended:
        break;
    }
    TellLines(report, output);
    const Answer answer = ReadAnswer(output.exitCode, output.bytes, output.length);
    if (answer == Answer::NoVerdict) {
        Tell(report, L"Quenz gave no verdict (exit code %lu)", output.exitCode);
    }
    return answer;
}

// One look at every folder; the first that is not "nothing runs" is the answer.
Answer LookAtAll(const Question& question, ULONGLONG deadline, const Report& report)
{
    Answer answer = Answer::NothingRuns;
    for (size_t index = 0; index < question.count && answer == Answer::NothingRuns; ++index) {
        answer = AskOnce(question, index, deadline, report);
    }
    return answer;
}

} // namespace

bool PutFolder(Question& question, const wchar_t* given, const Report& report, Answer& doubt)
{
    wchar_t folder[kFolderSize];
    if (!MakeFolderForm(given, folder)) {
        Tell(report,
             L"\"%ls\" does not mean one folder: give an absolute one (C:\\... or "
             L"\\\\server\\share\\...), without . or .., with no name that ends in a blank or a "
             L"dot",
             given);
        doubt = Answer::UnclearFolder;
        return false;
    }
    if (question.count == Question::kMostFolders) {
        Tell(report, L"more than %d folders to check", static_cast<int>(question.count));
        doubt = Answer::UnreachableFolder;
        return false;
    }
    if (!FolderArgument(folder, question.arguments[question.count], Question::kArgumentSize)) {
        Tell(report,
             L"the folder \"%ls\" has letters that Quenz cannot receive, or takes more than 244 "
             L"bytes in the ANSI code page, and no short (8.3) name that fits",
             folder);
        doubt = Answer::UnreachableFolder;
        return false;
    }
    Tell(report, L"the Java edition's folder is %ls; Quenz is given %ls", folder,
         question.arguments[question.count]);
    ++question.count;
    return true;
}

Answer Ask(const Question& question, const Report& report)
{
    if (question.count == 0) {
        Tell(report, L"no folder to ask about");
        return Answer::NoVerdict;
    }
    const ULONGLONG deadline = GetTickCount64() + question.timeoutMs;
    const Answer first = LookAtAll(question, deadline, report);
    if (!IsRunning(first)) {
        return first;
    }
    Tell(report, L"the %ls edition seems to run: Quenz looks again in %lu ms",
         first == Answer::JavaRuns ? L"Java" : L"Windows", question.pauseMs);
    if (report.lookingAgain != nullptr) {
        report.lookingAgain(report.context, first, question.pauseMs);
    }
    if (GetTickCount64() + question.pauseMs >= deadline) {
        Tell(report, L"no time is left within %lu ms for a second look", question.timeoutMs);
        return Answer::TimedOut;
    }
    Sleep(question.pauseMs);
    return LookAtAll(question, deadline, report);
}
