#include "probes/error_text.h"

#include <string.h>

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Cut(std::string text)
{
    CutAtFirstCarriageReturn(text.data());
    return text.c_str();
}

TEST(ErrorText, CutsAtTheFirstCarriageReturn)
{
    struct Case
    {
        std::string text;
        std::string expected;
    };
    for (const Case& each :
         {Case{"File not found.\r\n", "File not found."},
          Case{"First line.\r\nSecond line.\r\n", "First line."}, Case{"a\rb\rc", "a"},
          Case{"\r\n", ""}, Case{"", ""}, Case{"no line break", "no line break"},
          Case{"line feed only\nstays", "line feed only\nstays"}}) {
        EXPECT_EQ(Cut(each.text), each.expected);
    }
}

TEST(ErrorText, LoadsTheSystemTextCut)
{
    char raw[2048] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_SHARING_VIOLATION, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), raw, 2047,
                   nullptr);
    ASSERT_NE(strchr(raw, '\r'), nullptr) << "expected a system text ending in CR LF";
    ErrorText message;
    LoadErrorText(ERROR_SHARING_VIOLATION, message);
    EXPECT_EQ(std::string(message.text), std::string(raw, strchr(raw, '\r')));
}

TEST(ErrorText, UnknownCodeGivesAnEmptyText)
{
    ErrorText message;
    LoadErrorText(0x7FFFFFFF, message);
    EXPECT_STREQ(message.text, "");
}

// Under code page 932 only (ctest sets LC_ALL=ja_JP.UTF-8 for these).
TEST(ErrorTextDbcs, StopsAtTheTerminatorAfterALeadByte)
{
    ASSERT_EQ(GetACP(), 932u);
    // A lead byte right before the terminator must not carry the walk past it into the CR.
    char text[] = "abc\x83\0\r\n";
    CutAtFirstCarriageReturn(text);
    EXPECT_EQ(std::string(text, sizeof text), std::string("abc\x83\0\r\n", sizeof text));
    EXPECT_EQ(Cut("\x83\x5C\x83t\r\n"), "\x83\x5C\x83t");
}

} // namespace
