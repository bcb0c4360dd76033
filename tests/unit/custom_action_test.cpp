// The custom action's decisions that need no installation: which folders a run checks.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "integration/msi/folder_list.h"

namespace {

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

} // namespace
