// The callers' rules that need no Quenz: what a name given for the Java edition's folder means,
// how that folder reaches Quenz, and what counts as Quenz's verdict.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "integration/core/answer.h"
#include "integration/core/folder_argument.h"
#include "integration/core/folder_form.h"

namespace {

#define OPENING "Verificando se algum Dalmivorax esta em execucao.\r\n"
#define NONE "Nenhum Dalmivorax esta em execucao.\r\n"
#define JAVA "O Dalmivorax Java esta em execucao.\r\n"
#define WINDOWS "O Dalmivorax Windows esta em execucao.\r\n"

TEST(Verdict, CountsOnlyTheLineThatGoesWithTheExitCode)
{
    const struct
    {
        DWORD exitCode;
        std::string output;
        Answer answer;
    } rows[] = {
        {0, OPENING NONE, Answer::NothingRuns},
        {1, OPENING JAVA, Answer::JavaRuns},
        {1, OPENING WINDOWS, Answer::WindowsRuns},
        {0, OPENING JAVA, Answer::NoVerdict},
        {1, OPENING NONE, Answer::NoVerdict},
        {2, OPENING NONE, Answer::NoVerdict},
        {0, "", Answer::NoVerdict},
        {0, OPENING "Nenhum Dalmivorax esta em execucao.", Answer::NoVerdict},
        {0, OPENING "x" NONE, Answer::NoVerdict},
        {1, OPENING JAVA "\r\n", Answer::NoVerdict},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReadAnswer(row.exitCode, row.output.data(), row.output.size()), row.answer)
            << row.exitCode << " " << row.output;
    }
}

TEST(FolderForm, OneFolderOrNone)
{
    const std::wstring longest = L"C:\\" + std::wstring(kFolderSize - 4, L'x');
    const std::wstring tooLong = longest + L"x";
    const struct
    {
        std::wstring given;
        const wchar_t* form; // null: the name does not mean one folder
    } rows[] = {
        {L"C:\\Apps\\Dalmivorax", L"C:\\Apps\\Dalmivorax"},
        {L"c:/apps/Dalmivorax/", L"c:\\apps\\Dalmivorax"},
        {L"C:\\Apps\\Dalmivorax\\\\\\", L"C:\\Apps\\Dalmivorax"},
        {L"C:\\Apps\\50%off !x ^y &z (d'Arc)", L"C:\\Apps\\50%off !x ^y &z (d'Arc)"},
        {L"\\\\server\\share\\Dalmivorax\\", L"\\\\server\\share\\Dalmivorax"},
        {L"C:\\", L"C:"}, // a drive's root, as an installer writes it
        {L"C:", L"C:"},
        {longest, longest.c_str()},
        // Windows drops a last name's final blanks and dots, and keeps a middle one's.
        {L"C:\\Apps\\Dalmi ", nullptr},
        {L"C:\\Apps\\Dalmi.", nullptr},
        {L"C:\\Apps \\Dalmi", nullptr},
        {L"C:\\Apps.\\Dalmi", nullptr},
        {L"C:\\Apps\\.\\Dalmi", nullptr},
        {L"C:\\Apps\\..\\Dalmi", nullptr},
        {L"C:\\Apps\\\\Dalmi", nullptr},
        // Relative to a current folder, or one that Quenz would read as an option.
        {L"-nw", nullptr},
        {L"-v", nullptr},
        {L"Dalmivorax", nullptr},
        {L"\\Apps\\Dalmivorax", nullptr},
        {L"C:Apps", nullptr},
        {L"\\\\server", nullptr},
        {L"\\\\?\\C:\\Apps", nullptr},
        {L"\\\\.\\C:\\Apps", nullptr},
        // No file name holds these; a colon would name a stream.
        {L"C:\\Apps\\x\" -nj", nullptr},
        {L"C:\\Apps|x", nullptr},
        {L"C:\\Apps\\x:y", nullptr},
        {L"C:\\Apps\\x\ty", nullptr},
        {L"", nullptr},
        {L"\\", nullptr},
        {tooLong, nullptr},
    };
    for (const auto& row : rows) {
        static wchar_t form[kFolderSize];
        EXPECT_EQ(MakeFolderForm(row.given.c_str(), form), row.form != nullptr) << row.given;
        if (row.form != nullptr) {
            EXPECT_EQ(std::wstring(form), row.form);
        }
    }
}

TEST(FolderArgument, ReachesQuenzIntactOrNotAtAll)
{
    // 244 bytes and 245 in code pages 1252, 932 (あ takes 2) and 65001 (ç takes 2, あ 3).
    const std::wstring fits = L"C:\\" + std::wstring(241, L'x');
    const std::wstring over = fits + L"x";
    const std::wstring dbcsOver = L"C:\\" + std::wstring(121, L'\u3042');
    const std::wstring utf8Fits = L"C:\\" + std::wstring(120, L'\u00E7') + L"x";
    const std::wstring utf8Over = utf8Fits + L"x";
    const struct
    {
        UINT codePage;
        const wchar_t* folder;
        const wchar_t* shortForm;
        bool exists;
        const wchar_t* argument; // null: no argument reaches Quenz intact
    } rows[] = {
        {1252, L"C:\\Apps\\Dalmivorax", L"C:\\Apps\\DALMIV~1", true, L"C:\\Apps\\Dalmivorax"},
        {1252, L"C:\\Instalação (d'Arc)", L"C:\\INSTAL~1", true, L"\"C:\\Instalação (d'Arc)\""},
        {1252, L"C:\\Nguyễn Thị", L"C:\\NGUY~1", true, L"C:\\NGUY~1"},
        {1252, L"C:\\Łukasz", L"C:\\_UKA~1", true, L"C:\\_UKA~1"},  // not the look-alike L
        {1252, L"C:\\x＂ -nj", L"C:\\X__-~1", true, L"C:\\X__-~1"}, // not a quote
        {1252, L"C:\\Nguyễn Thị", L"", false, L"-nj"},              // cannot hold a running jar
        {1252, L"C:\\Nguyễn Thị", L"", true, nullptr},              // no short names
        {1252, L"C:\\Nguyễn Thị", L"C:\\NGUYỄN~1", true, nullptr},  // nor a usable one
        {1252, L"C:\\Apps\\Dalmivorax", L"", false, L"C:\\Apps\\Dalmivorax"},
        {1252, L"", L"", false, nullptr}, // no folder at all
        // Quenz would probe ...\Dalmivorax.ja past 244 bytes: never held, never running.
        {1252, fits.c_str(), L"C:\\XXXXXX~1", true, fits.c_str()},
        {1252, over.c_str(), L"C:\\XXXXXX~1", true, L"C:\\XXXXXX~1"},
        {1252, over.c_str(), over.c_str(), true, nullptr}, // no short names: the long one
        {1252, over.c_str(), L"", false, L"-nj"},
        // Counted in bytes, not letters.
        {932, dbcsOver.c_str(), L"C:\\0A1B~1", true, L"C:\\0A1B~1"},
        {932, L"C:\\\u3042\u3044", L"C:\\0A1B~1", true, L"C:\\\u3042\u3044"},
        // 表 ends in the byte of a backslash: in quotes it would escape the closing one.
        {932, L"C:\\\u8868", L"C:\\0A1B~1", true, L"C:\\\u8868"},
        {932, L"C:\\a \u8868", L"C:\\A0A1B~1", true, L"C:\\A0A1B~1"},
        {932, L"C:\\a \u8868", L"", true, nullptr},
        // Under Windows' UTF-8 setting every letter arrives, and takes its UTF-8 bytes.
        {CP_UTF8, L"C:\\Nguyễn Thị", L"C:\\NGUY~1", true, L"\"C:\\Nguyễn Thị\""},
        {CP_UTF8, utf8Fits.c_str(), L"C:\\CCCCCC~1", true, utf8Fits.c_str()},
        {CP_UTF8, utf8Over.c_str(), L"C:\\CCCCCC~1", true, L"C:\\CCCCCC~1"},
        {CP_UTF8, L"C:\\\xD800x", L"", true, nullptr}, // half a letter has no UTF-8 form
    };
    for (const auto& row : rows) {
        wchar_t argument[512] = L"unchanged";
        const bool reaches =
            MakeFolderArgument(row.folder, row.shortForm, row.exists, row.codePage, argument, 512);
        EXPECT_EQ(reaches, row.argument != nullptr) << row.codePage << " " << row.folder;
        if (reaches && row.argument != nullptr) {
            EXPECT_EQ(std::wstring(argument), row.argument) << row.codePage;
        }
    }
    wchar_t small[8];
    EXPECT_FALSE(MakeFolderArgument(L"C:\\Apps\\Dalmivorax", L"", true, 1252, small, 8));
    // Wine takes any flags for UTF-8; Windows fails the call, and no folder would ever pass.
    EXPECT_TRUE(ConversionFor(CP_UTF8).flags == WC_ERR_INVALID_CHARS &&
                !ConversionFor(CP_UTF8).usedDefault);
    EXPECT_TRUE(ConversionFor(932).flags == WC_NO_BEST_FIT_CHARS && ConversionFor(932).usedDefault);
}

// -nj only where a lookup that could see the folder says it is not there.
TEST(FolderArgument, MissingOnlyWhenTheLookupSaysSo)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp;
    const std::wstring file = folder + L"quenz-may-exist.txt";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const struct
    {
        std::wstring name;
        bool mayExist;
    } rows[] = {
        {folder, true},
        {folder + L"quenz-not-there", false},
        {folder + L"quenz-not-there\\below", false},
        {file, false}, // a file holds no jar
        {folder + L"quenz|not-a-name", true},
        {folder + std::wstring(MAX_PATH, L'x'), true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MayExist(row.name.c_str()), row.mayExist) << row.name;
    }
    DeleteFileW(file.c_str());
}

} // namespace
