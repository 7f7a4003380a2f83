// Wide strings of the stored files become text in the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/string_list_record.h"
#include "platform/system.h"

namespace quorv {
namespace {

// A record of one wide string with the given UTF-16 code units.
std::string WideRecord(const std::u16string& units) {
    std::string out = std::string("\x01\x00\xFF\xFE\xFF", 5);
    out.push_back(static_cast<char>(units.size()));
    for (char16_t u : units) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
    return out;
}

std::string ReadOne(const std::string& bytes) {
    std::vector<std::string> lines;
    EXPECT_EQ(DecodeStringList(bytes, SystemCodePage(), lines), FileError::None);
    return lines.size() == 1 ? lines[0] : std::string("<none>");
}

TEST(WideText, SystemCodePage1252) {
    if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    EXPECT_EQ(ReadOne(WideRecord(u"caf\u00E9 \u20AC")), "caf\xE9 \x80");
    // A character the code page lacks becomes '?', one per character.
    EXPECT_EQ(ReadOne(WideRecord(u"a\u8868b")), "a?b");
    EXPECT_EQ(ReadOne(WideRecord(std::u16string(u"x\0y", 3))), std::string("x\0y", 3));
}

TEST(WideText, SystemCodePage932) {
    if (GetACP() != 932) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    // U+8868 is 0x95 0x5C in code page 932: the trail byte is a backslash.
    EXPECT_EQ(ReadOne(WideRecord(u"\u8868.jpg")), "\x95\x5C.jpg");
    EXPECT_EQ(ReadOne(WideRecord(u"\uFF71")), "\xB1");  // half-width katakana: one byte
}

}  // namespace
}  // namespace quorv
