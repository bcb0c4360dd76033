// Installers with Quenz inside, run silently under raw command lines: the example installer and
// uninstaller; checks.exe, which runs both macros in .onInit and writes what QuenzCheck answered
// to {java}.answer; the kit's quenz-check.cmd under cmd.exe; the MSI packages; and Inno Setup's
// example Setup and uninstaller, their logs in {java}.answer.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <thread>

#include "tests/e2e/harness.h"

#include <msi.h>
#include <tlhelp32.h>

namespace {

// /D= and _?= go last and unquoted, blanks and all.
#define SETUP "\"{tests}installer-kit\\DalmivoraxJava-setup.exe\" /S /D={java}"
#define UNINSTALL "\"{java}\\uninstall.exe\" /S _?={java}"
// As Apps & Features starts it: it copies itself to %TEMP%, starts the copy and returns at
// once. The row's outcome is seen once the copy has ended too (WaitForCopyInTemp).
#define UNINSTALL_AS_PERSON "\"{java}\\uninstall.exe\" /S"
#define CHECKS(name) "\"{tests}" name ".exe\" /S /D={java}"
// cmd.exe /c drops the outer pair of quotes. In batch-alone\ it has no QuenzCheck.exe beside it.
#define BATCH_IN(folder, arguments)                                                                \
    "cmd.exe /c \"\"{tests}" folder "quenz-check.cmd\" " arguments "\""
#define BATCH(arguments) BATCH_IN("", arguments)
#define INSTALLED "Dalmivorax.jar uninstall.exe"
#define JAVA_ANSWER "1|O Dalmivorax Java esta em execucao."
// Inno Setup's example Setup and uninstaller, their logs in {java}.answer.
#define INNO_FLAGS " /VERYSILENT /SUPPRESSMSGBOXES /LOG=\"{java}.answer\""
#define INNO(setup, dir) "\"{tests}" setup ".exe\" /DIR=\"" dir "\"" INNO_FLAGS
#define INNO_SETUP INNO("inno-setup", "{java}")
#define INNO_UNINSTALL "\"{java}\\unins000.exe\"" INNO_FLAGS
#define INNO_INSTALLED "Dalmivorax.jar Quenz.exe unins000.dat unins000.exe"
#define INNO_JAVA_LINE "Quenz \"{java}\": O Dalmivorax Java esta em execucao. (exit code 1)"
#define INNO_JAVA "*" INNO_JAVA_LINE

// Names are UTF-8 here, and reach files and programs through the wide API.
const char* const kAccented = "{scratch}\\Arquivos de Programas\\Instalação Dalmivorax";
// Ł would reach Quenz as the L of the folder beside it, which holds a free jar.
const char* const kLookAlike = "{scratch}\\Łukasz";
#define MAKE_LOOK_ALIKE                                                                            \
    "cmd.exe /c mkdir {scratch}\\Lukasz && copy nul {scratch}\\Lukasz\\Dalmivorax.jar"
// U+FF02 would reach Quenz as a quote that ends the argument, and -nj as an option.
const char* const kFullwidthQuote = "{scratch}\\x＂ -nj";
std::string Repeat(const char* letter, int count)
{
    std::string letters;
    while (count-- > 0) {
        letters += letter;
    }
    return letters;
}
// Past 244 bytes in code page 932, where the Dbcs rows run, in fewer letters: Quenz would cut
// it. Two folders, since a Linux name holds at most 255 bytes.
const std::string kPast244 =
    "{scratch}\\" + Repeat("\xE3\x81\x82", 66) + "\\" + Repeat("\xE3\x81\x82", 66);
// Letters of two bytes in UTF-8 and one in code page 1252.
const std::string kCedillas = "{scratch}\\" + Repeat("\xC3\xA7", 50);

// The MSI package with QuenzCheck, under Wine's msiexec, its log in {java}.answer. Its exit code
// is read here in full: from Linux only its low 8 bits would be seen.
#define MSI(verb, package)                                                                         \
    "msiexec.exe " verb " \"{tests}" package ".msi\" /qn /l*v \"{java}.answer\""
#define MSI_INSTALL(package) MSI("/i", package) " \"INSTALLDIR={java}\""
#define MSI_FREE "*QuenzCheck: no edition of Dalmivorax runs: the installation goes on"
#define MSI_SILENT                                                                                 \
    "*QuenzCheck: nobody can be asked (no box in a silent or passive run, answer 0): nothing is "  \
    "changed"
#define MSI_INSTALLED "Dalmivorax.cfg Dalmivorax.jar +product"
#define PRODUCT_CODE "{258D53B6-4AA9-434D-9212-E1861CA755E1}"
// A repair as Wine's msiexec takes it (its /fa is broken).
#define MSI_REPAIR                                                                                 \
    "msiexec.exe /i " PRODUCT_CODE " REINSTALL=ALL REINSTALLMODE=amus /qn /l*v \"{java}.answer\""
// The packages a row may leave installed: version 1 (+product) and version 2 (+v2), which
// replaces it.
const char* const kProducts[][2] = {{PRODUCT_CODE, " +product"},
                                    {"{9F1C3E52-7B6A-4C1D-8E2F-3A4B5C6D7E8F}", " +v2"}};

struct Ending
{
    DWORD exitCode;
    std::string after;  // the names in {java} afterwards, sorted, blank-separated, and
                        // +product while the test package stays installed
    std::string answer; // {java}.answer; a final * stands for any rest, a first * for any text
                        // before and after
};

struct InstallerRow
{
    std::string name;
    std::string commandLine;
    Scene setup;
    Ending ending;
    // Where the scratch folder's volume makes no short (8.3) names, as on Windows' own hosted
    // runners, a folder outside the code page cannot always reach Quenz; unset, the same ending.
    std::optional<Ending> withoutShortNames = std::nullopt;
    const char* needsWindows = nullptr; // why the row shows nothing under Wine: skipped there
};
#define WINE_CALL "Wine's cmd.exe: a call of a batch file that ends with exit /b 2 leaves 1"
#define WINE_PERCENT                                                                               \
    "Wine's cmd.exe drops a lone % from the arguments of a batch file run by cmd /c"

// The scratch folder's name is longer than 8.3, so it has a short name of its own unless its
// volume makes none.
bool HasShortNames(const std::string& folder)
{
    const std::wstring path = ToWide(folder);
    wchar_t shortForm[MAX_PATH];
    const DWORD length = GetShortPathNameW(path.c_str(), shortForm, MAX_PATH);
    const std::wstring given = length > 0 && length < MAX_PATH ? shortForm : path;
    return given.substr(given.rfind(L'\\')) != path.substr(path.rfind(L'\\'));
}

// The answer as UTF-8 with LF line ends, whether an installer wrote it or a Windows Installer log
// in UTF-16 or with CR LF.
std::string Contents(const std::string& path)
{
    std::string bytes;
    ReadBytes(path, bytes);
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        bytes = FromWide(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                                      (bytes.size() - 2) / 2));
    }
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
    return bytes;
}

std::string Names(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(ToWide(folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (entry.cFileName[0] != '.') {
                names.push_back(FromWide(entry.cFileName));
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : " ") + name;
    }
    return joined;
}

// Waits for the copy of itself that an uninstaller leaves running in the temporary folder, as
// it does when started as a person starts it. Only for that: the first program of a new Wine
// session also gets Wine's own explorer.exe and services.exe as children, which never end.
void WaitForCopyInTemp(DWORD parent)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    GetLongPathNameW(temp, temp, MAX_PATH);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        HANDLE child = entry.th32ParentProcessID == parent
                           ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                         entry.th32ProcessID)
                           : nullptr;
        wchar_t image[MAX_PATH];
        DWORD size = MAX_PATH;
        if (child != nullptr && QueryFullProcessImageNameW(child, 0, image, &size) &&
            GetLongPathNameW(image, image, MAX_PATH) > 0 &&
            _wcsnicmp(image, temp, wcslen(temp)) == 0) {
            EXPECT_EQ(WaitForSingleObject(child, 60000), WAIT_OBJECT_0) << "still running";
        }
        if (child != nullptr) {
            CloseHandle(child);
        }
    }
    CloseHandle(snapshot);
}

// The program of an installer's copy of Quenz that runs (Quenz.exe, or the custom action's
// Quenz-*.exe), or empty when none does; `exceptId` is left out.
std::wstring RunningQuenz(DWORD exceptId = 0)
{
    return FindProgram([&](const PROCESSENTRY32W& entry, const std::wstring&) {
        return _wcsnicmp(entry.szExeFile, L"Quenz", 5) == 0 && entry.th32ProcessID != exceptId;
    });
}

bool QuenzRuns()
{
    return !RunningQuenz().empty();
}

class Installer : public testing::TestWithParam<InstallerRow>
{
protected:
    void SetUp() override
    {
        if (GetParam().needsWindows != nullptr && UnderWine()) {
            GTEST_SKIP() << GetParam().needsWindows;
        }
        if (GetParam().name.find("Dbcs") == std::string::npos) {
            ASSERT_EQ(GetACP(), 1252u) << "run with LC_ALL=C.UTF-8";
        } else {
            ASSERT_EQ(GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
        }
        SetNameCodePage(CP_UTF8);
    }
};

TEST_P(Installer, ExitsAndLeaves)
{
    const InstallerRow& row = GetParam();
    World world(row.setup);
    ASSERT_FALSE(testing::Test::HasFailure());
    const bool shortNames = HasShortNames(world.scratch());
    // Set where the volume is known, so that no row passes by the ending of the other kind.
    if (const char* known = getenv("QUENZ_SHORT_NAMES")) {
        ASSERT_EQ(shortNames, std::string(known) == "on") << world.scratch();
    }
    const Ending& ending =
        shortNames || !row.withoutShortNames ? row.ending : *row.withoutShortNames;
    const std::string commandLine = world.Expand(row.commandLine);
    const Outcome outcome = RunProgram(nullptr, commandLine, world.scratch());
    WaitForCopyInTemp(outcome.processId);
    EXPECT_EQ(outcome.exitCode, ending.exitCode) << commandLine << "\n" << outcome.out;
    const std::string answer = Contents(world.Expand("{java}.answer"));
    const std::string expected = world.Expand(ending.answer);
    if (!expected.empty() && expected.front() == '*') {
        EXPECT_NE(answer.find(expected.substr(1)), std::string::npos) << expected;
    } else if (!expected.empty() && expected.back() == '*') {
        EXPECT_EQ(answer.substr(0, expected.size() - 1), expected.substr(0, expected.size() - 1));
    } else {
        EXPECT_EQ(answer, expected);
    }
    world.EndHolders();
    if (ending.exitCode != 0) {
        world.ExpectUnchanged();
    }
    std::string after = Names(world.Expand("{java}"));
    for (const auto& [code, token] : kProducts) {
        if (MsiQueryProductStateW(ToWide(code).c_str()) == INSTALLSTATE_DEFAULT) {
            after += token;
            // A product that recorded no folder names it here.
            RunProgram(nullptr,
                       "msiexec.exe /x " + std::string(code) +
                           " /qn \"QUENZ_OLD_DIR=" + world.Expand("{java}") + "\"",
                       world.scratch());
        }
    }
    EXPECT_EQ(after, ending.after);
    EXPECT_FALSE(QuenzRuns()) << "a Quenz is left running";
    // The custom action's own copy of Quenz.exe is gone.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW entry;
    HANDLE left = FindFirstFileW((std::wstring(temp) + L"Quenz-*.exe").c_str(), &entry);
    EXPECT_EQ(left, INVALID_HANDLE_VALUE) << FromWide(entry.cFileName);
    FindClose(left);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Silent, Installer, testing::Values(
    InstallerRow{"InstallsWhenNothingRuns", SETUP, {.jar = Main::NoFolder}, 0, INSTALLED, ""},
    InstallerRow{"RefusesWhileJavaRuns", SETUP, {.jar = Main::Shared}, 2, "Dalmivorax.jar", ""},
    InstallerRow{"RefusesWhileWindowsRuns", SETUP, {.exe = Main::Running, .ini = kIni}, 2, "", ""},
    InstallerRow{"InstallsInAccentedFolder", SETUP, {.jar = Main::Free, .javaDir = kAccented}, 0, INSTALLED, ""},
    InstallerRow{"RefusesInAccentedFolder", SETUP, {.jar = Main::Shared, .javaDir = kAccented}, 2, "Dalmivorax.jar", ""},
    InstallerRow{"InstallsOutsideCodePage", SETUP, {.jar = Main::Free, .javaDir = kVietnamese}, 0, INSTALLED, "",
        Ending{2, "Dalmivorax.jar", ""}},
    InstallerRow{"RefusesOutsideCodePage", SETUP, {.jar = Main::Shared, .javaDir = kVietnamese}, 2, "Dalmivorax.jar", ""},
    InstallerRow{"RefusesBesideLookAlike", SETUP, {.jar = Main::Shared, .javaDir = kLookAlike, .prepare = MAKE_LOOK_ALIKE},
        2, "Dalmivorax.jar", ""},
    InstallerRow{"RefusesWithFullwidthQuote", SETUP, {.jar = Main::Shared, .javaDir = kFullwidthQuote}, 2, "Dalmivorax.jar", ""},
    InstallerRow{"InstallsInNewFolderOutsideCodePage", SETUP, {.jar = Main::NoFolder, .javaDir = kVietnamese}, 0, INSTALLED, ""},
    InstallerRow{"NewFolderOutsideCodePageWhileWindowsRuns", SETUP,
        {.jar = Main::NoFolder, .exe = Main::Running, .ini = kIni, .javaDir = kVietnamese}, 2, "", ""},
    // On a volume without short names, the folder cannot reach Quenz: no answer.
    InstallerRow{"CheckCannotPassFolder", CHECKS("checks-no-short-names"), {.jar = Main::Free, .javaDir = kVietnamese},
        2, "Dalmivorax.jar", "error|O Quenz n\xE3o pode receber o nome desta pasta*"},
    // Under Windows' UTF-8 setting, the ANSI code page 65001, which Wine cannot set: checks-utf8
    // takes it, and makes no short names. Every letter passes, counted in UTF-8.
    InstallerRow{"CheckUnderUtf8Setting", CHECKS("checks-utf8"), {.jar = Main::Shared, .javaDir = kAccented}, 2,
        "Dalmivorax.jar", JAVA_ANSWER},
    InstallerRow{"CheckCountsUtf8Bytes", CHECKS("checks-utf8"), {.jar = Main::Shared, .javaDir = kCedillas.c_str(),
        .javaLength = 270}, 2, "Dalmivorax.jar", "error|O Quenz n\xE3o pode receber o nome desta pasta*"},
    // Past 244 bytes, the folder goes by its short name: in every integration.
    InstallerRow{"DbcsRefusesPast244Bytes", SETUP, {.jar = Main::Shared, .javaDir = kPast244.c_str()}, 2, "Dalmivorax.jar", ""},
    InstallerRow{"DbcsInstallsPast244Bytes", SETUP, {.jar = Main::Free, .javaDir = kPast244.c_str()}, 0, INSTALLED, ""},
    InstallerRow{"DbcsMsiRefusesPast244Bytes", MSI_INSTALL("product"), {.jar = Main::Shared, .javaDir = kPast244.c_str()},
        1603, "Dalmivorax.jar", MSI_SILENT},
    InstallerRow{"DbcsMsiInstallsPast244Bytes", MSI_INSTALL("product"), {.jar = Main::Free, .javaDir = kPast244.c_str()},
        0, MSI_INSTALLED, MSI_FREE},
    InstallerRow{"DbcsInnoRefusesPast244Bytes", INNO_SETUP, {.jar = Main::Shared, .javaDir = kPast244.c_str()}, 7,
        "Dalmivorax.jar", "*O Dalmivorax Java esta em execucao. (exit code 1)"},
    InstallerRow{"DbcsInnoInstallsPast244Bytes", INNO_SETUP, {.jar = Main::Free, .javaDir = kPast244.c_str()}, 0,
        INNO_INSTALLED, "*Nenhum Dalmivorax esta em execucao. (exit code 0)"},
    InstallerRow{"UninstallRefusesWhileJavaRuns", UNINSTALL, {.jar = Main::Shared, .prepare = SETUP}, 2, INSTALLED, ""},
    InstallerRow{"UninstallRefusesOutsideCodePage", UNINSTALL, {.jar = Main::Shared, .javaDir = kVietnamese, .prepare = SETUP},
        2, INSTALLED, ""},
    // A running uninstaller cannot delete itself; it carries its own Quenz.
    InstallerRow{"UninstallRemovesOnceFree", UNINSTALL, {.jar = Main::Absent, .prepare = SETUP}, 0, "uninstall.exe", ""},
    InstallerRow{"PersonsUninstallRefuses", UNINSTALL_AS_PERSON, {.jar = Main::Shared, .prepare = SETUP}, 0, INSTALLED, ""},
    InstallerRow{"PersonsUninstallRemoves", UNINSTALL_AS_PERSON, {.jar = Main::Absent, .prepare = SETUP}, 0, "", ""},
    InstallerRow{"CheckFindsNothingRunning", CHECKS("checks"), {.jar = Main::Free}, 0, "Dalmivorax.jar",
        "0|Nenhum Dalmivorax esta em execucao."},
    InstallerRow{"CheckFindsJava", CHECKS("checks"), {.jar = Main::Shared}, 2, "Dalmivorax.jar", JAVA_ANSWER},
    InstallerRow{"CheckFindsWindows", CHECKS("checks"), {.exe = Main::Running, .ini = kIni}, 2, "",
        "1|O Dalmivorax Windows esta em execucao."},
    InstallerRow{"QuenzThatSaysNothing", CHECKS("checks-mute"), {.jar = Main::Free}, 2, "Dalmivorax.jar",
        "error|O Quenz n\xE3o deu uma resposta v\xE1lida; c\xF3" "digo de sa\xED" "da: 0"},
    InstallerRow{"QuenzThatCannotStart", CHECKS("checks-broken"), {.jar = Main::Free}, 2, "Dalmivorax.jar",
        "error|O Quenz n\xE3o p\xF4" "de ser executado: *"},
    // quenz-check.cmd hands its arguments to QuenzCheck.exe, and exits with 0 only on its 0.
    InstallerRow{"BatchGoesOnWhenNothingRuns", BATCH("\"{java}\""), {.jar = Main::Free}, 0, "Dalmivorax.jar", ""},
    InstallerRow{"BatchStopsWhileJavaRuns", BATCH("\"{java}\""), {.jar = Main::Shared}, 2, "Dalmivorax.jar", ""},
    // A variable named ERRORLEVEL hides the exit code from %ERRORLEVEL%, not from "if errorlevel".
    InstallerRow{"BatchStopsDespiteErrorlevelVariable",
        "cmd.exe /c \"set ERRORLEVEL=0&& \"{tests}quenz-check.cmd\" \"{java}\"\"", {.jar = Main::Shared}, 2,
        "Dalmivorax.jar", ""},
    InstallerRow{"BatchPassesShellLetters", BATCH("\"{java}\""), {.jar = Main::Shared, .javaDir = kShellLetters}, 2,
        "Dalmivorax.jar", "", std::nullopt, WINE_PERCENT},
    // Two arguments, no QuenzCheck.exe.
    InstallerRow{"BatchStopsOnUnquotedBlanks", BATCH("{java}"),
        {.jar = Main::Shared, .javaDir = "{scratch}\\Arquivos de Programas"}, 2, "Dalmivorax.jar", ""},
    InstallerRow{"BatchStopsWithoutQuenzCheck", BATCH_IN("batch-alone\\", "\"{java}\""), {.jar = Main::Free}, 2,
        "Dalmivorax.jar", ""},
    InstallerRow{"BatchThroughCallStops", "cmd.exe /c \"call \"{tests}quenz-check.cmd\" \"{java}\"\"",
        {.jar = Main::Shared}, 2, "Dalmivorax.jar", "", std::nullopt, WINE_CALL},
    InstallerRow{"MsiInstallsWhenNothingRuns", MSI_INSTALL("product"), {.jar = Main::NoFolder}, 0,
        MSI_INSTALLED, "*Quenz: Durante a verificacao se o arquivo esta sendo utilizado, foi retornado o codigo [3]"},
    // "Running" is believed after a second look only.
    InstallerRow{"MsiRefusesWhileJavaRuns", MSI_INSTALL("product"), {.jar = Main::Shared}, 1603, "Dalmivorax.jar",
        "*QuenzCheck: Quenz: O Dalmivorax Java esta em execucao.\nQuenzCheck: the Java edition seems to run: Quenz "
        "looks again in 500 ms\nQuenzCheck: Quenz: Verificando"},
    InstallerRow{"MsiQuenzDirBeforeInstallDir", MSI("/i", "product") " INSTALLDIR={scratch}\\other \"QUENZ_DIR={java}\"",
        {.jar = Main::Shared}, 1603, "Dalmivorax.jar", "*Quenz is given {java}\n"},
    InstallerRow{"MsiRefusesWhileWindowsRuns", MSI_INSTALL("product"), {.exe = Main::Running, .ini = kIni}, 1603, "",
        "*QuenzCheck: the Windows edition runs\n"},
    InstallerRow{"MsiInstallsInAccentedFolder", MSI_INSTALL("product"), {.jar = Main::Free, .javaDir = kAccented}, 0,
        MSI_INSTALLED, MSI_FREE},
    // Under /passive, as under /qn, Windows Installer shows no box and answers 0.
    InstallerRow{"MsiPassiveRefuses", MSI_INSTALL("product") " /passive", {.jar = Main::Shared}, 1603, "Dalmivorax.jar",
        MSI_SILENT},
    InstallerRow{"MsiRefusesOutsideCodePage", MSI_INSTALL("product"), {.jar = Main::Shared, .javaDir = kVietnamese}, 1603,
        "Dalmivorax.jar", MSI_SILENT, Ending{1603, "Dalmivorax.jar", "*no short (8.3) name that fits: nothing is changed"}},
    // The package does not remember INSTALLDIR: removal, repair and upgrade resolve it to the
    // default folder, and the jar's own folder is checked as Windows Installer recorded it.
    InstallerRow{"MsiUninstallRefusesWhileJavaRuns", MSI("/x", "product"),
        {.jar = Main::Shared, .prepare = MSI_INSTALL("product")}, 1603, MSI_INSTALLED,
        "*QuenzCheck: " PRODUCT_CODE " installed Dalmivorax.jar in {java} (component"},
    InstallerRow{"MsiRepairRefuses", MSI_REPAIR, {.jar = Main::Shared, .prepare = MSI_INSTALL("product")}, 1603,
        MSI_INSTALLED, MSI_SILENT},
    InstallerRow{"MsiRepairRefusesWithoutKeyFile", MSI_REPAIR,
        {.jar = Main::Shared, .prepare = "cmd.exe /c " MSI_INSTALL("product") " && del \"{java}\\Dalmivorax.cfg\""},
        1603, "Dalmivorax.jar +product", MSI_SILENT},
    // Version 2 goes into the default folder, and finds version 1 in {java} by its own package,
    // where the jar's component has another code.
    InstallerRow{"MsiUpgradeRefusesWhileOldRuns", MSI("/i", "product-v2"), {.jar = Main::Shared, .prepare = MSI_INSTALL("product")},
        1603, MSI_INSTALLED, "*installed Dalmivorax.jar in {java} (component {17E7DB61-F3CE-4A41-81F1-C4E363B30898})"},
    // The jar's component has a registry value as its key path: only QuenzCheck's record names the
    // folder, for the removal and for the upgrade; without it, Quenz cannot tell.
    InstallerRow{"MsiRegistryKeyUninstallRefuses", MSI("/x", "product-profile"),
        {.jar = Main::Shared, .prepare = MSI_INSTALL("product-profile")}, 1603, MSI_INSTALLED,
        "*QuenzCheck: " PRODUCT_CODE " recorded its Java edition's folder {java}\n"},
    InstallerRow{"MsiRegistryKeyUpgradeRefuses", MSI("/i", "product-profile-v2"),
        {.jar = Main::Shared, .prepare = MSI_INSTALL("product-profile")}, 1603, MSI_INSTALLED, MSI_SILENT},
    InstallerRow{"MsiRegistryKeyUninstallRemovesOnceFree", MSI("/x", "product-profile") " \"INSTALLDIR={java}\"",
        {.jar = Main::Absent, .prepare = MSI_INSTALL("product-profile")}, 0, "", MSI_FREE},
    InstallerRow{"MsiUnrecordedRegistryKeyCannotTell", MSI("/x", "product-profile") " \"INSTALLDIR={java}\"",
        {.jar = Main::Absent, .prepare = MSI_INSTALL("product-profile") " ADDLOCAL=Main"}, 1603, MSI_INSTALLED,
        "*recorded no folder of its Java edition"},
    InstallerRow{"MsiUnrecordedRegistryKeyOldDirRefuses", MSI("/x", "product-profile") " \"QUENZ_OLD_DIR={java}\"",
        {.jar = Main::Shared, .prepare = MSI_INSTALL("product-profile") " ADDLOCAL=Main"}, 1603, MSI_INSTALLED,
        MSI_SILENT},
    // Wine's msiexec removes the files from INSTALLDIR as it resolves it, not from where they went.
    InstallerRow{"MsiUninstallRemovesOnceFree", MSI("/x", "product") " \"INSTALLDIR={java}\"",
        {.jar = Main::Absent, .prepare = MSI_INSTALL("product")}, 0, "", MSI_FREE},
    // QuenzDetect, scheduled before the guard, gives the answer and leaves the decision to it.
    InstallerRow{"MsiDetectFindsNothing", MSI_INSTALL("product-detect"), {.jar = Main::Free}, 0, MSI_INSTALLED,
        "*Property(S): QUENZ_RUNNING = 0\n"},
    InstallerRow{"MsiDetectFindsJava", MSI_INSTALL("product-detect"), {.jar = Main::Shared}, 1603, "Dalmivorax.jar",
        "*Property(S): QUENZ_RUNNING = 1\n"},
    InstallerRow{"MsiDetectFindsWindows", MSI_INSTALL("product-detect"), {.exe = Main::Running, .ini = kIni}, 1603, "",
        "*Property(S): QUENZ_RUNNING = 2\n"},
    InstallerRow{"MsiDetectCannotTell", MSI_INSTALL("product-broken-detect"), {.jar = Main::Free}, 1603, "Dalmivorax.jar",
        "*Property(S): QUENZ_RUNNING = error\n"},
    InstallerRow{"MsiQuenzThatIsNoProgram", MSI_INSTALL("product-broken"), {.jar = Main::Free}, 1603, "Dalmivorax.jar",
        "*QuenzCheck: Quenz could not be run (error 193)"},
    // Inno Setup: Setup refuses at "Preparing to Install" with 7, the uninstaller at its start
    // with 1; the author's own PrepareToInstall still runs.
    InstallerRow{"InnoInstallsWhenNothingRuns", INNO_SETUP, {.jar = Main::NoFolder}, 0, INNO_INSTALLED,
        "*The example's own PrepareToInstall ran."},
    InstallerRow{"InnoRefusesWhileJavaRuns", INNO_SETUP, {.jar = Main::Shared}, 7, "Dalmivorax.jar", INNO_JAVA},
    InstallerRow{"InnoRefusesWhileWindowsRuns", INNO_SETUP, {.exe = Main::Running, .ini = kIni}, 7, "",
        "*O Dalmivorax Windows esta em execucao. (exit code 1)"},
    InstallerRow{"InnoInstallsInAccentedFolder", INNO_SETUP, {.jar = Main::Free, .javaDir = kAccented}, 0, INNO_INSTALLED,
        "*Nenhum Dalmivorax esta em execucao. (exit code 0)"},
    InstallerRow{"InnoRefusesInAccentedFolder", INNO_SETUP, {.jar = Main::Shared, .javaDir = kAccented}, 7, "Dalmivorax.jar",
        INNO_JAVA},
    InstallerRow{"InnoRefusesWithFinalBackslash", INNO("inno-setup", "{java}\\"), {.jar = Main::Shared}, 7, "Dalmivorax.jar",
        INNO_JAVA},
    InstallerRow{"InnoRefusesUnderUtf8Setting", INNO("inno-utf8", "{java}"), {.jar = Main::Shared, .javaDir = kAccented}, 7,
        "Dalmivorax.jar", INNO_JAVA},
    InstallerRow{"InnoRefusesOutsideCodePage", INNO_SETUP, {.jar = Main::Shared, .javaDir = kVietnamese}, 7, "Dalmivorax.jar",
        "*O Dalmivorax Java esta em execucao. (exit code 1)"},
    InstallerRow{"InnoQuenzThatSaysNothing", INNO("inno-mute", "{java}"), {.jar = Main::Free}, 7, "Dalmivorax.jar",
        "*Quenz cannot tell: O Quenz n\xC3\xA3o deu uma resposta v\xC3\xA1lida; c\xC3\xB3" "digo de sa\xC3\xAD" "da: 0"},
    InstallerRow{"InnoQuenzThatIsNoProgram", INNO("inno-broken", "{java}"), {.jar = Main::NoFolder}, 7, "",
        "*Quenz cannot tell: O Quenz n\xC3\xA3o p\xC3\xB4" "de ser executado: "},
    InstallerRow{"InnoUninstallRefusesWhileJavaRuns", INNO_UNINSTALL, {.jar = Main::Shared, .prepare = INNO_SETUP}, 1,
        INNO_INSTALLED, INNO_JAVA},
    // Its copy of Quenz replaced by a file that is no program.
    InstallerRow{"InnoUninstallQuenzThatIsNoProgram", INNO_UNINSTALL, {.jar = Main::Free,
        .prepare = "cmd.exe /c \"" INNO_SETUP " && copy /y \"{tests}installer-kit\\README.md\" \"{java}\\Quenz.exe\"\""},
        1, INNO_INSTALLED, "*Quenz cannot tell: O Quenz n\xC3\xA3o p\xC3\xB4" "de ser executado: "},
    // authors.iss: the author's own QuenzCheck, the Java edition's folder below {app}, no uninstaller.
    InstallerRow{"InnoAuthorsCheckFindsJava", INNO("inno-no-uninstaller", "{java}"), {.jar = Main::Shared}, 7,
        "Dalmivorax.jar", "*The author's QuenzCheck: 1 O Dalmivorax Java esta em execucao."},
    InstallerRow{"InnoQuenzDirBelowApp", INNO("inno-lib", "{scratch}\\app"),
        {.jar = Main::Shared, .javaDir = "{scratch}\\app\\lib"}, 7, "Dalmivorax.jar", INNO_JAVA},
    InstallerRow{"InnoAuthorsCheckFindsNothing", INNO("inno-no-uninstaller", "{java}"), {.jar = Main::Free}, 0,
        "Dalmivorax.jar", "*The author's QuenzCheck: 0 Nenhum Dalmivorax esta em execucao."},
    InstallerRow{"InnoUninstallRemovesOnceFree", INNO_UNINSTALL, {.jar = Main::Absent, .prepare = INNO_SETUP}, 0, "",
        "*Removed all? Yes"}),
    RowName);
// clang-format on

// A check that meets the jar held for a moment, as by another check at the same instant, is
// forgiven: checks.exe and inno-slow.exe look again 3 s later (their pause set so) before they
// give up. Each row: the installer, and the answer it writes once a look has found the jar held.
struct TransientRow
{
    std::string name;
    std::string commandLine;
    std::string answer;
};

class Transient : public testing::TestWithParam<TransientRow>
{
};

TEST_P(Transient, SecondLookForgivesAMomentaryHold)
{
    ASSERT_EQ(GetACP(), 1252u) << "run with LC_ALL=C.UTF-8";
    World world({.jar = Main::Shared});
    const std::string answer = world.Expand(GetParam().answer);
    Outcome outcome;
    std::atomic<bool> ended = false;
    std::thread installer([&] {
        outcome = RunProgram(nullptr, world.Expand(GetParam().commandLine), world.scratch());
        ended = true;
    });
    // The holder lets go a second after the answer is written, well inside the pause before the
    // last look. The answer stays where it was written; a Quenz process can start and end between
    // two looks at the process list, and a test that waits for it misses it under load.
    const std::string path = world.Expand("{java}.answer");
    for (int waited = 0;
         waited < 60000 && !ended && Contents(path).find(answer) == std::string::npos;
         waited += 20) {
        Sleep(20);
    }
    EXPECT_NE(Contents(path).find(answer), std::string::npos) << Contents(path);
    Sleep(1000);
    world.EndHolders();
    installer.join();
    EXPECT_EQ(outcome.exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Installers, Transient,
                         testing::Values(TransientRow{"Nsis", CHECKS("checks"), JAVA_ANSWER},
                                         TransientRow{"Inno", INNO("inno-slow", "{java}"),
                                                      INNO_JAVA_LINE}),
                         RowName);

// A Quenz that never answers is ended in time, and nothing else is: while the installer waits,
// a stranger started here from the same program must outlive it. Each row: the installer, what
// it needs installed first, its exit code and the line that names the reason.
struct TimeOutRow
{
    std::string name;
    std::string commandLine;
    const char* prepare;
    DWORD exitCode;
    std::string answer;
};

class TimeOut : public testing::TestWithParam<TimeOutRow>
{
};

TEST_P(TimeOut, EndsItsOwnQuenzAlone)
{
    ASSERT_EQ(GetACP(), 1252u) << "run with LC_ALL=C.UTF-8";
    const TimeOutRow& row = GetParam();
    World world({.jar = Main::Free, .prepare = row.prepare});
    Outcome outcome;
    std::thread installer(
        [&] { outcome = RunProgram(nullptr, world.Expand(row.commandLine), world.scratch()); });
    std::wstring image;
    for (int waited = 0; waited < 30000 && image.empty(); waited += 10) {
        Sleep(10);
        image = RunningQuenz();
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES; // what a stand-in prints goes nowhere
    startup.hStdInput = startup.hStdOutput = startup.hStdError = INVALID_HANDLE_VALUE;
    PROCESS_INFORMATION stranger = {};
    std::wstring line = L"\"" + image + L"\"";
    EXPECT_TRUE(CreateProcessW(image.c_str(), line.data(), nullptr, nullptr, FALSE,
                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &stranger))
        << "no Quenz of the installer's to copy: " << FromWide(image);
    installer.join();
    EXPECT_EQ(outcome.exitCode, row.exitCode);
    const std::string answer = Contents(world.Expand("{java}.answer"));
    EXPECT_NE(answer.find(row.answer), std::string::npos) << answer;
    EXPECT_EQ(RunningQuenz(stranger.dwProcessId), L"") << "the installer's Quenz is left running";
    EXPECT_EQ(WaitForSingleObject(stranger.hProcess, 0), WAIT_TIMEOUT) << "the stranger was ended";
    TerminateProcess(stranger.hProcess, 1);
    WaitForSingleObject(stranger.hProcess, 10000);
    CloseHandle(stranger.hProcess);
    CloseHandle(stranger.hThread);
    // What the installer could not delete while the stranger ran.
    DeleteFileW(image.c_str());
    RemoveDirectoryW(image.substr(0, image.rfind(L'\\')).c_str());
}

#define TIMED_OUT "O Quenz n\xE3o terminou a tempo e foi encerrado; milissegundos: "
#define INNO_TIMED_OUT                                                                             \
    "Quenz cannot tell: O Quenz n\xC3\xA3o terminou a tempo e foi encerrado; milissegundos: "
// clang-format off
INSTANTIATE_TEST_SUITE_P(Installers, TimeOut, testing::Values(
    TimeOutRow{"Nsis", CHECKS("checks-never-ends"), nullptr, 2, "error|" TIMED_OUT "2000"},
    // It prints without end: the pipe it fills is never empty.
    TimeOutRow{"Msi", MSI_INSTALL("product-prints-forever") " QUENZ_TIMEOUT_MS=2000", nullptr, 1603,
        "QuenzCheck: Quenz did not end within 2000 ms, and was ended: "},
    TimeOutRow{"InnoSetup", INNO("inno-never-ends", "{java}"), nullptr, 7, INNO_TIMED_OUT "2000"},
    // Its copy of Quenz replaced by one that never ends, after a Setup with a limit of 10 s.
    TimeOutRow{"InnoUninstaller", INNO_UNINSTALL,
        "cmd.exe /c \"" INNO("inno-short-limit", "{java}") " && copy /y \"{tests}never_ends.exe\" \"{java}\\Quenz.exe\"\"",
        1, INNO_TIMED_OUT "10000"}),
    RowName);
// clang-format on

} // namespace
