#include "tests/e2e/harness.h"

#include <ostream>

namespace {

UINT nameCodePage = CP_ACP;

std::wstring Wide(const std::string& path)
{
    return L"\\\\?\\" + ToWide(path);
}

std::string ReadAll(HANDLE from)
{
    std::string bytes;
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(from, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        bytes.append(buffer, count);
    }
    return bytes;
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Quenz's pieces of output are ASCII but for the help text, paths and system texts: shown
// escaped, a difference in a CR or a high byte is plain to see.
std::string Visible(const std::string& bytes)
{
    std::string shown;
    char hex[8];
    for (const unsigned char byte : bytes) {
        if (byte == '\n') {
            shown += "\\n\n";
        } else if (byte == '\r') {
            shown += "\\r";
        } else if (byte < 0x20 || byte >= 0x7F) {
            snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

// Starts `program` with the given standard handles, all else inherited as it is marked.
// A null `program` lets the system take it from the command line, as a shell would.
bool Start(const char* program, const std::string& commandLine, const char* directory, HANDLE input,
           HANDLE output, HANDLE error, HANDLE& process)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION started = {};
    std::wstring line = ToWide(commandLine);
    if (!CreateProcessW(program == nullptr ? nullptr : ToWide(program).c_str(), line.data(),
                        nullptr, nullptr, TRUE, 0, nullptr,
                        directory == nullptr ? nullptr : ToWide(directory).c_str(), &startup,
                        &started)) {
        ADD_FAILURE() << "cannot start " << commandLine << ": " << GetLastError();
        return false;
    }
    CloseHandle(started.hThread);
    process = started.hProcess;
    return true;
}

} // namespace

void SetNameCodePage(UINT codePage)
{
    nameCodePage = codePage;
}

std::wstring ToWide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    const int count =
        MultiByteToWideChar(nameCodePage, 0, text.data(), static_cast<int>(text.size()),
                            wide.data(), static_cast<int>(wide.size()));
    wide.resize(count > 0 ? count : 0);
    return wide;
}

std::string FromWide(const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    const int count =
        WideCharToMultiByte(nameCodePage, 0, text.data(), static_cast<int>(text.size()),
                            bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(count > 0 ? count : 0);
    return bytes;
}

bool ReadBytes(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes = ReadAll(file);
    CloseHandle(file);
    return true;
}

std::string Crlf(const std::string& text)
{
    return ReplaceAll(text, "\n", "\r\n");
}

std::string SystemText(DWORD code)
{
    char buffer[2048] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, 2047, nullptr);
    const std::string text = buffer;
    return text.substr(0, text.find('\r'));
}

std::string PathOfLength(const std::string& base, int length)
{
    std::string path = base;
    while (static_cast<int>(path.size()) < length) {
        const int left = length - static_cast<int>(path.size()) - 1;
        path += "\\" + std::string(left > 100 ? 100 : left > 0 ? left : 0, 'x');
    }
    // A last step of one byte would be a bare backslash: trade a byte with the step before.
    if (!path.empty() && path.back() == '\\') {
        path.erase(path.size() - 2, 1);
        path += 'y';
    }
    return path;
}

bool UnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

std::wstring
FindProgram(const std::function<bool(const PROCESSENTRY32W&, const std::wstring&)>& matches)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    std::wstring found;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && found.empty();
         more = Process32NextW(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        wchar_t image[1024];
        DWORD size = 1024;
        const std::wstring program =
            process != nullptr && QueryFullProcessImageNameW(process, 0, image, &size) ? image
                                                                                       : L"";
        if (process != nullptr) {
            CloseHandle(process);
        }
        if (matches(entry, program)) {
            found = program.empty() ? entry.szExeFile : program;
        }
    }
    CloseHandle(snapshot);
    return found;
}

std::wstring ProgramRunningIn(const std::string& folder, DWORD exceptId)
{
    const std::wstring prefix = ToWide(folder) + L"\\";
    return FindProgram([&](const PROCESSENTRY32W& entry, const std::wstring& program) {
        return entry.th32ProcessID != exceptId &&
               _wcsnicmp(program.c_str(), prefix.c_str(), prefix.size()) == 0;
    });
}

std::string BesideTests(const char* name)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.rfind('\\') + 1) + name;
}

void MakeFolders(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
        CreateDirectoryW(Wide(path.substr(0, at)).c_str(), nullptr);
    }
    CreateDirectoryW(Wide(path).c_str(), nullptr);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << path << ": " << GetLastError();
    DWORD count = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
    CloseHandle(file);
}

Holder::Holder(const std::string& program, const std::string& arguments)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE readyRead = nullptr;
    HANDLE readyWrite = nullptr;
    CreatePipe(&inputRead, &input_, &inherit, 0);
    CreatePipe(&readyRead, &readyWrite, &inherit, 0);
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(readyRead, HANDLE_FLAG_INHERIT, 0);
    const std::string commandLine = "\"" + program + "\" " + arguments;
    const bool started =
        Start(program.c_str(), commandLine, nullptr, inputRead, readyWrite, readyWrite, process_);
    CloseHandle(inputRead);
    CloseHandle(readyWrite);
    if (!started) {
        CloseHandle(readyRead);
        return;
    }
    char ready = 0;
    DWORD count = 0;
    ReadFile(readyRead, &ready, 1, &count, nullptr);
    CloseHandle(readyRead);
    EXPECT_EQ(ready, 'R') << "the holder did not get ready: " << commandLine;
}

Holder::~Holder()
{
    End();
}

void Holder::End()
{
    if (input_ != nullptr) {
        CloseHandle(input_);
        input_ = nullptr;
    }
    if (process_ != nullptr) {
        WaitForSingleObject(process_, INFINITE);
        CloseHandle(process_);
        process_ = nullptr;
    }
}

IniFile::IniFile(const char* text)
{
    // Only the suite's own Wine prefix may get a Dal-vor.ini of ours.
    if (UnderWine() && getenv("QUENZ_PRIVATE_PREFIX") == nullptr) {
        ADD_FAILURE() << "refusing to touch Dal-vor.ini outside the suite's Wine prefix";
        return;
    }
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    path_ = std::string(windows) + "\\Dal-vor.ini";
    saved_ = path_ + ".quenz-saved";
    none_ = path_ + ".quenz-none";
    PutBack();
    if (!MoveFileExA(path_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            ADD_FAILURE() << "cannot set " << path_ << " aside: " << error;
            path_.clear();
            return;
        }
        WriteBytes(none_, "");
    }
    if (text != nullptr) {
        WriteBytes(path_, text);
    }
}

IniFile::~IniFile()
{
    if (!path_.empty()) {
        PutBack();
    }
}

void IniFile::PutBack() const
{
    if (MoveFileExA(saved_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return;
    }
    if (GetFileAttributesA(none_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(path_.c_str());
        DeleteFileA(none_.c_str());
    }
}

World::World(const Scene& setup)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    scratch_ = std::string(temp) + "quenz-" + name.substr(0, 60) + "-" +
               std::to_string(GetCurrentProcessId());
    RemoveTree(Wide(scratch_));
    MakeFolders(scratch_);
    if (std::string(setup.javaDir).find("{drive}") != std::string::npos ||
        std::string(setup.winDir).find("{drive}") != std::string::npos) {
        MapDrive();
    }

    java_ = Expand(setup.javaDir);
    if (setup.javaLength > 0) {
        java_ = PathOfLength(java_, setup.javaLength);
    }
    win_ = Expand(setup.winDir);
    if (setup.winLength > 0) {
        win_ = PathOfLength(win_, setup.winLength);
    }
    if (setup.prepare != nullptr) {
        const Outcome prepared = RunProgram(nullptr, Expand(setup.prepare), scratch_);
        EXPECT_EQ(prepared.exitCode, 0u) << "preparing with " << Expand(setup.prepare);
    }
    Place(setup.jar, java_, "Dalmivorax.jar");
    Place(setup.exe, win_, "Dalmivorax.exe");
    ini_.emplace(setup.ini == nullptr ? nullptr : Expand(setup.ini).c_str());
    // Quenz only ever reads the INI file: it must not appear, change or go either.
    if (!ini_->path().empty()) {
        watched_.push_back(ini_->path());
    }
    // Snapshots first: a file held without sharing cannot be read.
    for (const std::string& path : watched_) {
        before_.push_back(Take(path));
    }
    for (const auto& [program, arguments] : toHold_) {
        holders_.push_back(std::make_unique<Holder>(program, arguments));
    }
}

World::~World()
{
    holders_.clear();
    ini_.reset();
    for (const std::string& path : outside_) {
        DeleteFileW(Wide(path).c_str());
    }
    if (driveMapped_) {
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, ToWide(drive_).c_str(), nullptr);
    }
    RemoveTree(Wide(scratch_));
}

void World::MapDrive()
{
    for (wchar_t letter = L'Q'; letter <= L'Z' && !driveMapped_; ++letter) {
        const wchar_t drive[] = {letter, L':', L'\0'};
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR &&
            DefineDosDeviceW(0, drive, ToWide(scratch_).c_str())) {
            driveMapped_ = GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES;
            if (driveMapped_) {
                drive_ = FromWide(drive);
            } else {
                DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive, nullptr);
            }
        }
    }
    if (!driveMapped_) {
        ASSERT_TRUE(UnderWine() && getenv("QUENZ_PRIVATE_PREFIX") != nullptr)
            << "no drive could be mapped to " << scratch_;
        drive_ = scratch_.substr(0, 2);
    }
}

void World::Place(Main state, const std::string& dir, const char* name)
{
    const std::string path = dir + "\\" + name;
    if (state != Main::NoFolder) {
        MakeFolders(dir);
        watched_.push_back(path);
    }
    if (path.rfind(scratch_ + "\\", 0) != 0) {
        outside_.push_back(path);
    }
    switch (state) {
    case Main::Absent:
    case Main::NoFolder:
        break;
    case Main::Directory:
        MakeFolders(path);
        break;
    case Main::Running:
        ASSERT_TRUE(CopyFileW(Wide(BesideTests("holder.exe")).c_str(), Wide(path).c_str(), FALSE));
        toHold_.push_back({path, ""});
        break;
    default:
        WriteBytes(path, "PK\x03\x04 not really a jar\r\n");
        if (state == Main::Shared || state == Main::Exclusive) {
            toHold_.push_back({BesideTests("holder.exe"),
                               std::string(state == Main::Shared ? "shared" : "exclusive") + " \"" +
                                   path + "\""});
        }
    }
}

World::Snapshot World::Take(const std::string& path) const
{
    Snapshot snapshot;
    WIN32_FILE_ATTRIBUTE_DATA data;
    snapshot.exists = GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) != 0;
    if (snapshot.exists) {
        snapshot.written = data.ftLastWriteTime;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ReadBytes(path, snapshot.bytes);
        }
    }
    return snapshot;
}

void World::ExpectUnchanged() const
{
    for (size_t index = 0; index < watched_.size(); ++index) {
        const Snapshot after = Take(watched_[index]);
        const Snapshot& before = before_[index];
        EXPECT_EQ(after.exists, before.exists) << watched_[index] << " appeared or vanished";
        EXPECT_EQ(after.bytes, before.bytes) << watched_[index] << " changed its bytes";
        EXPECT_EQ(CompareFileTime(&after.written, &before.written), 0)
            << watched_[index] << " changed its last-write time";
    }
}

std::string World::Expand(const std::string& text) const
{
    std::string expanded = ReplaceAll(text, "{scratch}", scratch_);
    expanded = ReplaceAll(expanded, "{java}", java_);
    expanded = ReplaceAll(expanded, "{win}", win_);
    expanded = ReplaceAll(expanded, "{tests}", BesideTests(""));
    expanded = ReplaceAll(expanded, "{drive}", drive_);
    for (size_t at = expanded.find("{E"); at != std::string::npos; at = expanded.find("{E", at)) {
        const size_t end = expanded.find('}', at);
        const DWORD code = std::stoul(expanded.substr(at + 2, end - at - 2));
        const std::string message = SystemText(code);
        expanded.replace(at, end - at + 1, message);
        at += message.size();
    }
    return expanded;
}

Outcome RunQuenz(const std::string& arguments, const std::string& directory, Sink sink)
{
    return RunProgram(BesideTests("Quenz.exe").c_str(), "Quenz " + arguments, directory, sink);
}

Outcome RunProgram(const char* program, const std::string& commandLine,
                   const std::string& directory, Sink sink,
                   const std::function<void(const std::string&)>& watch)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = INVALID_HANDLE_VALUE;
    const std::string outPath = directory + "\\quenz-stdout.txt";
    const std::string errPath = directory + "\\quenz-stderr.txt";
    if (sink == Sink::Pipe) {
        CreatePipe(&outRead, &outWrite, &inherit, 0);
        SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    } else if (sink == Sink::File) {
        outWrite = CreateFileW(Wide(outPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    // Standard error goes to a file: nothing is expected there, and a file cannot block.
    HANDLE errWrite = CreateFileW(Wide(errPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE process = nullptr;
    const bool started = Start(program, commandLine, directory.c_str(), INVALID_HANDLE_VALUE,
                               outWrite, errWrite, process);
    if (outWrite != INVALID_HANDLE_VALUE) {
        CloseHandle(outWrite);
    }
    CloseHandle(errWrite);
    Outcome outcome;
    if (outRead != nullptr) {
        char buffer[4096];
        DWORD count = 0;
        while (started && ReadFile(outRead, buffer, sizeof buffer, &count, nullptr) && count > 0) {
            outcome.out.append(buffer, count);
            if (watch) {
                watch(outcome.out);
            }
        }
        CloseHandle(outRead);
    }
    if (!started) {
        return outcome;
    }
    WaitForSingleObject(process, INFINITE);
    GetExitCodeProcess(process, &outcome.exitCode);
    outcome.processId = GetProcessId(process);
    CloseHandle(process);
    if (sink == Sink::File) {
        ReadBytes(outPath, outcome.out);
    }
    ReadBytes(errPath, outcome.err);
    DeleteFileW(Wide(outPath).c_str());
    DeleteFileW(Wide(errPath).c_str());
    return outcome;
}

void CheckRow(const Row& row)
{
    World world(row.setup);
    if (testing::Test::HasFatalFailure()) {
        return;
    }
    const std::string arguments = world.Expand(row.commandLine);
    const Outcome outcome = RunQuenz(arguments, world.scratch());
    const std::string expected = Crlf(world.Expand(row.expected));
    EXPECT_EQ(Visible(outcome.out), Visible(expected)) << "command line: Quenz " << arguments;
    if (Visible(outcome.out) == Visible(expected)) {
        EXPECT_EQ(outcome.out, expected) << "the bytes differ where the escaped text does not";
    }
    EXPECT_EQ(outcome.exitCode, row.exitCode) << "command line: Quenz " << arguments;
    EXPECT_EQ(outcome.err, "") << "nothing may go to standard error";
    world.EndHolders();
    world.ExpectUnchanged();
}

std::ostream& operator<<(std::ostream& stream, const Row& row)
{
    return stream << row.name << ": Quenz " << row.commandLine;
}
