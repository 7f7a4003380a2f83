// The rule of the stored text: a single-byte string of a rule, batch or
// settings file or a handoff entry that is valid UTF-8 is UTF-8, anything
// else is text of the system's legacy ANSI code page. Through the table
// code pages, so the same cases hold on every build.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "batch/batch_file.h"
#include "builder/rule_file.h"
#include "formats/handoff_file.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "view/settings_file.h"

namespace quorv {
namespace {

using Lines = std::vector<std::string>;

struct StoredCase {
    const char* what;
    std::string stored;
    std::string narrow;
};

TEST(StoredText, Utf8PageKeepsUtf8AndReadsTheRestAs1252) {
    const auto cp = MakeUtf8CodePage();
    const StoredCase cases[] = {
        {"ASCII", "plain.txt", "plain.txt"},
        {"UTF-8 stays", "caf\xC3\xA9 \xE8\xA1\xA8 \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE8\xA1\xA8 \xF0\x9F\x98\x80"},
        {"legacy accents", "caf\xE9 cr\xE8me", "caf\xC3\xA9 cr\xC3\xA8me"},
        {"legacy euro and Y diaeresis", "\x80\x9F", "\xE2\x82\xAC\xC5\xB8"},
        {"a byte 1252 leaves undefined", "\x81", "\xC2\x81"},
        {"a sequence cut short", "a\xC3", "a\xC3\x83"},
        {"one stray byte makes the whole string legacy", "\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},
        {"zero bytes stay", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cp->FromStored(c.stored), c.narrow);
        EXPECT_TRUE(IsValidUtf8(cp->FromStored(c.stored)));
    }
}

TEST(StoredText, AnsiPagesConvertUtf8AndKeepTheirOwnText) {
    const auto cp1252 = MakeTableCodePage(1252);
    const auto cp932 = MakeTableCodePage(932);
    const StoredCase cases1252[] = {
        {"UTF-8 accents", "caf\xC3\xA9", "caf\xE9"},
        {"UTF-8 euro", "\xE2\x82\xAC", "\x80"},
        {"a character the page lacks", "a\xE8\xA1\xA8" "b", "a?b"},
        {"one question mark for a four-byte character", "\xF0\x9F\x98\x80", "?"},
        {"the page's own text", "caf\xE9", "caf\xE9"},
    };
    for (const StoredCase& c : cases1252) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cp1252->FromStored(c.stored), c.narrow);
    }
    EXPECT_EQ(cp932->FromStored("\x95\x5C.jpg"), "\x95\x5C.jpg");  // not UTF-8: the page's own
    EXPECT_EQ(cp932->FromStored("\xEF\xBD\xB1"), "\xB1");           // U+FF71, one byte in 932
}

TEST(StoredText, Utf16FromUtf8) {
    EXPECT_EQ(Utf16FromUtf8(""), u"");
    EXPECT_EQ(Utf16FromUtf8("caf\xC3\xA9"), u"caf\u00E9");
    EXPECT_EQ(Utf16FromUtf8("\xE8\xA1\xA8"), u"\u8868");
    EXPECT_EQ(Utf16FromUtf8("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(Utf16FromUtf8("a\xE9" "b"), u"a\uFFFD" "b");
    EXPECT_EQ(Utf16FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // a surrogate is no character
    for (const char* text : {"x", "\xC3\xA9", "\xE8\xA1\xA8\xF0\x9F\x98\x80 end"})
        EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(text)), text);
}

// Files of each kind as an earlier version wrote them in code page 1252,
// read where the program's text is UTF-8.
TEST(StoredText, Legacy1252FilesOfEachKindLoadAsUtf8) {
    const auto utf8 = MakeUtf8CodePage();

    Lines rules;
    ASSERT_EQ(DecodeRuleFile(EncodeRuleFile({"FILENAME PREFIX \"Ni\xF1o \"", "FILEEXT LOWERCASE all"}), *utf8, rules),
              FileError::None);
    EXPECT_EQ(rules, (Lines{"FILENAME PREFIX \"Ni\xC3\xB1o \"", "FILEEXT LOWERCASE all"}));

    BatchFile legacy;
    legacy.masterList = {"C:\\Fotos\\caf\xE9.jpg", "C:\\Fotos\\b.jpg"};
    legacy.displayedList = legacy.masterList;
    legacy.runRecord = {"C:\\Fotos\\1 caf\xE9.jpg", "C:\\Fotos\\2 b.jpg"};
    legacy.rules = {"FILENAME REPLACE \"\x80\" with \"EUR\""};
    legacy.undoEnabled = true;
    const BatchReadResult batch = DecodeBatchFile(EncodeBatchFile(legacy), *utf8);
    ASSERT_TRUE(batch.ok());
    EXPECT_EQ(batch.batch.masterList, (Lines{"C:\\Fotos\\caf\xC3\xA9.jpg", "C:\\Fotos\\b.jpg"}));
    EXPECT_EQ(batch.batch.displayedList, batch.batch.masterList);
    EXPECT_EQ(batch.batch.runRecord, (Lines{"C:\\Fotos\\1 caf\xC3\xA9.jpg", "C:\\Fotos\\2 b.jpg"}));
    EXPECT_EQ(batch.batch.rules, Lines{"FILENAME REPLACE \"\xE2\x82\xAC\" with \"EUR\""});
    EXPECT_TRUE(batch.batch.undoEnabled);

    Settings settings;
    settings.lastFolder = "C:\\M\xFAsica";
    settings.copyMoveFolder = "D:\\\xC9t\xE9";
    const SettingsReadResult read = DecodeSettings(EncodeSettings(settings), *utf8);
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.settings.lastFolder, "C:\\M\xC3\xBAsica");
    EXPECT_EQ(read.settings.copyMoveFolder, "D:\\\xC3\x89t\xC3\xA9");

    EXPECT_EQ(DecodeHandoff("C:\\caf\xE9.jpg\r\nC:\\\xE8\xA1\xA8.jpg\r\n", *utf8),
              (Lines{"C:\\caf\xC3\xA9.jpg", "C:\\\xE8\xA1\xA8.jpg"}));
}

}  // namespace
}  // namespace quorv
