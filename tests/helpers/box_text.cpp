// Reads a message box as a person would: prints the text of the one box on the screen in UTF-8,
// with LF line ends; exits 1 when there is none. Given a button's ID (IDOK 1, IDCANCEL 2,
// IDRETRY 4), then clicks it: key presses sent from outside do not reach every program's box.
// Given `window`, only tells by its exit code whether this session can make a window at all.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "window") == 0) {
        HWND window =
            CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        return window != nullptr && DestroyWindow(window) ? 0 : 1;
    }
    // A message box is a visible dialog whose text is the static control 0xFFFF; a program may
    // keep other dialogs, hidden.
    HWND box = nullptr;
    wchar_t text[2048] = {};
    do {
        box = FindWindowExW(nullptr, box, L"#32770", nullptr);
    } while (box != nullptr &&
             (!IsWindowVisible(box) || GetDlgItemTextW(box, 0xFFFF, text, 2048) == 0));
    if (box == nullptr) {
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
    HWND button = argc > 1 ? GetDlgItem(box, atoi(argv[1])) : nullptr;
    if (argc > 1 && (button == nullptr || !PostMessageW(button, BM_CLICK, 0, 0))) {
        return 1;
    }
    return 0;
}
