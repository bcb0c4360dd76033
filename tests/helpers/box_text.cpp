// Reads a message box as a person would: prints, in UTF-8 and with LF line ends, the text of
// each visible dialog whose title begins with the argument; exits 1 when there is none.
//   box_text TITLE
#include <windows.h>

#include <string>

namespace {

struct Search
{
    const wchar_t* title;
    std::wstring text;
};

BOOL CALLBACK AddStaticText(HWND control, LPARAM found)
{
    wchar_t name[64] = {};
    wchar_t text[2048] = {};
    GetClassNameW(control, name, 64);
    if (lstrcmpiW(name, L"Static") == 0 && GetWindowTextW(control, text, 2048) > 0) {
        reinterpret_cast<Search*>(found)->text += std::wstring(text) + L"\n";
    }
    return TRUE;
}

BOOL CALLBACK AddDialog(HWND window, LPARAM found)
{
    Search& search = *reinterpret_cast<Search*>(found);
    wchar_t name[64] = {};
    wchar_t title[512] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, title, 512);
    if (IsWindowVisible(window) && lstrcmpW(name, L"#32770") == 0 &&
        std::wstring(title).rfind(search.title, 0) == 0) {
        EnumChildWindows(window, AddStaticText, found);
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        return 2;
    }
    Search search = {argv[1], L""};
    EnumWindows(AddDialog, reinterpret_cast<LPARAM>(&search));
    std::string bytes;
    for (const wchar_t c : search.text) {
        char utf8[8];
        const int count =
            c == L'\r' ? 0 : WideCharToMultiByte(CP_UTF8, 0, &c, 1, utf8, 8, nullptr, nullptr);
        bytes.append(utf8, count > 0 ? count : 0);
    }
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
    return search.text.empty() ? 1 : 0;
}
