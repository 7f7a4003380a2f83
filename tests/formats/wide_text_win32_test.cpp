// Wide strings of the stored files become text in the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/string_list_record.h"
#include "system/system.h"

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
    // A character beyond the first plane is one character: one '?'.
    EXPECT_EQ(ReadOne(WideRecord(u"a\U0001F600b")), "a?b");
    EXPECT_EQ(ReadOne(WideRecord(std::u16string{u'x', char16_t(0xD800), u'y', char16_t(0xDC00)})), "x?y?");
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

namespace quorv {
namespace {

// Stored single-byte strings where the program's text is the system's ANSI
// code page (older Windows): UTF-8 written by a newer system becomes the
// page's characters, the page's own text stays.
TEST(StoredTextWin32, SystemCodePage1252) {
    if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    const CodePage& cp = SystemCodePage();
    EXPECT_EQ(cp.FromStored("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(cp.FromStored("caf\xE9"), "caf\xE9");
    EXPECT_EQ(cp.FromStored("a\xE8\xA1\xA8" "b\xF0\x9F\x98\x80"), "a?b?");
    EXPECT_EQ(ReadOne(std::string("\x01\x00\x06", 3) + "\xCE\xB1.jpg"), "?.jpg");  // through a record
}

TEST(StoredTextWin32, SystemCodePage932) {
    if (GetACP() != 932) GTEST_SKIP() << "the ANSI code page is " << GetACP();
    const CodePage& cp = SystemCodePage();
    EXPECT_EQ(cp.FromStored("\xE8\xA1\xA8.jpg"), "\x95\x5C.jpg");
    EXPECT_EQ(cp.FromStored("\x95\x5C.jpg"), "\x95\x5C.jpg");
    EXPECT_EQ(cp.FromStored("\xEF\xBD\xB1"), "\xB1");  // half-width katakana: one byte
}

}  // namespace
}  // namespace quorv
