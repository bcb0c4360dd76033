#include "common/path_buffer.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char* name;
    std::vector<std::string> pieces;
    std::string expected;
};

std::string Joined(const std::vector<std::string>& pieces)
{
    PathBuffer buffer;
    for (const std::string& piece : pieces) {
        AppendTruncating(buffer, piece.c_str());
    }
    // Whatever was appended, the last byte stays the terminator.
    EXPECT_EQ(buffer.text[PathBuffer::kCapacity - 1], '\0');
    return buffer.text;
}

const std::string k258(258, 'a');
const std::string k257(257, 'a');

TEST(PathBuffer, StartsEmpty)
{
    PathBuffer buffer;
    EXPECT_STREQ(buffer.text, "");
}

TEST(PathBuffer, KeepsAtMost259Bytes)
{
    for (const Case& each : std::vector<Case>{
             {"pieces join with nothing between",
              {"C:\\Apps", "\\Dalmivorax"},
              "C:\\Apps\\Dalmivorax"},
             {"empty pieces add nothing", {"", "ab", "", "c"}, "abc"},
             {"259 bytes fit", {k258, "b"}, k258 + "b"},
             {"byte 260 is dropped", {k258, "bc"}, k258 + "b"},
             {"a full buffer takes nothing", {k258 + "b", "c", "d"}, k258 + "b"},
             {"one long piece is cut", {std::string(600, 'z')}, std::string(259, 'z')},
             {"high bytes are single characters", {k258, "\xE7\xE3"}, k258 + "\xE7"},
         }) {
        EXPECT_EQ(Joined(each.pieces), each.expected) << each.name;
    }
}

// Under code page 932 only (ctest sets LC_ALL=ja_JP.UTF-8 for these).
TEST(PathBufferDbcs, NeverKeepsHalfACharacter)
{
    ASSERT_EQ(GetACP(), 932u);
    for (const Case& each : std::vector<Case>{
             {"a character that fits exactly", {k257, "\x83\x5C"}, k257 + "\x83\x5C"},
             {"a straddling character is dropped", {k258, "\x83\x5C"}, k258},
             {"and so is all after it",
              {k258, "\x83\x5C"
                     "b"},
              k258},
             {"a single-byte katakana still fits", {k258, "\xB1"}, k258 + "\xB1"},
             {"a lone lead byte at the end counts alone", {"ab\x83"}, "ab\x83"},
             {"pairs are counted from the piece's start", {k257, "a\x83\x5C"}, k257 + "a"},
         }) {
        EXPECT_EQ(Joined(each.pieces), each.expected) << each.name;
    }
}

} // namespace
