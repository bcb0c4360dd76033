#pragma once
// Runs the real Quenz.exe under a raw command line, against real files held by real
// processes, and compares what it prints byte for byte.
#include <windows.h>

#include <tlhelp32.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Lines as Quenz prints them; "\n" stands for the CR LF that must leave the process.
#define OPEN "Verificando se algum Dalmivorax esta em execucao.\n"
#define JAVA "Verificacao se o Dalmivorax Java esta executando.\n"
#define WINDOWS "Verificacao se o Dalmivorax Windows esta executando.\n"
#define NOPATH "Nao foi encontrado o caminho do Dalmivorax Windows no arquivo Dal-Vor.ini.\n"
#define CHECK(path) "Verificando se o arquivo [" path "] esta em uso.\n"
// {E<code>} becomes the system's own text for the code, cut at its first CR.
#define ERR(code)                                                                                  \
    "Durante a verificacao se o arquivo esta sendo utilizado, foi retornado o codigo [" #code      \
    "] e a mensagem [{E" #code "}].\n"
#define DONE "Verificacao do arquivo concluida.\n"
#define NONE "Nenhum Dalmivorax esta em execucao.\n"
#define JAVA_RUNS "O Dalmivorax Java esta em execucao.\n"
#define WINDOWS_RUNS "O Dalmivorax Windows esta em execucao.\n"
#define HELP                                                                                       \
    "Verifica se algum Dalmivorax (Java ou Windows) esta executando.\n"                            \
    "Sintaxe:\n"                                                                                   \
    "Quenz <caminho|-h|-v|-n<j|w>>\n"                                                              \
    "          caminho=> Caminho da instala\xE7\xE3o do Dalmivorax Java;\n"                        \
    "          -h     => Exibe esta ajuda;\n"                                                      \
    "          -v     => Exibe detalhadamente o que esta sendo executado;\n"                       \
    "          -n<j|w>=> Nao verifica a execucao do Dalmivorax Java (j) ou do Dalmivorax "         \
    "Windows (w);\n"                                                                               \
    "Retorno: 1 se o Dalmivorax esta executando e 0 se nao extiver executando.\n"

// What lies at a main file's place before Quenz runs.
enum class Main
{
    Absent,    // nothing (the folder exists unless the path is longer than it can be)
    NoFolder,  // not even its folder
    Free,      // a file nobody holds
    Directory, // a directory of that name
    Shared,    // held open like a Java runtime: GENERIC_READ, FILE_SHARE_READ | WRITE
    Exclusive, // held open with no sharing
    Running,   // a copy of a small program, started and waiting
};

// The world one case runs in. Templates may hold {scratch}, {java}, {win}, {tests}, the
// folder of the test programs with its final backslash, and {drive}, a drive (X:) whose root is
// the case's own: the scratch folder, or under Wine, which cannot map a drive to a folder, the
// root of the suite's private prefix, where what the case placed is deleted afterwards.
struct Scene
{
    Main jar = Main::Absent;                 // {java}\Dalmivorax.jar
    Main exe = Main::Absent;                 // {win}\Dalmivorax.exe
    const char* ini = nullptr;               // Dal-vor.ini's text; none when null
    const char* javaDir = "{scratch}\\java"; // {java}
    const char* winDir = "{scratch}\\win";   // {win}
    int javaLength = 0;                      // when set, {java} is padded to this many bytes
    int winLength = 0;                       // likewise {win}, which is {scratch}\win
    const char* prepare = nullptr;           // a command line run before the files are placed
                                             // (an installer, into a folder not there yet); it
                                             // must exit 0
};

// One end-to-end case: the raw command line after the program's name, the world, the exact
// standard output and the exit code.
struct Row
{
    std::string name;
    std::string commandLine;
    Scene setup;
    std::string expected;
    DWORD exitCode;
};

std::ostream& operator<<(std::ostream& stream, const Row& row);
// Names each case of a table after its row.
inline constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };

enum class Sink
{
    Pipe,
    File,
    Invalid
};

struct Outcome
{
    std::string out;
    std::string err;
    DWORD exitCode = 0;
    DWORD processId = 0;
};

// A file or process set up for one case; each undoes itself.
class Holder
{
public:
    Holder(const std::string& program, const std::string& arguments);
    ~Holder();
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    void End();

private:
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
};

// Dal-vor.ini in the Windows directory for one case. What was there is kept on disk beside it
// until it is put back, so that a run that was killed loses nothing: the next one puts it back.
class IniFile
{
public:
    explicit IniFile(const char* text);
    ~IniFile();
    const std::string& path() const
    {
        return path_;
    }
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

private:
    void PutBack() const;

    std::string path_;
    std::string saved_; // the file that was there
    std::string none_;  // a mark that there was none
};

// A private folder for one case, removed afterwards, with the case's world inside.
class World
{
public:
    explicit World(const Scene& setup);
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Replaces {scratch}, {java}, {win}, {tests}, {drive} and {E<code>}.
    std::string Expand(const std::string& text) const;
    const std::string& scratch() const
    {
        return scratch_;
    }
    // Fails the test if a watched file changed, appeared or vanished. Call it once the
    // holders have ended: a file held without sharing cannot be read.
    void ExpectUnchanged() const;
    // Lets go of every held file and ends every running program.
    void EndHolders()
    {
        holders_.clear();
    }

private:
    struct Snapshot
    {
        bool exists = false;
        std::string bytes;
        FILETIME written = {};
    };
    void Place(Main state, const std::string& dir, const char* name);
    Snapshot Take(const std::string& path) const;
    void MapDrive();

    std::string scratch_;
    std::string drive_;
    bool driveMapped_ = false;
    std::vector<std::string> outside_; // files placed outside the scratch folder
    std::string java_;
    std::string win_;
    std::vector<std::string> watched_;
    std::vector<Snapshot> before_;
    std::vector<std::pair<std::string, std::string>> toHold_; // program, arguments
    std::vector<std::unique_ptr<Holder>> holders_;
    std::optional<IniFile> ini_;
};

// Runs Quenz.exe with "Quenz " + arguments as its raw command line, in `directory`.
Outcome RunQuenz(const std::string& arguments, const std::string& directory,
                 Sink sink = Sink::Pipe);
// Runs a raw command line in `directory` and waits for it; a null `program` is taken from the
// command line. `watch`, when given, sees the output gathered so far after each piece read from
// a pipe.
Outcome RunProgram(const char* program, const std::string& commandLine,
                   const std::string& directory, Sink sink = Sink::Pipe,
                   const std::function<void(const std::string&)>& watch = {});

// Sets up the row's world, runs it and checks output, exit code and the watched files.
void CheckRow(const Row& row);

// Names in templates, paths and command lines are in the ANSI code page, unless a suite needs
// names outside it and sets CP_UTF8: they then reach files and programs through the wide API.
void SetNameCodePage(UINT codePage);
std::wstring ToWide(const std::string& text);
std::string FromWide(const std::wstring& text);
// "\n" becomes CR LF.
std::string Crlf(const std::string& text);
// The system's text for an error code in the user's language, cut at its first CR.
std::string SystemText(DWORD code);
// A path `length` bytes long: `base`, then folders of x's.
std::string PathOfLength(const std::string& base, int length);
// The path of a file beside the test program.
std::string BesideTests(const char* name);
bool UnderWine();
// The program of the first running process for which `matches` holds, given its entry and its
// program's path (empty when it cannot be read), or else its file name; empty when none does.
std::wstring
FindProgram(const std::function<bool(const PROCESSENTRY32W&, const std::wstring&)>& matches);
// The program of a process that runs from `folder` or below, other than `exceptId`; empty when
// none does.
std::wstring ProgramRunningIn(const std::string& folder, DWORD exceptId = 0);

// Worlds both suites set up, with names in UTF-8: Dal-vor.ini naming {win}; a folder outside code
// page 1252, with what would break a plug-in's call string; one with what cmd.exe reads.
inline const char* const kIni = "[Dal-vor]\r\nPath={win}\r\n";
inline const char* const kVietnamese =
    "{scratch}\\d'Arc, (2) Nguy\xE1\xBB\x85n Th\xE1\xBB\x8B\\Dalmivorax";
inline const char* const kShellLetters = "{scratch}\\50%off !x ^y &z";
// Makes every folder along the path; the \\?\ form reaches beyond MAX_PATH.
void MakeFolders(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// False when the file cannot be read.
bool ReadBytes(const std::string& path, std::string& bytes);
