// Tag text into the program's narrow text.
#include <gtest/gtest.h>

#include "platform/media_text.h"
#include "system/system.h"

namespace quorv {
namespace {

TEST(MediaText, Utf8FromUtf16) {
    EXPECT_EQ(Utf8FromUtf16(u""), "");
    EXPECT_EQ(Utf8FromUtf16(u"abc"), "abc");
    EXPECT_EQ(Utf8FromUtf16(u"Bj\u00F6rk"), "Bj\xC3\xB6rk");
    EXPECT_EQ(Utf8FromUtf16(u"\u8868"), "\xE8\xA1\xA8");
    EXPECT_EQ(Utf8FromUtf16(u"\U0001D11E"), "\xF0\x9D\x84\x9E");  // a surrogate pair
    // Unpaired surrogates become U+FFFD, never invalid UTF-8.
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD834))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xDD1E)) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{char16_t(0xD834), u'x'}), "\xEF\xBF\xBDx");
}

TEST(MediaText, IsValidUtf8) {
    struct Case {
        const char* bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain", true},
        {"Caf\xC3\xA9", true},
        {"\xF0\x9D\x84\x9E", true},
        {"Caf\xE9", false},            // Latin-1
        {"\xC3", false},               // cut short
        {"\xC0\xAF", false},           // overlong
        {"\xE0\x80\xAF", false},       // overlong
        {"\xED\xA0\x80", false},       // a surrogate
        {"\xF4\x90\x80\x80", false},   // past U+10FFFF
        {"\xC3\xA9\x80", false},       // stray continuation byte
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(MediaText, NarrowFromUtf16) {
#ifdef _WIN32
    // The harness runs under the ANSI code page 1252.
    EXPECT_EQ(SystemCodePage().FromUtf16(u"Bj\u00F6rk"), "Bj\xF6rk");
    EXPECT_EQ(SystemCodePage().FromUtf16(u"\u20AC"), "\x80");
    EXPECT_EQ(SystemCodePage().FromUtf16(u"\u8868"), "?");  // not in the code page: its default character
#else
    EXPECT_EQ(SystemCodePage().FromUtf16(u"Bj\u00F6rk"), "Bj\xC3\xB6rk");
    EXPECT_EQ(SystemCodePage().FromUtf16(u"\u8868"), "\xE8\xA1\xA8");
#endif
    EXPECT_EQ(SystemCodePage().FromUtf16(u""), "");
}

TEST(MediaText, NarrowFromLatin1) {
#ifdef _WIN32
    EXPECT_EQ(NarrowFromLatin1("Caf\xE9"), "Caf\xE9");  // unchanged
#else
    EXPECT_EQ(NarrowFromLatin1("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(NarrowFromLatin1("Caf\xC3\xA9"), "Caf\xC3\xA9");  // already UTF-8
    EXPECT_EQ(NarrowFromLatin1("\xFF\xFE"), "\xC3\xBF\xC3\xBE");
#endif
    EXPECT_EQ(NarrowFromLatin1("plain"), "plain");
}

}  // namespace
}  // namespace quorv
