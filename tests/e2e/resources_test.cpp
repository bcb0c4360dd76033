// What Windows and an installer read from Quenz.exe itself, its version and its manifest, and
// from the custom action, its version.
#include <string.h>

#include <tuple>

#include "tests/e2e/harness.h"

namespace {

std::string VersionString(const std::vector<char>& block, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\041604E4\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "<missing>";
    }
    return std::string(value, length > 0 ? length - 1 : 0);
}

// Quenz.exe and the custom action, QuenzCA.dll, each with its own names.
TEST(Resources, VersionNamesTheProduct)
{
    for (const auto& [file, name, type] : {std::tuple{"Quenz.exe", "Quenz", VFT_APP},
                                           std::tuple{"QuenzCA.dll", "QuenzCA", VFT_DLL}}) {
        const std::string program = BesideTests(file);
        DWORD ignored = 0;
        std::vector<char> block(GetFileVersionInfoSizeA(program.c_str(), &ignored));
        ASSERT_FALSE(block.empty()) << file << " has no version resource";
        ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(block.size()),
                                        block.data()));
        EXPECT_EQ(VersionString(block, "ProductName"), "Quenz");
        EXPECT_EQ(VersionString(block, "FileVersion"), QUENZ_EXPECTED_VERSION);
        EXPECT_EQ(VersionString(block, "ProductVersion"), QUENZ_EXPECTED_VERSION);
        EXPECT_EQ(VersionString(block, "OriginalFilename"), file);
        EXPECT_EQ(VersionString(block, "InternalName"), name);
        EXPECT_NE(VersionString(block, "FileDescription"), "<missing>");

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(HIWORD(fixed->dwFileVersionLS));
        EXPECT_EQ(numbers, QUENZ_EXPECTED_VERSION);
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(type));
    }
}

WORD Machine(const std::string& path)
{
    std::string bytes;
    if (!ReadBytes(path, bytes) || bytes.size() < 0x40) {
        return 0;
    }
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const size_t at = static_cast<size_t>(dos->e_lfanew) + 4;
    return at + sizeof(IMAGE_FILE_HEADER) <= bytes.size()
               ? reinterpret_cast<const IMAGE_FILE_HEADER*>(bytes.data() + at)->Machine
               : 0;
}

// The programs under test are as wide as the tests, so that each lane runs its own; and the
// x86 lane runs where it says it does: in a WoW64 prefix (win64) or on 32-bit Windows (win32).
TEST(Resources, ProgramsOfTheLane)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    for (const char* file : {"Quenz.exe", "QuenzCA.dll"}) {
        EXPECT_EQ(Machine(BesideTests(file)), Machine(self)) << file;
    }
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr) {
        return;
    }
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    const char* arch = getenv("QUENZ_WINEARCH");
    const std::string expected = sizeof(void*) == 8 ? "" : wow64 ? "win64" : "win32";
    EXPECT_EQ(arch == nullptr ? "" : arch, expected);
}

BOOL CALLBACK CountManifest(HMODULE, LPCSTR, LPSTR name, LONG_PTR found)
{
    reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

TEST(Resources, OneManifestAsInvoker)
{
    HMODULE image = LoadLibraryExA(BesideTests("Quenz.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    std::vector<ULONG_PTR> names;
    EnumResourceNamesA(image, MAKEINTRESOURCEA(24), CountManifest,
                       reinterpret_cast<LONG_PTR>(&names));
    ASSERT_EQ(names, std::vector<ULONG_PTR>{1}) << "exactly one manifest, the process one (ID 1)";
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
    const std::string manifest(bytes, SizeofResource(image, found));
    FreeLibrary(image);
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"),
              std::string::npos)
        << manifest;
    // Nothing that changes how the program behaves.
    for (const char* absent : {"activeCodePage", "compatibility", "dpiAware", "longPathAware",
                               "requireAdministrator", "highestAvailable"}) {
        EXPECT_EQ(manifest.find(absent), std::string::npos) << absent << " in\n" << manifest;
    }
}

} // namespace
