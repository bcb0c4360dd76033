// The custom action's decisions that need no installation: what Quenz answered, how the Java
// edition's folder reaches it, and which folders a run checks. Run under code page 1252.
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
    ASSERT_EQ(GetACP(), 1252u) << "run with LC_ALL=C.UTF-8";
    const struct
    {
        const wchar_t* folder;
        const wchar_t* shortForm;
        bool exists;
        const wchar_t* argument; // null: no argument reaches Quenz intact
    } rows[] = {
        {L"C:\\Apps\\Dalmivorax", L"C:\\Apps\\DALMIV~1", true, L"\"C:\\Apps\\Dalmivorax\""},
        {L"C:\\Instalação (d'Arc)", L"C:\\INSTAL~1", true, L"\"C:\\Instalação (d'Arc)\""},
        {L"C:\\Nguyễn Thị", L"C:\\NGUY~1", true, L"\"C:\\NGUY~1\""},
        {L"C:\\Łukasz", L"C:\\_UKA~1", true, L"\"C:\\_UKA~1\""},  // not the look-alike L
        {L"C:\\x＂ -nj", L"C:\\X__-~1", true, L"\"C:\\X__-~1\""}, // not a quote
        {L"C:\\Nguyễn Thị", L"", false, L"-nj"},                  // cannot hold a running jar
        {L"C:\\Nguyễn Thị", L"", true, nullptr},                  // no short names
        {L"C:\\Nguyễn Thị", L"C:\\NGUYỄN~1", true, nullptr},      // nor a usable one
        {L"C:\\Apps\\Dalmivorax", L"", false, L"\"C:\\Apps\\Dalmivorax\""},
    };
    for (const auto& row : rows) {
        wchar_t argument[64] = L"unchanged";
        const bool reaches =
            MakeFolderArgument(row.folder, row.shortForm, row.exists, argument, 64);
        EXPECT_EQ(reaches, row.argument != nullptr) << row.folder;
        if (reaches && row.argument != nullptr) {
            EXPECT_STREQ(argument, row.argument);
        }
    }
    wchar_t small[8];
    EXPECT_FALSE(MakeFolderArgument(L"C:\\Apps\\Dalmivorax", L"", true, small, 8));
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
