// The FORMAT rule: frame numbers as timecodes.
#include <gtest/gtest.h>

#include "engine/timecode.h"
#include "tests/engine/engine_fixture.h"

namespace quorv::test {
namespace {

struct FormatCase {
    const char* name;
    const char* rule;
    std::int32_t fileNumber;
    const char* expected;
};
class FormatRule : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatRule, WritesTheTimecodeInFrontOfTheFrameDigits) {
    EngineSetup setup;
    const FormatCase& c = GetParam();
    EXPECT_EQ(setup.Apply(std::string("C:\\v\\") + c.name, {c.rule}, c.fileNumber), std::string("C:\\v\\") + c.expected)
        << c.rule;
}

const FormatCase kFormats[] = {
    {"clip0045.tga", "FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF", 1, "clip_00000115_0045.tga"},
    {"clip0045.tga", "FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF", 9, "clip_00000115_0045.tga"},
    {"shot.tga", "FORMAT .HH-MM-SS-FF. PAL(25F) start:01-00-00-00", 1, "shot.01-00-00-00..tga"},
    {"shot.tga", "FORMAT .HH-MM-SS-FF. PAL(25F) start:01-00-00-00", 2, "shot.01-00-00-01..tga"},
    {"a1234", "FORMAT _HH-MM-SS-FF_ Film(24F) start:HH-MM-SS-FF", 1, "a_00-00-51-10_1234"},
    {"1234", "FORMAT _HH-MM-SS-FF_ Film(24F) start:HH-MM-SS-FF", 1, "_00-00-51-10_1234"},  // the whole name is digits
    {"abc.png", "FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF", 1, "abc_00000000_.png"},
    {"abc7", "FORMAT -HHMMSSFF- \"abc\" start:HH-MM-SS-FF", 1, "abc-00000700-7"},  // rate 1
    {"abc", "FORMAT -HHMMSSFF- \"abc\" start:10", 1, "abc-00001000-"},
    {"x", "FORMAT -HHMMSSFF- \"50\" start:10", 1, "x-00000010-"},         // 10 frames
    {"x", "FORMAT -HHMMSSFF- \"50\" start:1-2", 1, "x-01000002-"},        // 1 hour, 2 frames
    {"x", "FORMAT -HHMMSSFF- \"50\" start:0-1-2-3", 1, "x-00010203-"},    // 1 min, 2 s, 3 frames
    {"x", "FORMAT -HHMMSSFF- \"50\" start:0-1-2-3", 48, "x-00010300-"},   // 3 + 47 = 50 frames: one more second
    {"f360000", "FORMAT _HHMMSSFF_ PAL(25F) start:HH-MM-SS-FF", 1, "f_04000000_360000"},
    {"f9000000", "FORMAT _HHMMSSFF_ PAL(25F) start:HH-MM-SS-FF", 1, "f_100000000_9000000"},
    {"x", "FORMAT _HHMMSSFF_ PAL(25F) start:", 1, "x_00000000_"},         // empty start text: frame n - 1
    {"x", "FORMAT _HHMMSSFF_ PAL(25F) start:", 3, "x_00000002_"},
    {"x", "FORMAT .HHMMSSFF. Film(24F) start:HH-MM-SS-FF", 1, "x.00000000."},
    {"x", "FORMAT \"25\" _HHMMSSFF_ start:0-0-1-0", 1, "x_00000100_"},    // parts in any order
    {"x", "FORMAT _HH-MM-SS-FF_ NTSC(30F) \"7\" start:0-0-1-0", 1, "x_00-00-01-00_"},  // a named rate wins
    {"x", "FORMAT _HH-MM-SS-FF_ _HHMMSSFF_ NTSC(30F) start:1", 1, "x_00000001_"},     // the first pattern of the list wins
    {"x", "FORMAT -HHMMSSFF- \"-5\" start:0-0-2-0", 1, "x-00000200-"},    // a rate below 1 is 1
    {"x", "FORMAT -HHMMSSFF- 50 start:0-0-2-0", 1, "x-00000200-"},       // no quote: "-HHMMSSFF- 5" reads 0
    // Negative frame numbers and frame numbers past 32 bits have no timecode.
    {"x", "FORMAT _HHMMSSFF_ PAL(25F) start:-5", 1, "x_00000005_"},  // a leading dash ends an empty hour field
    {"x", "FORMAT _HHMMSSFF_ PAL(25F) start:0-0-0--5", 1, "x"},
    {"x", "FORMAT _HHMMSSFF_ PAL(25F) start:0-0-0-0", -3, "x"},
    {"x", "FORMAT _HHMMSSFF_ \"2147483647\" start:2147483647-0-0-0", 1, "x"},
    {"x99999999999", "FORMAT _HHMMSSFF_ PAL(25F) start:HH-MM-SS-FF", 1, "x99999999999"},
    {"x2147483647", "FORMAT _HHMMSSFF_ \"2147483647\" start:HH-MM-SS-FF", 1, "x_00000100_2147483647"},
    // The extension is kept, the split is the one of FILENAME.
    {"clip0045.tar.gz", "FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF", 1, "clip0045.tar_00000000_.gz"},
};
INSTANTIATE_TEST_SUITE_P(Table, FormatRule, ::testing::ValuesIn(kFormats));

TEST(Timecode, LayoutOfEveryPattern) {
    const std::int32_t f = ((1 * 60 + 2) * 60 + 3) * 30 + 4;
    EXPECT_EQ(TimecodeText("_HHMMSSFF_", f, 30), "_01020304_");
    EXPECT_EQ(TimecodeText(".HHMMSSFF.", f, 30), ".01020304.");
    EXPECT_EQ(TimecodeText("-HHMMSSFF-", f, 30), "-01020304-");
    EXPECT_EQ(TimecodeText("_HH-MM-SS-FF_", f, 30), "_01-02-03-04_");
    EXPECT_EQ(TimecodeText(".HH-MM-SS-FF.", f, 30), ".01-02-03-04.");
    EXPECT_EQ(TimecodeText("HHMMSSFF", f, 30), "");
    EXPECT_EQ(TimecodeText("_HHMMSSFF_", 2147483647, 1), "_596523140700_");
    EXPECT_EQ(TimecodeText("_HHMMSSFF_", 2147483647, 2147483647), "_00000100_");
}

TEST(Timecode, ReadingTheLine) {
    auto cp = MakeUtf8CodePage();
    FormatLine line;
    ASSERT_TRUE(ReadFormatLine(*cp, "_HHMMSSFF_ \"50\" start:01-00-00-00", line));
    EXPECT_EQ(line.rate, 50);
    EXPECT_EQ(line.start, "01-00-00-00");
    EXPECT_EQ(line.pattern, "_HHMMSSFF_");
    ASSERT_TRUE(ReadFormatLine(*cp, "\" start:x", line));  // quote then nothing: an empty rate text
    EXPECT_EQ(line.rate, 1);
    EXPECT_EQ(line.pattern, "");
    ASSERT_TRUE(ReadFormatLine(*cp, " start:", line));
    EXPECT_EQ(line.rate, 1);
    EXPECT_EQ(line.start, "");
    EXPECT_FALSE(ReadFormatLine(*cp, "_HHMMSSFF_ NTSC(30F) start-HH", line));
}

}  // namespace
}  // namespace quorv::test
