// The code pages, the multi-byte aware text helpers, and rules applied to
// names holding multi-byte characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/mbtext.h"
#include "system/system.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/utf8_rule_cases.h"

namespace quorv::test {
namespace {

const std::string kHyo = "\x95\x5C";  // a Shift-JIS character whose second byte is the backslash
const std::string kA932 = "\x83\x41";  // a Shift-JIS character whose second byte is "A"

// ---------------------------------------------------------------- 1252

struct CasePair {
    unsigned char lower;
    unsigned char upper;
};
const CasePair k1252Pairs[] = {
    {'a', 'A'}, {'z', 'Z'}, {0xE9, 0xC9}, {0xE0, 0xC0}, {0xFE, 0xDE}, {0xF6, 0xD6}, {0xF8, 0xD8},
    {0xFF, 0x9F}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E},
};

TEST(CodePage1252, MapsEveryLetterPairBothWays) {
    auto cp = MakeTableCodePage(1252);
    ASSERT_NE(cp, nullptr);
    for (const CasePair& p : k1252Pairs) {
        const std::string lower(1, static_cast<char>(p.lower)), upper(1, static_cast<char>(p.upper));
        EXPECT_EQ(cp->Upper(lower), upper) << int(p.lower);
        EXPECT_EQ(cp->Lower(upper), lower) << int(p.upper);
        EXPECT_TRUE(cp->IsAlpha(p.lower)) << int(p.lower);
        EXPECT_TRUE(cp->IsAlpha(p.upper)) << int(p.upper);
    }
}

TEST(CodePage1252, LeavesSignsAndCaselessLettersAlone) {
    auto cp = MakeTableCodePage(1252);
    for (int c : {0xDF, 0xD7, 0xF7, 0xB5, 0x83, 0x80, int('1'), int('-'), 0xAA}) {
        const std::string s(1, static_cast<char>(c));
        EXPECT_EQ(cp->Upper(s), s) << int(c);
        EXPECT_EQ(cp->Lower(s), s) << int(c);
    }
    EXPECT_TRUE(cp->IsAlpha(0xDF));
    EXPECT_FALSE(cp->IsAlpha(0xD7));
    EXPECT_FALSE(cp->IsAlpha(0xF7));
    EXPECT_FALSE(cp->IsAlpha(0x80));
    EXPECT_FALSE(cp->IsAlpha('7'));
    for (int c = 0; c < 256; ++c) EXPECT_EQ(cp->CharLength(std::string(1, static_cast<char>(c)) + "x", 0), 1u);
}

TEST(CodePage1252, RulesUseTheAccentedLetters) {
    EngineSetup setup(1252);
    EXPECT_EQ(setup.Apply("C:\\caf\xE9.txt", {"FILENAME UPPERCASE all"}), "C:\\CAF\xC9.txt");
    EXPECT_EQ(setup.Apply("C:\\\xC9T\xC9.txt", {"FILENAME LOWERCASE all"}), "C:\\\xE9t\xE9.txt");
    // An accented letter is a letter for the letter skip.
    EXPECT_EQ(setup.Apply("C:\\01 \xE9t\xE9.txt", {"FILENAME UPPERCASE left length:1letter"}), "C:\\01 \xC9t\xE9.txt");
    EXPECT_EQ(setup.Apply("C:\\stra\xDF" "e", {"FILENAME UPPERCASE all"}), "C:\\STRA\xDF" "E");
}

TEST(CodePages, OnlyTheKnownNumbers) {
    EXPECT_EQ(MakeTableCodePage(437), nullptr);
    EXPECT_EQ(MakeTableCodePage(0), nullptr);
    EXPECT_NE(MakeTableCodePage(932), nullptr);
}

// ---------------------------------------------------------------- 932

TEST(CodePage932, LeadBytesMakeDoubleByteCharacters) {
    auto cp = MakeTableCodePage(932);
    for (int c = 0; c < 256; ++c) {
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        const std::string s = std::string(1, static_cast<char>(c)) + "\x5C";
        EXPECT_EQ(cp->CharLength(s, 0), lead ? 2u : 1u) << c;
        EXPECT_EQ(cp->CharLength(s.substr(0, 1), 0), 1u) << c;  // a lead byte at the very end stands alone
    }
}

TEST(CodePage932, LettersAndCase) {
    auto cp = MakeTableCodePage(932);
    EXPECT_TRUE(cp->IsAlpha('a'));
    EXPECT_TRUE(cp->IsAlpha(0xB1));   // single-byte katakana A
    EXPECT_TRUE(cp->IsAlpha(0xDF));   // the semi-voiced sound mark
    EXPECT_FALSE(cp->IsAlpha(0xA1));  // ideographic full stop
    EXPECT_FALSE(cp->IsAlpha(0xA5));  // middle dot
    EXPECT_FALSE(cp->IsAlpha(0x95));  // a lead byte alone is no letter
    // Double-byte characters are never touched, even when their second byte is a letter.
    EXPECT_EQ(cp->Upper("a" + kA932 + "\x82\x61" "b"), "A" + kA932 + "\x82\x61" "B");
    EXPECT_EQ(cp->Lower("A" + kA932 + "B\xB1"), "a" + kA932 + "b\xB1");
}

TEST(CodePage932, TheSecondByteBackslashIsNoFolderBoundary) {
    EngineSetup setup(932);
    EXPECT_EQ(setup.Apply("C:\\dir\\" + kHyo + ".txt", {"FILENAME PREFIX \"x\""}), "C:\\dir\\x" + kHyo + ".txt");
    EXPECT_EQ(setup.Apply("C:\\" + kHyo + "\\a.txt", {"FILENAME UPPERCASE all"}), "C:\\" + kHyo + "\\A.txt");
    EXPECT_EQ(setup.Apply(kHyo, {"FILENAME SUFFIX \"1\""}), kHyo + "1");
    // The same bytes under UTF-8 split at the backslash: the code page decides.
    EngineSetup utf8(0);
    EXPECT_EQ(utf8.Apply("C:\\dir\\" + kHyo + ".txt", {"FILENAME PREFIX \"x\""}), "C:\\dir\\\x95\\x.txt");
}

struct MbCase {
    std::string name;
    std::string rule;
    std::string expected;
};
class Rules932 : public ::testing::TestWithParam<MbCase> {};

TEST_P(Rules932, NeverSplitACharacter) {
    EngineSetup setup(932);
    const MbCase& c = GetParam();
    EXPECT_EQ(setup.Apply("C:\\d\\" + c.name, {c.rule}), "C:\\d\\" + c.expected) << c.rule;
}

const MbCase k932Cases[] = {
    {kHyo + "x.txt", "FILENAME REPLACE \"\\\" with \"-\"", kHyo + "x.txt"},
    {kA932 + "A", "FILENAME REPLACE \"A\" with \"b\"", kA932 + "b"},
    {"a" + kHyo + "b", "FILENAME REPLACE \"" + kHyo + "\" with \"-\"", "a-b"},
    {kHyo + "a", "FILENAME REPLACE \"\\a\" with \"-\"", kHyo + "a"},  // would begin inside a character
    {kHyo + "ab", "FILENAME REMOVE left length:1", "ab"},
    {kHyo + "ab", "FILENAME REMOVE left length:2", "ab"},
    {kHyo + "ab", "FILENAME REMOVE left length:3", "b"},
    {"ab" + kHyo, "FILENAME REMOVE right length:1", "ab"},
    {"ab" + kHyo, "FILENAME REMOVE right length:3", "a"},
    {"a" + kHyo + "b", "FILENAME REMOVE left length:#2", "ab"},
    {"a" + kHyo + "b", "FILENAME REMOVE right length:#2", "ab"},
    {kHyo + "ab", "FILENAME UPPERCASE left length:3", kHyo + "Ab"},
    {kHyo + "ab", "FILENAME REMOVE left length:1letter", "ab"},  // the double-byte character counts as a letter
    {"\xA1" "ab", "FILENAME UPPERCASE left length:1letter", "\xA1" "Ab"},
    {"\x82\x61" "a", "FILENAME UPPERCASE all", "\x82\x61" "A"},
    {kA932 + "bc d", "FILENAME UPPERCASE \"the_first_letter_of_each_word\"", kA932 + "bc D"},
    {"\x82\x61" "bc", "FILENAME UPPERCASE \"the_first_letter_of_each_word\"", "\x82\x61" "bc"},
    {kHyo + "ab", "FILENAME INSERT \"-\" position:2", kHyo + "-ab"},
    {kHyo + "ab", "FILENAME INSERT \"-\" position:3", kHyo + "-ab"},
    {kHyo + "ab", "FILENAME INSERT \"-\" position:4", kHyo + "a-b"},
    {"x(" + kHyo + ")y", "FILENAME REMOVE (*)", "xy"},
    {"12-25-0" + kHyo + "z", "FILENAME REMOVE date format:mm-dd-yy", "z"},  // the span grows to whole characters
    {"x" + kHyo + "12-25-06", "FILENAME REMOVE date format:mm-dd-yy", "x" + kHyo},
    {"a.b" + kHyo + ".c" + kHyo, "FILEEXT UPPERCASE all", "a.b" + kHyo + ".C" + kHyo},
    {kHyo + "." + kHyo, "FILEEXT REMOVE all", kHyo + "."},
};
INSTANTIATE_TEST_SUITE_P(Table, Rules932, ::testing::ValuesIn(k932Cases));

// ---------------------------------------------------------------- UTF-8

TEST(CodePageUtf8, SequencesStayWhole) {
    auto cp = MakeUtf8CodePage();
    struct {
        std::string text;
        std::size_t length;
    } cases[] = {
        {"a", 1}, {"\xC3\xA9", 2}, {"\xE2\x82\xAC", 3}, {"\xF0\x9F\x98\x80", 4},
        {"\xC3", 1}, {"\xC3" "a", 1}, {"\xC0\x80", 1}, {"\xED\xA0\x80", 1}, {"\xF4\x90\x80\x80", 1},
        {"\xE2\x82", 1}, {"\x80", 1}, {"\xFF", 1}, {"\xE0\x80\x80", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(cp->CharLength(c.text, 0), c.length) << c.text;
    EXPECT_EQ(cp->Upper("\xC3\xA9t\xC3\xA9"), "\xC3\xA9T\xC3\xA9");
    EXPECT_FALSE(cp->IsAlpha(0xC3));
}

TEST(CodePageUtf8, RulesKeepSequencesWhole) {
    EngineSetup setup(0);
    EXPECT_EQ(setup.Apply("C:\\\xC3\xA9mile", {"FILENAME UPPERCASE \"the_first_letter_of_each_word\""}),
              "C:\\\xC3\xA9mile");
    EXPECT_EQ(setup.Apply("C:\\\xC3\xA9mile", {"FILENAME REMOVE left length:1"}), "C:\\mile");
    EXPECT_EQ(setup.Apply("C:\\ab\xE2\x82\xAC", {"FILENAME REMOVE right length:1"}), "C:\\ab");
    EXPECT_EQ(setup.Apply("C:\\a\xC3\xA9", {"FILENAME REPLACE \"\xC3\" with \"x\""}), "C:\\a\xC3\xA9");
}

TEST(CodePageUtf8, SharedRuleCases) {
    EngineSetup setup(0);
    for (const Utf8RuleCase& c : kUtf8RuleCases) {
        EXPECT_EQ(setup.Apply(std::string("C:\\d\\") + c.name, {c.rule}), std::string("C:\\d\\") + c.expected)
            << c.rule;
    }
}

TEST(CodePages, EveryMultiByteCharacterIsALetterUnlessThePageKnowsBetter) {
    // The table pages cannot classify multi-byte characters: they count as
    // letters, and a single byte is a letter when the page says so.
    auto utf8 = MakeUtf8CodePage();
    auto cp932 = MakeTableCodePage(932);
    EXPECT_TRUE(utf8->IsLetter("\xE2\x86\x92"));  // an arrow, even
    EXPECT_TRUE(utf8->IsLetter("a"));
    EXPECT_FALSE(utf8->IsLetter("-"));
    EXPECT_FALSE(utf8->IsLetter("\xC3"));  // a stray byte alone
    EXPECT_FALSE(utf8->IsLetter(""));
    EXPECT_TRUE(cp932->IsLetter(kHyo));
    EXPECT_TRUE(cp932->IsLetter("\xB1"));
    EXPECT_FALSE(cp932->IsLetter("\xA1"));
}

TEST(SystemCodePage, IsTheNativeOrAnsiPage) {
    const CodePage& cp = SystemCodePage();
    EXPECT_EQ(&cp, &SystemCodePage());
    EXPECT_EQ(cp.Upper("abc"), "ABC");
    EXPECT_TRUE(cp.IsAlpha('q'));
    EXPECT_FALSE(cp.IsAlpha('7'));
#ifndef _WIN32
    EXPECT_EQ(cp.CharLength("\xC3\xA9", 0), 2u);
#endif
}

// ---------------------------------------------------------------- helpers

TEST(CodePages, FromUtf16WritesWhatThePageHoldsAndQuestionMarksForTheRest) {
    struct Case {
        int page;  // 0: UTF-8
        std::u16string text;
        std::string expected;
    };
    const Case cases[] = {
        {1252, u"caf\u00E9 \u20AC", "caf\xE9 \x80"},
        {1252, u"\u0160\u0178\u00FF", "\x8A\x9F\xFF"},
        {1252, u"a\u8868b", "a?b"},                       // not in the page
        {1252, u"\U0001F600", "?"},                        // a pair is one character
        {1252, std::u16string(1, char16_t(0xD800)), "?"},  // a half standing alone
        {932, u"\uFF71\uFF9F", "\xB1\xDF"},            // half-width katakana: one byte each
        {932, u"x\u8868", "x?"},                           // double-byte characters are not tabulated
        {0, u"Bj\u00F6rk \U0001F600", "Bj\xC3\xB6rk \xF0\x9F\x98\x80"},
        {0, std::u16string{char16_t(0xDC00), u'x'}, "?x"},
        {0, std::u16string(u"x\0y", 3), std::string("x\0y", 3)},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<CodePage> cp = c.page == 0 ? MakeUtf8CodePage() : MakeTableCodePage(c.page);
        EXPECT_EQ(cp->FromUtf16(c.text), c.expected) << c.page;
    }
}

TEST(MultiByteText, FindBeginsAndEndsOnBoundaries) {
    auto cp = MakeTableCodePage(932);
    const std::string s = "a" + kHyo + "\\b";
    EXPECT_EQ(mb::FindChar(*cp, s, '\\'), 3u);
    EXPECT_EQ(mb::FindLastChar(*cp, kHyo, '\\'), mb::npos);
    EXPECT_EQ(mb::Find(*cp, s, "a\x95"), mb::npos);  // would end inside
    EXPECT_EQ(mb::Find(*cp, s, kHyo), 1u);
    EXPECT_EQ(mb::Find(*cp, s, "b", 2), 4u);         // from inside a character
    EXPECT_EQ(mb::Find(*cp, s, ""), mb::npos);
    EXPECT_EQ(mb::Find(*cp, "abcabc", "bc", 2), 4u);
    EXPECT_EQ(mb::CharStart(*cp, s, 2), 1u);
    EXPECT_EQ(mb::CharEnd(*cp, s, 2), 3u);
    EXPECT_EQ(mb::CharEnd(*cp, s, 99), s.size());
}

// The searches against a plain walk from the first byte, on many short
// texts made of ASCII letters, backslashes, lead bytes and trail bytes.
std::vector<std::size_t> Boundaries(const CodePage& cp, const std::string& s) {
    std::vector<std::size_t> b;
    for (std::size_t i = 0; i < s.size(); i += cp.CharLength(s, i)) b.push_back(i);
    b.push_back(s.size());
    return b;
}

TEST(MultiByteText, AgreesWithAPlainWalk) {
    auto cp = MakeTableCodePage(932);
    const char alphabet[] = {'a', 'b', '\\', '\x95', '\x5C', '\x83', 'A', '.'};
    std::uint32_t seed = 12345;
    auto next = [&seed]() { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 3000; ++round) {
        std::string s, needle;
        const std::size_t n = next() % 24, m = 1 + next() % 3;
        for (std::size_t i = 0; i < n; ++i) s += alphabet[next() % 8];
        for (std::size_t i = 0; i < m; ++i) needle += alphabet[next() % 8];
        const std::size_t from = next() % (n + 2);
        const auto b = Boundaries(*cp, s);
        auto isBoundary = [&b](std::size_t p) { return std::find(b.begin(), b.end(), p) != b.end(); };
        std::size_t expected = mb::npos;
        for (std::size_t p : b) {
            if (p >= from && p + m <= s.size() && s.compare(p, m, needle) == 0 && isBoundary(p + m)) {
                expected = p;
                break;
            }
        }
        ASSERT_EQ(mb::Find(*cp, s, needle, from), expected) << round;
        if (m == 1) {
            ASSERT_EQ(mb::FindChar(*cp, s, needle[0], from), expected) << round;
        }
        std::size_t last = mb::npos;
        for (std::size_t k = 0; k + 1 < b.size(); ++k) {
            if (b[k + 1] == b[k] + 1 && s[b[k]] == '\\') last = b[k];
        }
        ASSERT_EQ(mb::FindLastChar(*cp, s, '\\'), last) << round;
        for (std::size_t p = 0; p <= s.size(); ++p) {
            const std::size_t end = *std::lower_bound(b.begin(), b.end(), p);
            ASSERT_EQ(mb::CharEnd(*cp, s, p), end) << round;
            if (p < s.size()) {
                ASSERT_EQ(mb::CharStart(*cp, s, p), *(std::upper_bound(b.begin(), b.end(), p) - 1)) << round;
            }
        }
    }
}

}  // namespace
}  // namespace quorv::test
