// Sequence numbers, dates and times added by the generated PREFIX/SUFFIX forms.
#include <gtest/gtest.h>

#include "engine/inserted_values.h"
#include "system/system.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/temp_dir.h"

namespace quorv::test {
namespace {

struct DigitCase {
    const char* parameter;  // the text after "length:"
    std::int32_t fileNumber;
    const char* expected;
};
class Digits : public ::testing::TestWithParam<DigitCase> {};

TEST_P(Digits, FollowTheCountExpression) {
    EngineSetup setup;
    const DigitCase& c = GetParam();
    const std::string rule = std::string("FILENAME PREFIX digit length:") + c.parameter;
    EXPECT_EQ(setup.Apply("C:\\f.x", {rule}, c.fileNumber), std::string("C:\\") + c.expected + "f.x") << rule;
}

const DigitCase kDigits[] = {
    {"3", 1, "001"},
    {"3", 12, "012"},
    {"3", 1234, "1234"},
    {"0", 1, "1"},
    {"0", 2, "2"},
    {"", 5, "5"},
    {"-4", 7, "7"},
    {"4:-5+1", 1, "00-4"},  // zeros in front of the sign, the sign counts
    {"2:0+0", 1, "00"},
    {"2:0+0", 99, "00"},
    {"4:100+10", 1, "0110"},
    {"4:100+10", 2, "0120"},
    {"3:10+5", 1, "015"},    // step 5, start 10, width 3
    {"3+5:10", 1, "005"},    // step read from "5:10", no start
    {"1:5", 3, "8"},
    {"1+-2", 3, "-6"},
    {"0:2147483647+1", 1, "-2147483648"},   // 32-bit wrap-around, well defined
    {"0:0+2147483647", 3, "2147483645"},
    {"0:-2147483648+-1", 1, "2147483647"},
    {"0", -2147483647 - 1, "-2147483648"},
    {"12:+3", 2, "000000000006"},
};
INSTANTIATE_TEST_SUITE_P(Table, Digits, ::testing::ValuesIn(kDigits));

TEST(Digits, AnAbsurdWidthIsCappedInsteadOfExhaustingMemory) {
    DigitExpression d;
    d.width = 2000000000;
    const std::string text = SequenceText(d, 1);
    EXPECT_EQ(text.size(), static_cast<std::size_t>(kMaxDigitWidth));
    EXPECT_EQ(text.back(), '1');
    EXPECT_EQ(text.find_first_not_of('0'), text.size() - 1);
}

struct DateCase {
    const char* kind;
    const char* format;
    const char* expected;
};
class Dates : public ::testing::TestWithParam<DateCase> {};

TEST_P(Dates, FormatTheClockInLocalTime) {
    EngineSetup setup;
    const DateCase& c = GetParam();
    const std::string rule = std::string("FILENAME SUFFIX ") + c.kind + " format:" + c.format;
    EXPECT_EQ(setup.Apply("C:\\f.x", {rule}), std::string("C:\\f") + c.expected + ".x") << rule;
}

const DateCase kDates[] = {
    {"date", "mm-dd-yy", "12-25-06"},
    {"date", "yy-mm-dd", "06-12-25"},
    {"date", "mm-dd-yyyy", "12-25-2006"},
    {"date", "yyyy-mm-dd", "2006-12-25"},
    {"date", "dd-mm-yy", "25-12-06"},
    {"date", "dd-mm-yyyy", "25-12-2006"},
    {"date", "mm.dd.yy", "12.25.06"},
    {"date", "yy.mm.dd", "06.12.25"},
    {"date", "mm.dd.yyyy", "12.25.2006"},
    {"date", "yyyy.mm.dd", "2006.12.25"},
    {"date", "dd.mm.yy", "25.12.06"},
    {"date", "dd.mm.yyyy", "25.12.2006"},
    {"date", "short_local_date", "12-25-06"},
    {"date", "long_local_date", "Monday, December 25, 2006"},
    {"time", "H.M", "15.07"},
    {"time", "H.M.S", "15.07.09"},
    {"time", "I.M", "03.07PM"},
    {"time", "I.M.S", "03.07.09PM"},
    // A name of the other list, a misspelt name, any text: the text itself.
    {"date", "H.M", "H.M"},
    {"time", "yyyy-mm-dd", "yyyy-mm-dd"},
    {"date", "YYYY-MM-DD", "YYYY-MM-DD"},
    {"date", "hello world", "hello world"},
    {"time", "", ""},
    {"file_create_date", "mm/dd", "mm/dd"},
};
INSTANTIATE_TEST_SUITE_P(Table, Dates, ::testing::ValuesIn(kDates));

TEST(Dates, TwelveHourClockAroundMidnightAndNoon) {
    struct {
        std::int64_t local;  // seconds into 2006-12-25, local
        const char* expected;
    } cases[] = {
        {0 * 3600 + 5 * 60, "12.05AM"},
        {11 * 3600 + 59 * 60, "11.59AM"},
        {12 * 3600 + 30 * 60, "12.30PM"},
        {23 * 3600 + 1 * 60, "11.01PM"},
    };
    const std::int64_t midnightLocal = kChristmasLocal - (15 * 3600 + 7 * 60 + 9);
    for (const auto& c : cases) {
        EngineSetup setup(0, midnightLocal + c.local - kOffset, kOffset);
        EXPECT_EQ(setup.Apply("f", {"FILENAME SUFFIX time format:I.M"}), std::string("f") + c.expected);
    }
}

TEST(Dates, LongDateForEveryWeekdayAndMonth) {
    // 2007-01-01 was a Monday; walk through a year a few weeks apart.
    const char* const weekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    LocalTime t;
    t.year = 2007;
    t.month = 3;
    t.day = 7;
    t.weekday = 3;
    std::string out;
    ASSERT_TRUE(FormatDate("long_local_date", t, out));
    EXPECT_EQ(out, "Wednesday, March 07, 2007");
    for (int w = 0; w < 7; ++w) {
        t.weekday = w;
        FormatDate("long_local_date", t, out);
        EXPECT_EQ(out.substr(0, out.find(',')), weekdays[w]);
    }
    t.weekday = 9;  // a broken conversion gives nothing rather than garbage
    FormatDate("long_local_date", t, out);
    EXPECT_EQ(out, "");
}

TEST(Dates, EarlyYearsKeepFourDigits) {
    LocalTime t;
    t.year = 987;
    t.month = 5;
    t.day = 4;
    std::string out;
    FormatDate("yyyy-mm-dd", t, out);
    EXPECT_EQ(out, "0987-05-04");
    FormatDate("yy.mm.dd", t, out);
    EXPECT_EQ(out, "87.05.04");
}

TEST(FileTimes, EachKindReadsItsOwnTimeOfTheOriginalFile) {
    EngineSetup setup(0, kChristmasUtc, 0);
    FileTimes times;
    times.created = 946684800;    // 2000-01-01 00:00:00 UTC
    times.modified = 1000000000;  // 2001-09-09 01:46:40 UTC
    times.accessed = 1234567890;  // 2009-02-13 23:31:30 UTC
    setup.files.files["C:\\in\\f.jpg"] = times;
    struct {
        const char* rule;
        const char* expected;
    } cases[] = {
        {"FILENAME SUFFIX file_create_date format:yyyy-mm-dd", "f2000-01-01.jpg"},
        {"FILENAME SUFFIX file_create_time format:H.M.S", "f00.00.00.jpg"},
        {"FILENAME SUFFIX file_modify_date format:yyyy-mm-dd", "f2001-09-09.jpg"},
        {"FILENAME SUFFIX file_modify_time format:H.M.S", "f01.46.40.jpg"},
        {"FILENAME SUFFIX file_last_access_date format:dd.mm.yyyy", "f13.02.2009.jpg"},
        {"FILENAME SUFFIX file_last_access_time format:I.M.S", "f11.31.30PM.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(setup.Apply("C:\\in\\f.jpg", {c.rule}), std::string("C:\\in\\") + c.expected) << c.rule;
    }
    // The file is read through the path given, even after a rule renamed it.
    EXPECT_EQ(setup.Apply("C:\\in\\f.jpg", {"FILENAME PREFIX \"x\"", "FILENAME SUFFIX file_modify_date format:yy-mm-dd"}),
              "C:\\in\\xf01-09-09.jpg");
}

TEST(FileTimes, AFileThatCannotBeReadHasTheZeroTime) {
    EngineSetup utc(0, kChristmasUtc, 0);
    EXPECT_EQ(utc.Apply("C:\\gone.jpg", {"FILENAME SUFFIX file_modify_date format:yyyy-mm-dd"}), "C:\\gone1970-01-01.jpg");
    EXPECT_EQ(utc.Apply("C:\\gone.jpg", {"FILENAME SUFFIX file_create_time format:H.M.S"}), "C:\\gone00.00.00.jpg");
    // Formatted in local time: an hour west of UTC it is still 1969.
    EngineSetup west(0, kChristmasUtc, -3600);
    EXPECT_EQ(west.Apply("C:\\gone.jpg", {"FILENAME SUFFIX file_modify_date format:yyyy-mm-dd"}), "C:\\gone1969-12-31.jpg");
}

TEST(FileTimes, NotReadWhenTheParameterIsNoFormat) {
    EngineSetup setup;
    setup.Apply("C:\\f.jpg", {"FILENAME SUFFIX file_modify_date format:typed"});
    EXPECT_EQ(setup.files.statusCalls, 0);
    setup.Apply("C:\\f.jpg", {"FILENAME SUFFIX file_modify_date format:yyyy-mm-dd",
                              "FILENAME SUFFIX file_create_time format:H.M"});
    EXPECT_EQ(setup.files.statusCalls, 2);  // once for every rule that needs it
}

TEST(FileTimes, RealFilesThroughTheSystemFileSystem) {
    TempDir dir;
    const std::string path = dir.WriteFile("clip.jpg", "x");
    FileSystem& fs = SystemFileSystem();
    FileTimes times;
    times.created = 946684800;    // 2000-01-01 00:00:00 UTC
    times.modified = 1000000000;  // 2001-09-09 01:46:40 UTC
    times.accessed = 1234567890;  // 2009-02-13 23:31:30 UTC
    ASSERT_TRUE(fs.SetAttributes(path, kAttrArchive, &times));

    EngineSetup setup(0, kChristmasUtc, 0);
    EngineContext ctx = setup.Context(Sep()[0]);
    ctx.fileSystem = &fs;
    const std::string folder = dir.path() + Sep();
    EXPECT_EQ(ApplyRules(ctx, path, 1, {"FILENAME SUFFIX file_modify_date format:yyyy-mm-dd",
                                        "FILENAME SUFFIX file_modify_time format:H.M.S"}),
              folder + "clip2001-09-0901.46.40.jpg");
    EXPECT_EQ(ApplyRules(ctx, path, 1, {"FILENAME PREFIX file_last_access_date format:dd.mm.yy"}),
              folder + "13.02.09clip.jpg");
    // Gone from the disk: the zero time.
    EXPECT_EQ(ApplyRules(ctx, folder + "gone.jpg", 1, {"FILENAME SUFFIX file_modify_date format:yyyy-mm-dd"}),
              folder + "gone1970-01-01.jpg");
}

// A clock whose local conversion fails.
class BrokenClock : public Clock {
public:
    std::int64_t Now() const override { return 0; }
    bool ToLocal(std::int64_t, LocalTime&) const override { return false; }
};

TEST(FileTimes, AFailedLocalConversionAddsNothing) {
    EngineSetup setup;
    BrokenClock broken;
    EngineContext ctx = setup.Context();
    ctx.clock = &broken;
    EXPECT_EQ(ApplyRules(ctx, "C:\\f.jpg", 1, {"FILENAME SUFFIX date format:yyyy-mm-dd"}), "C:\\f.jpg");
    EXPECT_EQ(ApplyRules(ctx, "C:\\f.jpg", 1, {"FILENAME SUFFIX time format:typed"}), "C:\\ftyped.jpg");
}

TEST(FixedClock, ConvertsAcrossZonesLeapDaysAndCenturies) {
    struct {
        std::int64_t utc;
        int offset;
        int year, month, day, hour, minute, second, weekday, yearday;
    } cases[] = {
        {0, 0, 1970, 1, 1, 0, 0, 0, 4, 0},
        {-1, 0, 1969, 12, 31, 23, 59, 59, 3, 364},
        {951782400, 0, 2000, 2, 29, 0, 0, 0, 2, 59},           // leap day of a 400-year
        {4107542400, 0, 2100, 3, 1, 0, 0, 0, 1, 59},           // 2100 is no leap year
        {kChristmasUtc, kOffset, 2006, 12, 25, 15, 7, 9, 1, 358},
        {kChristmasUtc, kOffset - 16 * 3600, 2006, 12, 24, 23, 7, 9, 0, 357},
        {-2208988800LL, 0, 1900, 1, 1, 0, 0, 0, 1, 0},
    };
    for (const auto& c : cases) {
        LocalTime t;
        ASSERT_TRUE(MakeFixedClock(0, c.offset)->ToLocal(c.utc, t)) << c.utc;
        EXPECT_EQ(t.year, c.year) << c.utc;
        EXPECT_EQ(t.month, c.month) << c.utc;
        EXPECT_EQ(t.day, c.day) << c.utc;
        EXPECT_EQ(t.hour, c.hour) << c.utc;
        EXPECT_EQ(t.minute, c.minute) << c.utc;
        EXPECT_EQ(t.second, c.second) << c.utc;
        EXPECT_EQ(t.weekday, c.weekday) << c.utc;
        EXPECT_EQ(t.yearday, c.yearday) << c.utc;
    }
    LocalTime t;
    EXPECT_FALSE(MakeFixedClock(0, 0)->ToLocal(INT64_MAX, t));
    EXPECT_FALSE(MakeFixedClock(0, 0)->ToLocal(INT64_MIN, t));
    EXPECT_EQ(MakeFixedClock(123, 0)->Now(), 123);
}

TEST(SystemClock, AgreesWithItselfAndConverts) {
    const Clock& clock = SystemClock();
    const std::int64_t now = clock.Now();
    EXPECT_GT(now, 1600000000);  // later than 2020
    LocalTime t;
    ASSERT_TRUE(clock.ToLocal(now, t));
    EXPECT_GE(t.year, 2020);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_GE(t.weekday, 0);
    EXPECT_LE(t.weekday, 6);
}

// Readers that count how often the engine asks them.
struct CountingTags : TagReader {
    int opened = 0;
    std::unique_ptr<TagFile> Open(const std::string&) override {
        ++opened;
        return nullptr;
    }
};
struct CountingPictures : PictureReader {
    int read = 0;
    bool Read(const std::string&, PictureInfo&) override {
        ++read;
        return false;
    }
    bool Save(const std::string&, const std::string&, const std::string&) override { return false; }
};

TEST(TagOrPictureRules, FoundByTheWordsTheEngineReads) {
    // Whether a line reads tags or pictures decides whether a run may use
    // several threads: a line the engine reads them for must be found, and a
    // text that only contains a kind word must not be taken for one.
    struct Case {
        const char* line;
        bool reads;
    };
    const Case cases[] = {
        {"FILENAME PREFIX mp3tagv1 property:Title", true},
        {"FILEEXT SUFFIX mp3tagv2 property:Composer", true},
        {"FILENAME SUFFIX image property:resolution", true},
        {"OTHER PREFIX image property:format", true},  // any other target word is read as FILEEXT
        {"FILENAME  PREFIX image property:colors", false},  // the action is the empty word
        {"FILENAME PREFIX \"image_\"", false},
        {"FILENAME SUFFIX \"mp3tagv2\" image property:resolution", false},  // the quoted text wins
        {"FILENAME REPLACE \"mp3tagv1\" with \"image\"", false},
        {"FILENAME PREFIX digit length:3", false},
        {"FILENAME PREFIX file_modify_date format:dd.mm.yyyy", false},
        {"FILENAME PREFIX Image property:resolution", false},  // kind words are read as written
        {"DESTDIR image property:resolution", false},
        {"PICCONVERT image/png", false},
        {"FORMAT mp3tagv2 property:Composer", false},
        {"FILENAME INSERT image position:1", false},
        {"FILENAME", false},
    };
    EngineSetup setup;
    for (const Case& c : cases) {
        auto tags = std::make_unique<CountingTags>();
        auto pictures = std::make_unique<CountingPictures>();
        CountingTags& t = *tags;
        CountingPictures& p = *pictures;
        setup.tags = std::move(tags);
        setup.pictures = std::move(pictures);
        setup.Apply("C:\\music\\song.mp3", {c.line});
        const bool engineRead = t.opened + p.read > 0;
        EXPECT_EQ(c.reads, RuleReadsTagsOrPictures(*setup.codePage, c.line)) << c.line;
        EXPECT_EQ(c.reads, engineRead) << c.line;
    }
}

}  // namespace
}  // namespace quorv::test
