// The rule lines and what they do to a name: every form the builder writes,
// the lines that have no effect, and the edge cases of the split into part
// and kept text.
#include <gtest/gtest.h>

#include "engine/rule_text.h"
#include "tests/engine/engine_fixture.h"

namespace quorv::test {
namespace {

struct RuleCase {
    const char* name;                 // file name (folder C:\a\ is added)
    std::vector<std::string> rules;
    const char* expected;             // new file name
};

std::ostream& operator<<(std::ostream& os, const RuleCase& c) {
    os << c.name << " |";
    for (const auto& r : c.rules) os << " [" << r << "]";
    return os << " -> " << c.expected;
}

class RuleTable : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleTable, GivesTheExpectedName) {
    EngineSetup setup;
    const RuleCase& c = GetParam();
    EXPECT_EQ(setup.Apply(std::string("C:\\a\\") + c.name, c.rules), std::string("C:\\a\\") + c.expected);
}

// Every accepted form with its result.
const RuleCase kForms[] = {
    {"photo.jpg", {"FILENAME PREFIX \"IMG_\""}, "IMG_photo.jpg"},
    {"photo.jpg", {"FILEEXT SUFFIX \"bak\""}, "photo.jpgbak"},
    {"photo.jpg", {"FILENAME PREFIX digit length:3"}, "001photo.jpg"},
    {"photo.jpg", {"FILENAME SUFFIX digit length:4:100+10"}, "photo0110.jpg"},
    {"photo.jpg", {"FILENAME SUFFIX date format:yyyy-mm-dd"}, "photo2006-12-25.jpg"},
    {"photo.jpg", {"FILENAME PREFIX date format:long_local_date"}, "Monday, December 25, 2006photo.jpg"},
    {"photo.jpg", {"FILENAME PREFIX time format:H.M.S"}, "15.07.09photo.jpg"},
    {"photo.jpg", {"FILENAME SUFFIX image property:resolution"}, "photo0x0.jpg"},
    {"photo.jpg", {"FILENAME SUFFIX image property:format"}, "photo.jpg"},
    {"photo.jpg", {"FILENAME PREFIX mp3tagv1 property:Artist"}, "photo.jpg"},
    {"photo.jpg", {"FILENAME SUFFIX mp3tagv2 property:Composer"}, "photo.jpg"},
    {"abcdef.txt", {"FILENAME INSERT \"-\" position:5"}, "abcd-ef.txt"},
    {"old old.txt", {"FILENAME REPLACE \"old\" with \"new\""}, "new new.txt"},
    {"old-x.txt", {"FILENAME REPLACE \"old\" with \"\""}, "-x.txt"},
    {"abcXabc.txt", {"FILENAME REMOVE \"abc\""}, "X.txt"},
    {"song (live) (2).mp3", {"FILENAME REMOVE (*)"}, "song  (2).mp3"},
    {"song (live) (2).mp3", {"FILENAME REMOVE (*"}, "song .mp3"},
    {"song (live) (2).mp3", {"FILENAME REMOVE *)"}, " (2).mp3"},
    {"axbycy.txt", {"FILENAME REMOVE \"x*y\""}, "acy.txt"},
    {"photo.jpg", {"FILENAME REMOVE all"}, ".jpg"},
    {"photo.JPG", {"FILEEXT LOWERCASE all"}, "photo.jpg"},
    {"abcdef.txt", {"FILENAME REMOVE left length:2"}, "cdef.txt"},
    {"abcdef.txt", {"FILENAME UPPERCASE right length:3"}, "abcDEF.txt"},
    {"01 - song.mp3", {"FILENAME UPPERCASE left length:1letter"}, "01 - Song.mp3"},
    {"party 12-25-06 night.jpg", {"FILENAME REMOVE date format:mm-dd-yy"}, "party  night.jpg"},
    {"o'neil 2pac.mp3", {"FILENAME UPPERCASE \"the_first_letter_of_each_word\""}, "O'Neil 2Pac.mp3"},
    {"clip0045.tga", {"FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF"}, "clip_00000115_0045.tga"},
    {"shot.tga", {"FORMAT .HH-MM-SS-FF. PAL(25F) start:01-00-00-00"}, "shot.01-00-00-00..tga"},
    {"x100.png", {"FORMAT -HHMMSSFF- \"50\" start:HH-MM-SS-FF"}, "x-00000200-100.png"},
};
INSTANTIATE_TEST_SUITE_P(Forms, RuleTable, ::testing::ValuesIn(kForms));

// Reading the line: what has no effect, and what is read how.
const RuleCase kReading[] = {
    {"name.txt", {"FILENAME"}, "name.txt"},
    {"name.txt", {"FILENAME UPPERCASE"}, "name.txt"},
    {"name.txt", {"FILENAME UPPERCASE all"}, "NAME.txt"},
    {"name.txt", {"FILENAME  UPPERCASE all"}, "name.txt"},        // empty action word
    {"name.txt", {"filename PREFIX \"x\""}, "name.xtxt"},         // not a keyword: the extension
    {"name.txt", {"Whatever PREFIX \"x\""}, "name.xtxt"},
    {"name.txt", {"FILENAME prefix \"x\""}, "name.txt"},          // keywords are case-sensitive
    {"name.txt", {"FILENAME SHUFFLE all"}, "name.txt"},
    {"name.txt", {"FILENAME PREFIX \"x"}, "name.txt"},            // no closing quote
    {"name.txt", {"FILENAME PREFIX digit"}, "name.txt"},          // no blank after the kind word
    {"name.txt", {"FILENAME PREFIX digit length3"}, "name.txt"},  // no colon
    {"name.txt", {"FILENAME PREFIX digit :7"}, "0000001name.txt"},       // the word before the colon is ignored
    {"name.txt", {"FILENAME PREFIX colour property:red"}, "name.txt"},
    {"name.txt", {"FILENAME PREFIX \"\""}, "name.txt"},
    {"name.txt", {"FILENAME PREFIX \"a b\" and \"c\""}, "a bname.txt"},
    {"a b c.txt", {"FILENAME REMOVE \"a b\""}, " c.txt"},
    {"name.txt", {"FILENAME INSERT \"-\""}, "name.txt"},          // no position
    {"name.txt", {"FILENAME INSERT \"-\" position:0"}, "name.txt"},
    {"name.txt", {"FILENAME INSERT \"-\" position:-3"}, "name.txt"},
    {"name.txt", {"FILENAME INSERT - position:2"}, "name.txt"},   // no quote
    {"name.txt", {"FILENAME INSERT \"\" position:2"}, "name.txt"},
    {"name.txt", {"FILENAME INSERT \"-\" position: 2"}, "n-ame.txt"},
    {"name.txt", {"FILENAME REPLACE \"a\" with"}, "name.txt"},    // fewer than four quotes
    {"name.txt", {"FILENAME REPLACE \"a\" with \"b"}, "name.txt"},
    {"name.txt", {"FILENAME REPLACE \"\" with \"b\""}, "name.txt"},
    {"name.txt", {"FILENAME REPLACE \"a\"\"b\""}, "nbme.txt"},       // the word with is not needed
    {"name.txt", {"FILENAME UPPERCASE left"}, "name.txt"},        // no count
    {"name.txt", {"FILENAME UPPERCASE left length"}, "name.txt"}, // no colon
    {"name.txt", {"FILENAME UPPERCASE left length:"}, "name.txt"},
    {"name.txt", {"FILENAME UPPERCASE left length:="}, "NAME.txt"},
    {"name.txt", {"FILENAME UPPERCASE middle length:2"}, "name.txt"},
    {"name.txt", {"FILENAME UPPERCASE \"x\""}, "name.txt"},
    {"name.txt", {"FILENAME UPPERCASE date"}, "name.txt"},
    {"name.txt", {"FILENAME REMOVE a"}, "nme.txt"},               // an unquoted word is the text
    {"na me.txt", {"FILENAME REMOVE \" \""}, "name.txt"},
    {"name.txt", {"FILENAME REMOVE \"a"}, "name.txt"},
    {"the_first_letter_of_each_word.x", {"FILENAME REMOVE \"the_first_letter_of_each_word\""}, ".x"},
    {"allx.txt", {"FILENAME REMOVE \"all\""}, "x.txt"},
    {"name.txt", {"FORMAT _HHMMSSFF_ NTSC(30F)"}, "name.txt"},   // no start: no effect
    {"name.txt", {"FORMAT NTSC(30F) start:HH-MM-SS-FF"}, "name.txt"},  // no pattern
    {"name.txt", {"PICCONVERT"}, "name.txt"},
    {"name.txt", {"DESTDIR"}, "name.txt"},
    {"name.txt", {""}, "name.txt"},
};
INSTANTIATE_TEST_SUITE_P(Reading, RuleTable, ::testing::ValuesIn(kReading));

// Applying rules: the split at the last dot and the actions' edge cases.
const RuleCase kApplying[] = {
    {"photo.jpg", {"FILENAME PREFIX \"x\"", "FILEEXT UPPERCASE all"}, "xphoto.JPG"},
    {"photo.jpg", {"FILENAME SUFFIX \".bak\""}, "photo.bak.jpg"},
    {"photo.jpg", {"FILENAME SUFFIX \".bak\"", "FILEEXT UPPERCASE all"}, "photo.bak.JPG"},
    {"photo.jpg", {"FILEEXT SUFFIX \".old\""}, "photo.jpg.old"},
    {"photo.jpg", {"FILEEXT SUFFIX \".old\"", "FILEEXT UPPERCASE all"}, "photo.jpg.OLD"},
    {"README", {"FILEEXT SUFFIX \"txt\""}, "READMEtxt"},
    {"README", {"FILENAME SUFFIX \"_1\""}, "README_1"},
    {".profile", {"FILENAME PREFIX \"x\""}, "x.profile"},
    {"photo.jpg", {"FILEEXT REMOVE all"}, "photo."},
    {"photo.", {"FILEEXT SUFFIX \"png\""}, "photo.png"},
    {"a.b.c", {"FILENAME UPPERCASE all"}, "A.B.c"},
    {"abcdef", {"FILENAME INSERT \"-\" position:3"}, "ab-cdef"},
    {"abcdef", {"FILENAME INSERT \"-\" position:1"}, "-abcdef"},
    {"abcdef", {"FILENAME INSERT \"-\" position:7"}, "abcdef-"},
    {"abcdef", {"FILENAME INSERT \"-\" position:99"}, "abcdef-"},
    {"abcdef", {"FILENAME INSERT \"-\" position:0"}, "abcdef"},
    {"abcdef", {"FILENAME INSERT \"-\" position:99999999999"}, "abcdef-"},  // wraps to a positive number
    {"aaaa", {"FILENAME REPLACE \"aa\" with \"a\""}, "aa"},
    {"aaa", {"FILENAME REPLACE \"a\" with \"aa\""}, "aaaaaa"},
    {"abab", {"FILENAME REPLACE \"ab\" with \"ba\""}, "baba"},
    {"aaaa", {"FILENAME REMOVE \"aa\""}, ""},
    {"a*b", {"FILENAME REMOVE *"}, "ab"},
    {"a**b", {"FILENAME REMOVE **"}, "*b"},
    {"song (live) (2)", {"FILENAME REMOVE (*)"}, "song  (2)"},
    {"a)b(c", {"FILENAME REMOVE (*)"}, "a)b(c"},
    {"abc", {"FILENAME REMOVE (*"}, "abc"},
    {"abc", {"FILENAME REMOVE *)"}, "abc"},
    {"x1x2y3y", {"FILENAME REMOVE \"x*y\""}, "3y"},
    {"yx", {"FILENAME REMOVE \"x*y\""}, "yx"},
    {"a-b-*c", {"FILENAME REMOVE \"-*-*\""}, "ac"},  // a later star stands for itself
    {"01 - song", {"FILENAME UPPERCASE left length:1letter"}, "01 - Song"},
    {"abcdef", {"FILENAME UPPERCASE right length:#2"}, "abcdEf"},
    {"abcdef", {"FILENAME UPPERCASE left length:#2"}, "aBcdef"},
    {"abcdef", {"FILENAME REMOVE left length:=2"}, "ab"},
    {"abcdef", {"FILENAME REMOVE right length:=2"}, "ef"},
    {"abc", {"FILENAME REMOVE left length:9"}, ""},
    {"abc", {"FILENAME REMOVE left length:-2"}, "abc"},
    {"abc", {"FILENAME REMOVE left length:=-2"}, ""},
    {"abcdef", {"FILENAME UPPERCASE left length:#0"}, "abcdef"},
    {"abcdef", {"FILENAME UPPERCASE left length:#9"}, "abcdeF"},
    {"abcdef", {"FILENAME UPPERCASE right length:#9"}, "Abcdef"},
    {"abc12", {"FILENAME UPPERCASE right length:1letter"}, "abC12"},
    {"ab 12", {"FILENAME REMOVE right length:2letter"}, " 12"},
    {"12 ab", {"FILENAME REMOVE left length:=#1letter"}, "1 ab"},   // complement makes it the right side
    {"1234", {"FILENAME REMOVE left length:2letter"}, "34"},        // no letter: nothing skipped
    {"abcdef", {"FILENAME REMOVE left length:3letter"}, "def"},
    {"abcdef", {"FILENAME REMOVE left length:letter"}, "abcdef"},   // "letter" at the start is no flag: N = 0
    {"ab-cd", {"FILENAME UPPERCASE left length:=#=5"}, "Ab-cd"},   // the first character is dropped, not the sign
    {"", {"FILENAME UPPERCASE left length:3letter"}, ""},
    {"party 12-25-06 night", {"FILENAME REMOVE date format:mm-dd-yy"}, "party  night"},
    {"my-party 12-25-06", {"FILENAME REMOVE date format:mm-dd-yy"}, "my-party 12-25-06"},
    {"party 25-12-06 night", {"FILENAME REMOVE date format:dd-mm-yy"}, "party  night"},
    {"party 12-25-2006 night", {"FILENAME REMOVE date format:mm-dd-yyyy"}, "party  night"},
    {"party 25-12-2006 night", {"FILENAME REMOVE date format:dd-mm-yyyy"}, "party  night"},
    {"party 13-25-06", {"FILENAME REMOVE date format:mm-dd-yy"}, "party 13-25-06"},
    {"party 12-25", {"FILENAME REMOVE date format:mm-dd-yy"}, "party 12-25"},   // one dash only
    {"2-25-06 x", {"FILENAME REMOVE date format:mm-dd-yy"}, " x"},             // clipped at the start
    {"x 12-25-0", {"FILENAME REMOVE date format:mm-dd-yy"}, "x "},             // clipped at the end
    {"-12-25", {"FILENAME REMOVE date format:mm-dd-yy"}, "-12-25"},            // no month text before the dash
    {"party 12-25-06 night", {"FILENAME UPPERCASE date format:mm-dd-yy"}, "party  night"},
    {"party 12-25-06 night", {"FILENAME LOWERCASE date format:mm-dd-yy"}, "party  night"},
    {"party 12-25-06 night", {"FILENAME REMOVE date format:short_local_date"}, "party  night"},
    {"party 12-25-06 night", {"FILENAME REMOVE date format:long_local_date"}, "party 12-25-06 night"},
    {"party 12-25-06 night", {"FILENAME REMOVE date format:mm-yy"}, "party 12-25-06 night"},
    {"party 12-25-06 night", {"FILENAME REMOVE date format"}, "party 12-25-06 night"},
    // The year-first and dotted formats search for the layout itself.
    {"trip-a 2006-12-25 b", {"FILENAME REMOVE date format:yyyy-mm-dd"}, "trip-a  b"},
    {"x 06-13-25 06-12-25", {"FILENAME REMOVE date format:yy-mm-dd"}, "x 06-13-25 "},
    {"x 12.25.06.jpg", {"FILENAME REMOVE date format:mm.dd.yy"}, "x .jpg"},
    {"x 06.12.25.jpg", {"FILENAME REMOVE date format:yy.mm.dd"}, "x .jpg"},
    {"x 12.25.2006.jpg", {"FILENAME REMOVE date format:mm.dd.yyyy"}, "x .jpg"},
    {"2006.12.25 x.jpg", {"FILENAME REMOVE date format:yyyy.mm.dd"}, " x.jpg"},
    {"x 25.12.06.jpg", {"FILENAME REMOVE date format:dd.mm.yy"}, "x .jpg"},
    {"x 25.12.2006.jpg", {"FILENAME REMOVE date format:dd.mm.yyyy"}, "x .jpg"},
    {"x 25.12.2006.jpg", {"FILENAME REMOVE date format:dd.mm.yy"}, "x 25.12.2006.jpg"},  // part of a longer number
    {"x 32.12.06.jpg", {"FILENAME REMOVE date format:dd.mm.yy"}, "x 32.12.06.jpg"},
    {"o'neil 2pac", {"FILENAME UPPERCASE \"the_first_letter_of_each_word\""}, "O'Neil 2Pac"},
    {"MAKE IT", {"FILENAME LOWERCASE \"the_first_letter_of_each_word\""}, "mAKE iT"},
    {"hello big world", {"FILENAME UPPERCASE \"the_first_letter_of_each_word\""}, "Hello Big World"},
    {"hello", {"FILENAME UPPERCASE \"the_first_letter_of_each_word\" extra"}, "Hello"},  // text behind the word is ignored
    {"ABC", {"FILENAME LOWERCASE left length:2"}, "abC"},
    {"abc", {"FILENAME LOWERCASE \"the_first_letter_of_each_word\""}, "abc"},
    {"photo.jpg", {}, "photo.jpg"},
};
INSTANTIATE_TEST_SUITE_P(Applying, RuleTable, ::testing::ValuesIn(kApplying));

// The destination folder and the conversion marker.
TEST(DestinationAndConversion, AreRecordedInTheReturnedPath) {
    EngineSetup setup;
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"FILENAME PREFIX \"x\"", "DESTDIR C:\\out\\", "PICCONVERT PNG"}),
              "C:\\out\\xphoto.jpg?conpicPNG");
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"PICCONVERT PNG", "PICCONVERT GIF"}), "D:\\in\\photo.jpg?conpicGIF");
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"DESTDIR C:\\out\\", "FILENAME PREFIX \"x\""}),
              setup.Apply("D:\\in\\photo.jpg", {"FILENAME PREFIX \"x\"", "DESTDIR C:\\out\\"}));
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"DESTDIR C:\\out"}), "C:\\outphoto.jpg");
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"DESTDIR C:\\My Pictures\\"}), "C:\\My Pictures\\photo.jpg");
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"DESTDIR C:\\a\\", "DESTDIR E:\\b\\"}), "E:\\b\\photo.jpg");
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"DESTDIR C:\\a\\", "DESTDIR "}), "D:\\in\\photo.jpg");
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"PICCONVERT WEBP"}), "D:\\in\\photo.jpg?conpicWEBP");
    EXPECT_EQ(setup.Apply("D:\\in\\photo.jpg", {"PICCONVERT "}), "D:\\in\\photo.jpg?conpic");
    EXPECT_STREQ(kConversionMarker, "?conpic");
}

TEST(Paths, SplitAtTheLastSeparatorOnly) {
    EngineSetup setup;
    EXPECT_EQ(setup.Apply("photo.jpg", {"FILENAME PREFIX \"x\""}), "xphoto.jpg");
    EXPECT_EQ(setup.Apply("C:\\a.b\\photo", {"FILEEXT SUFFIX \"x\""}), "C:\\a.b\\photox");
    EXPECT_EQ(setup.Apply("C:\\dir\\", {"FILENAME PREFIX \"x\""}), "C:\\dir\\x");
    // The separator is the context's.
    EXPECT_EQ(ApplyRules(setup.Context('/'), "/home/u.v/photo.jpg", 1, {"FILENAME UPPERCASE all"}),
              "/home/u.v/PHOTO.jpg");
    EXPECT_EQ(ApplyRules(setup.Context('/'), "/home/a\\b.jpg", 1, {"FILENAME UPPERCASE all"}), "/home/A\\B.jpg");
}

TEST(Paths, ARuleListWithNoLinesReturnsThePathUnchanged) {
    EngineSetup setup;
    for (const char* p : {"C:\\a\\photo.jpg", "", "x", "C:\\", "\\\\server\\share\\f.t"}) {
        EXPECT_EQ(setup.Apply(p, {}), p);
    }
}

TEST(Growth, ANameThatWouldPassAMebibyteIsLeftAsItWas) {
    EngineSetup setup;
    std::vector<std::string> rules;
    const std::string big(600 * 1024, 'b');
    rules.push_back("FILENAME SUFFIX \"" + big + "\"");
    rules.push_back("FILENAME SUFFIX \"" + big + "\"");  // would pass the limit: no effect
    rules.push_back("FILENAME PREFIX \"x\"");
    const std::string result = setup.Apply("C:\\a", rules);
    EXPECT_EQ(result, "C:\\xa" + big);
}

// The number rule.
struct NumberCase {
    const char* text;
    std::int32_t value;
};
class NumberRule : public ::testing::TestWithParam<NumberCase> {};
TEST_P(NumberRule, Reads) { EXPECT_EQ(ReadNumber(GetParam().text), GetParam().value) << GetParam().text; }
const NumberCase kNumbers[] = {
    {"", 0}, {"abc", 0}, {"12", 12}, {"  7x", 7}, {"\t\n-3", -3}, {"+4", 4}, {"- 4", 0}, {"--4", 0},
    {"2147483647", 2147483647}, {"2147483648", -2147483647 - 1}, {"-2147483648", -2147483647 - 1},
    {"4294967297", 1}, {"99999999999999999999999", -159383553},
    {"007", 7}, {"1 2", 1},
};
INSTANTIATE_TEST_SUITE_P(Numbers, NumberRule, ::testing::ValuesIn(kNumbers));

}  // namespace
}  // namespace quorv::test
