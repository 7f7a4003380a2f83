#include "formats/error_log.h"

#include <gtest/gtest.h>

#include <string>

#include "system/system.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/temp_dir.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;

// 7 December 2026 01:03:46 UTC.
constexpr std::int64_t kStamp = 1796605426;

TEST(ErrorLog, TimeStampIsMonthDayFourDigitYear) {
    auto clock = MakeFixedClock(kStamp);
    LocalTime t;
    ASSERT_TRUE(clock->ToLocal(clock->Now(), t));
    EXPECT_EQ(ErrorLogStamp(t), "[12/07/2026 01:03:46] ");
    EXPECT_EQ(ErrorLogLine(t, "Cannot open x"), "[12/07/2026 01:03:46] Cannot open x\r\n");
    // In a zone ahead of UTC the local time is used.
    auto tokyo = MakeFixedClock(1798895109, 9 * 3600);  // 2 January 2027 13:05:09 UTC
    ASSERT_TRUE(tokyo->ToLocal(tokyo->Now(), t));
    EXPECT_EQ(ErrorLogStamp(t), "[01/02/2027 22:05:09] ");
}

TEST(ErrorLog, AppendsOneLinePerEntry) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\Tools");
    auto clock = MakeFixedClock(kStamp);
    AppendErrorLog(fs, *clock, "C:\\Tools\\", "first");
    AppendErrorLog(fs, *clock, "C:\\Tools\\", "second");
    EXPECT_EQ(fs.Contents("C:\\Tools\\ErrorLog.txt"),
              "[12/07/2026 01:03:46] first\r\n[12/07/2026 01:03:46] second\r\n");
}

TEST(ErrorLog, SizeLimit) {
    MemoryFileSystem fs;
    auto clock = MakeFixedClock(kStamp);
    const std::string line = "[12/07/2026 01:03:46] new\r\n";
    // Exactly 1,048,576 bytes: appended to.
    fs.AddFile("C:\\Tools\\ErrorLog.txt", std::string(1048576, 'o'));
    AppendErrorLog(fs, *clock, "C:\\Tools\\", "new");
    EXPECT_EQ(fs.Contents("C:\\Tools\\ErrorLog.txt").size(), 1048576u + line.size());
    // Now beyond the limit: emptied, then only the new entry.
    AppendErrorLog(fs, *clock, "C:\\Tools\\", "new");
    EXPECT_EQ(fs.Contents("C:\\Tools\\ErrorLog.txt"), line);
    fs.AddFile("C:\\Tools\\ErrorLog.txt", std::string(1048577, 'o'));
    AppendErrorLog(fs, *clock, "C:\\Tools\\", "new");
    EXPECT_EQ(fs.Contents("C:\\Tools\\ErrorLog.txt"), line);
}

TEST(ErrorLog, FailuresAreSilent) {
    MemoryFileSystem fs;
    auto clock = MakeFixedClock(kStamp);
    fs.AddFile("C:\\Tools\\ErrorLog.txt", "old\r\n");
    fs.Lock("C:\\Tools\\ErrorLog.txt");
    AppendErrorLog(fs, *clock, "C:\\Tools\\", "lost");
    fs.Unlock("C:\\Tools\\ErrorLog.txt");
    EXPECT_EQ(fs.Contents("C:\\Tools\\ErrorLog.txt"), "old\r\n");
    AppendErrorLog(fs, *clock, "Q:\\missing\\", "lost");  // no such folder
    EXPECT_FALSE(fs.HasFile("Q:\\missing\\ErrorLog.txt"));
}

TEST(ErrorLog, FormatsLikePrintf) {
    const auto utf8 = MakeUtf8CodePage();
    EXPECT_EQ(FormatLogMessage(*utf8, "Cannot move %s to %s (%d, 0x%lx, %u%c)", "a", "b", -5, 255ul, 7u, '!'),
              "Cannot move a to b (-5, 0xff, 7!)");
    EXPECT_EQ(FormatLogMessage(*utf8, "100%% plain"), "100% plain");
    EXPECT_EQ(FormatLogMessage(*utf8, nullptr), "");
}

TEST(ErrorLog, LongMessagesAreCutAt1024Bytes) {
    const auto utf8 = MakeUtf8CodePage();
    const std::string longText(5000, 'x');
    std::string message = FormatLogMessage(*utf8, "[%s]", longText.c_str());
    EXPECT_EQ(message, "[" + std::string(1023, 'x'));
    message = FormatLogMessage(*utf8, "%s", std::string(1024, 'y').c_str());
    EXPECT_EQ(message, std::string(1024, 'y'));
}

TEST(ErrorLog, CutNeverSplitsACharacter) {
    const auto cp932 = MakeTableCodePage(932);
    ASSERT_NE(cp932, nullptr);
    // 1023 single bytes, then a double-byte character that would straddle the limit.
    const std::string text = std::string(1023, 'a') + "\x95\x5C" + "tail";
    EXPECT_EQ(CutToWholeCharacters(*cp932, text, 1024), std::string(1023, 'a'));
    EXPECT_EQ(FormatLogMessage(*cp932, "%s", text.c_str()), std::string(1023, 'a'));
    const auto utf8 = MakeUtf8CodePage();
    const std::string accents = std::string(1022, 'a') + "\xE8\xA1\xA8";
    EXPECT_EQ(CutToWholeCharacters(*utf8, accents, 1024), std::string(1022, 'a'));
    EXPECT_EQ(CutToWholeCharacters(*utf8, "short", 1024), "short");
}

TEST(ErrorLog, RealFileAppendedAndEmptied) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    auto clock = MakeFixedClock(kStamp);
    const std::string folder = dir.path() + test::Sep();
    AppendErrorLog(fs, *clock, folder, "one");
    AppendErrorLog(fs, *clock, folder, "two");
    std::string bytes;
    ASSERT_EQ(fs.ReadFile(folder + "ErrorLog.txt", bytes), IoResult::Ok);
    EXPECT_EQ(bytes, "[12/07/2026 01:03:46] one\r\n[12/07/2026 01:03:46] two\r\n");
    dir.WriteFile("ErrorLog.txt", std::string(1048577, 'z'));
    AppendErrorLog(fs, *clock, folder, "three");
    ASSERT_EQ(fs.ReadFile(folder + "ErrorLog.txt", bytes), IoResult::Ok);
    EXPECT_EQ(bytes, "[12/07/2026 01:03:46] three\r\n");
}

}  // namespace
}  // namespace quorv
