// The custom action's decisions that need no installation: what Quenz answered, how the Java
// edition's folder reaches it, and which folders a run checks.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "integration/msi/folder_argument.h"
#include "integration/msi/folder_list.h"
#include "integration/msi/verdict.h"

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
        QuenzAnswer answer;
    } rows[] = {
        {0, OPENING NONE, QuenzAnswer::NothingRuns},
        {1, OPENING JAVA, QuenzAnswer::JavaRuns},
        {1, OPENING WINDOWS, QuenzAnswer::WindowsRuns},
        {0, OPENING JAVA, QuenzAnswer::NoAnswer},
        {1, OPENING NONE, QuenzAnswer::NoAnswer},
        {2, OPENING NONE, QuenzAnswer::NoAnswer},
        {0, "", QuenzAnswer::NoAnswer},
        {0, OPENING "Nenhum Dalmivorax esta em execucao.", QuenzAnswer::NoAnswer},
        {0, OPENING "x" NONE, QuenzAnswer::NoAnswer},
        {1, OPENING JAVA "\r\n", QuenzAnswer::NoAnswer},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReadAnswer(row.exitCode, row.output.data(), row.output.size()), row.answer)
            << row.exitCode << " " << row.output;
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
        {1252, L"C:\\Instalação (d'Arc)", L"C:\\INSTAL~1", true, L"C:\\Instalação (d'Arc)"},
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
        // Under Windows' UTF-8 setting every letter arrives, and takes its UTF-8 bytes.
        {CP_UTF8, L"C:\\Nguyễn Thị", L"C:\\NGUY~1", true, L"C:\\Nguyễn Thị"},
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
            const std::wstring expected = row.argument[0] == L'-'
                                              ? std::wstring(row.argument)
                                              : L"\"" + std::wstring(row.argument) + L"\"";
            EXPECT_EQ(std::wstring(argument), expected) << row.codePage;
        }
    }
    wchar_t small[8];
    EXPECT_FALSE(MakeFolderArgument(L"C:\\Apps\\Dalmivorax", L"", true, 1252, small, 8));
    // Wine takes any flags for UTF-8; Windows fails the call, and no folder would ever pass.
    EXPECT_TRUE(ConversionFor(CP_UTF8).flags == WC_ERR_INVALID_CHARS &&
                !ConversionFor(CP_UTF8).usedDefault);
    EXPECT_TRUE(ConversionFor(932).flags == WC_NO_BEST_FIT_CHARS && ConversionFor(932).usedDefault);
}

TEST(FolderList, EachFolderOnceWhereverWindowsInstallerPutTheJar)
{
    const struct
    {
        const wchar_t* keyPath;
        const wchar_t* folder; // null: names no folder
    } keyPaths[] = {
        {L"C:\\Custom\\Dalmivorax\\Dalmivorax.cfg", L"C:\\Custom\\Dalmivorax"},
        {L"C:\\Custom\\Dalmivorax\\", L"C:\\Custom\\Dalmivorax"},  // a folder as key path
        {L"02:\\Software\\Dalmivorax\\Java\\InstallDir", nullptr}, // a registry key
        {L"", nullptr},
    };
    for (const auto& row : keyPaths) {
        wchar_t folder[64] = L"";
        EXPECT_EQ(FolderOfKeyPath(row.keyPath, folder, 64), row.folder != nullptr) << row.keyPath;
        EXPECT_STREQ(folder, row.folder != nullptr ? row.folder : L"") << row.keyPath;
    }
    EXPECT_TRUE(IsJarFileName(L"DALMIV~1.JAR|Dalmivorax.jar"));
    EXPECT_TRUE(IsJarFileName(L"dalmivorax.JAR"));
    EXPECT_FALSE(IsJarFileName(L"Dalmivorax.jar|Dalmivorax.exe"));
    EXPECT_FALSE(IsJarFileName(L"Dalmivorax.jar.bak"));

    static FolderList folders = {};
    EXPECT_TRUE(AddFolder(folders, L"C:\\Program Files\\Dalmivorax\\"));
    EXPECT_TRUE(AddFolder(folders, L"c:\\program files\\dalmivorax"));
    EXPECT_TRUE(AddFolder(folders, L"C:\\Custom\\Dalmivorax"));
    ASSERT_EQ(folders.count, 2u);
    EXPECT_STREQ(folders.names[0], L"C:\\Program Files\\Dalmivorax");
    EXPECT_TRUE(AllFoldersListed(folders));
    while (folders.count < FolderList::kCapacity) {
        AddFolder(folders, std::to_wstring(folders.count).c_str());
    }
    EXPECT_TRUE(AllFoldersListed(folders));
    // One folder more than the list holds: the action must stop, not check the others alone.
    EXPECT_FALSE(AddFolder(folders, L"D:\\One more"));
    EXPECT_FALSE(AllFoldersListed(folders));
    EXPECT_FALSE(AllFoldersListed(FolderList{}));
}

TEST(Verdict, TimeoutIsMillisecondsOrTwoMinutes)
{
    const struct
    {
        const wchar_t* value;
        DWORD milliseconds;
    } rows[] = {{L"", 120000},           {L"2000", 2000},       {L"1", 1},
                {L"86400000", 86400000}, {L"86400001", 120000}, {L"0", 120000},
                {L"-5", 120000},         {L"2 s", 120000},      {L"99999999999999999999", 120000}};
    for (const auto& row : rows) {
        EXPECT_EQ(TimeoutMs(row.value), row.milliseconds) << row.value;
    }
}

} // namespace
