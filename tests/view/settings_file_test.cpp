#include "view/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/string_list_record.h"
#include "system/system.h"

namespace quorv {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

std::string Int(std::int32_t v) {
    ByteWriter w;
    w.WriteInt32(v);
    return w.Take();
}

// The eleven fields with the given raw values.
std::string Raw(std::int32_t c, std::int32_t q, std::int32_t e, std::int32_t sub,
                const std::string& folders, std::int32_t shell, std::int32_t theme,
                std::int32_t width, std::int32_t height, std::int32_t maximized) {
    return Int(c) + Int(q) + Int(e) + Int(sub) + folders + Int(shell) + Int(theme) + Int(width) +
           Int(height) + Int(maximized);
}

TEST(SettingsFile, DefaultsAreTheFirstStartValues) {
    const Settings s;
    EXPECT_FALSE(s.caseSensitive);
    EXPECT_TRUE(s.quickView);
    EXPECT_FALSE(s.exclude);
    EXPECT_FALSE(s.subdir);
    EXPECT_EQ(s.lastFolder, "");
    EXPECT_EQ(s.copyMoveFolder, "");
    EXPECT_FALSE(s.shellMenu);
    EXPECT_EQ(s.theme, 5);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_FALSE(s.maximized);
}

TEST(SettingsFile, DefaultsAreThirtyEightExactBytes) {
    const std::string expected = Bytes({0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // boxes
                                        0, 0,                                            // folders
                                        0, 0, 0, 0,                                      // shell menu
                                        5, 0, 0, 0,                                      // theme
                                        0x20, 0x03, 0, 0,                                // 800
                                        0x58, 0x02, 0, 0,                                // 600
                                        0, 0, 0, 0});
    EXPECT_EQ(EncodeSettings(Settings{}), expected);
    EXPECT_EQ(expected.size(), 38u);
}

TEST(SettingsFile, RoundTripOfEveryField) {
    Settings s;
    s.caseSensitive = true;
    s.quickView = false;
    s.exclude = true;
    s.subdir = true;
    s.lastFolder = std::string(300, 'L');
    s.copyMoveFolder = "D:\\Copies";
    s.shellMenu = true;
    s.theme = 10;
    s.width = 1024;
    s.height = 768;
    s.maximized = true;
    const std::string bytes = EncodeSettings(s);
    // A 300-byte folder carries the three-byte prefix FF 2C 01.
    EXPECT_EQ(bytes.substr(16, 3), Bytes({0xFF, 0x2C, 0x01}));
    const SettingsReadResult read = DecodeSettings(bytes + "ignored tail", SystemCodePage());
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.fieldsRead, 11);
    EXPECT_TRUE(read.settings == s);
}

TEST(SettingsFile, EmptyFileGivesDefaultsWithShellMenuOn) {
    const SettingsReadResult read = DecodeSettings("", SystemCodePage());
    EXPECT_FALSE(read.complete);
    Settings expected;
    expected.shellMenu = true;
    EXPECT_TRUE(read.settings == expected);
}

TEST(SettingsFile, TruncationKeepsFieldsReadBeforeIt) {
    Settings s;
    s.caseSensitive = true;
    s.quickView = false;
    s.exclude = true;
    s.subdir = true;
    s.lastFolder = "C:\\Last";
    s.copyMoveFolder = "C:\\Copy";
    s.shellMenu = false;
    s.theme = 2;
    s.width = 900;
    s.height = 700;
    s.maximized = true;
    const std::string bytes = EncodeSettings(s);
    // Where each field ends.
    const std::size_t ends[11] = {4, 8, 12, 16, 24, 32, 36, 40, 44, 48, 52};
    ASSERT_EQ(bytes.size(), 52u);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const SettingsReadResult read = DecodeSettings(std::string_view(bytes).substr(0, cut), SystemCodePage());
        EXPECT_FALSE(read.complete);
        int n = 0;
        while (n < 11 && ends[n] <= cut) ++n;
        EXPECT_EQ(read.fieldsRead, n);
        const Settings& r = read.settings;
        const Settings d;
        EXPECT_EQ(r.caseSensitive, n >= 1 ? s.caseSensitive : d.caseSensitive);
        EXPECT_EQ(r.quickView, n >= 2 ? s.quickView : d.quickView);
        EXPECT_EQ(r.exclude, n >= 3 ? s.exclude : d.exclude);
        EXPECT_EQ(r.subdir, n >= 4 ? s.subdir : d.subdir);
        EXPECT_EQ(r.lastFolder, n >= 5 ? s.lastFolder : d.lastFolder);
        EXPECT_EQ(r.copyMoveFolder, n >= 6 ? s.copyMoveFolder : d.copyMoveFolder);
        EXPECT_EQ(r.theme, n >= 8 ? s.theme : d.theme);
        EXPECT_EQ(r.width, n >= 9 ? s.width : d.width);
        EXPECT_EQ(r.height, n >= 10 ? s.height : d.height);
        EXPECT_EQ(r.maximized, d.maximized);
        // Whatever was stored, a short file turns the context menu on.
        EXPECT_TRUE(r.shellMenu);
    }
}

TEST(SettingsFile, MalformedFolderStopsReading) {
    const std::string bytes = Int(1) + Int(0) + Int(1) + Int(1) +
                              Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0,
                                     0, 0, 0}) +
                              std::string(40, '\0');
    const SettingsReadResult read = DecodeSettings(bytes, SystemCodePage());
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.fieldsRead, 4);
    EXPECT_TRUE(read.settings.caseSensitive);
    EXPECT_FALSE(read.settings.quickView);
    EXPECT_EQ(read.settings.lastFolder, "");
    EXPECT_TRUE(read.settings.shellMenu);
}

TEST(SettingsFile, HugeFolderLengthDoesNotAllocate) {
    const std::string bytes = std::string(16, '\0') + Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F});
    const SettingsReadResult read = DecodeSettings(bytes, SystemCodePage());
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.fieldsRead, 4);
    EXPECT_EQ(read.settings.lastFolder.capacity() < 64, true);
}

TEST(SettingsFile, WideFolderIsAccepted) {
    const std::string bytes = Raw(0, 1, 0, 0, Bytes({0xFF, 0xFE, 0xFF, 2, 'C', 0, ':', 0, 0}), 0, 5,
                                  800, 600, 0);
    const SettingsReadResult read = DecodeSettings(bytes, SystemCodePage());
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.settings.lastFolder, "C:");
}

struct RangeCase {
    const char* what;
    std::int32_t box, theme, width, height, maximized;
    bool expectBox;
    int expectTheme, expectWidth, expectHeight;
    bool expectMaximized;
};

TEST(SettingsFile, OutOfRangeValuesFallBackToDefaults) {
    const RangeCase cases[] = {
        {"all valid", 1, 0, 800, 600, 1, true, 0, 800, 600, true},
        {"largest valid", 1, 10, 32767, 32767, 0, true, 10, 32767, 32767, false},
        {"theme 11", 1, 11, 800, 600, 0, true, 5, 800, 600, false},
        {"theme -1", 0, -1, 1000, 700, 0, false, 5, 1000, 700, false},
        {"box 2", 2, 3, 800, 600, 2, false, 3, 800, 600, false},
        {"box -1", -1, 3, 800, 600, -1, false, 3, 800, 600, false},
        {"too narrow", 0, 3, 799, 600, 0, false, 3, 800, 600, false},
        {"too low", 0, 3, 800, 599, 0, false, 3, 800, 600, false},
        {"negative size", 0, 3, -5, INT32_MIN, 0, false, 3, 800, 600, false},
        {"too large", 0, 3, 32768, INT32_MAX, 0, false, 3, 800, 600, false},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SettingsReadResult read =
            DecodeSettings(Raw(c.box, c.box, c.box, c.box, Bytes({0, 0}), c.box, c.theme, c.width,
                               c.height, c.maximized), SystemCodePage());
        EXPECT_TRUE(read.complete);
        const Settings& s = read.settings;
        EXPECT_EQ(s.caseSensitive, c.expectBox);
        EXPECT_EQ(s.exclude, c.expectBox);
        EXPECT_EQ(s.subdir, c.expectBox);
        EXPECT_EQ(s.shellMenu, c.expectBox);
        // The QuickView default is checked, so a bad value leaves it on.
        EXPECT_EQ(s.quickView, c.box == 0 ? false : true);
        EXPECT_EQ(s.theme, c.expectTheme);
        EXPECT_EQ(s.width, c.expectWidth);
        EXPECT_EQ(s.height, c.expectHeight);
        EXPECT_EQ(s.maximized, c.expectMaximized);
    }
}

}  // namespace
}  // namespace quorv
