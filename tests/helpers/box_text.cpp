// Reads a message box as a person would: prints the text of the one box on the screen in UTF-8,
// with LF line ends; exits 1 when there is none.
#include <windows.h>

#include <string>

int main()
{
    // A message box is a dialog whose text is the static control 0xFFFF.
    HWND box = FindWindowW(L"#32770", nullptr);
    wchar_t text[2048] = {};
    if (box == nullptr || GetDlgItemTextW(box, 0xFFFF, text, 2048) == 0) {
        return 1;
    }
    std::string bytes;
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        char utf8[8];
        const int count =
            *c == L'\r' ? 0 : WideCharToMultiByte(CP_UTF8, 0, c, 1, utf8, 8, nullptr, nullptr);
        bytes.append(utf8, count > 0 ? count : 0);
    }
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
    return 0;
}
