#include "formats/string_list_record.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorv {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

TEST(StringListRecord, TwoRulesMakeThe55ByteExample) {
    const std::string first = "FILENAME PREFIX digit length:3";
    const std::string second = "FILEEXT LOWERCASE all";
    ASSERT_EQ(first.size(), 30u);
    ASSERT_EQ(second.size(), 21u);
    const std::string bytes = EncodeStringList({first, second});
    const std::string expected = Bytes({0x02, 0x00, 0x1E}) + first + Bytes({0x15}) + second;
    EXPECT_EQ(bytes.size(), 55u);
    EXPECT_EQ(bytes, expected);

    std::vector<std::string> back;
    EXPECT_EQ(DecodeStringList(bytes, SystemCodePage(), back), FileError::None);
    EXPECT_EQ(back, (std::vector<std::string>{first, second}));
}

TEST(StringListRecord, EmptyListIsTwoZeroBytes) {
    EXPECT_EQ(EncodeStringList({}), Bytes({0, 0}));
    std::vector<std::string> back{"left over"};
    EXPECT_EQ(DecodeStringList(Bytes({0, 0}), SystemCodePage(), back), FileError::None);
    EXPECT_TRUE(back.empty());
}

struct PrefixCase {
    std::size_t length;
    std::string prefix;
};

TEST(StringListRecord, LengthPrefixesAtEveryBoundary) {
    const std::vector<PrefixCase> cases = {
        {0, Bytes({0x00})},
        {1, Bytes({0x01})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {300, Bytes({0xFF, 0x2C, 0x01})},
        {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
        // 0xFFFE in two bytes would read as the wide mark.
        {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {0x12345, Bytes({0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00})},
    };
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(c.length);
        std::string line(c.length, 'x');
        if (!line.empty()) line.back() = 'y';
        const std::string bytes = EncodeStringList({line});
        ASSERT_EQ(bytes.size(), 2 + c.prefix.size() + c.length);
        EXPECT_EQ(bytes.substr(0, 2), Bytes({0x01, 0x00}));
        EXPECT_EQ(bytes.substr(2, c.prefix.size()), c.prefix);
        std::vector<std::string> back;
        ASSERT_EQ(DecodeStringList(bytes, SystemCodePage(), back), FileError::None);
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0], line);
    }
}

TEST(StringListRecord, CountsFromFFFFUseTheSixByteForm) {
    std::vector<std::string> lines(0xFFFE, "a");
    std::string bytes = EncodeStringList(lines);
    EXPECT_EQ(bytes.substr(0, 2), Bytes({0xFE, 0xFF}));
    EXPECT_EQ(bytes.size(), 2u + 2u * 0xFFFE);

    lines.assign(0xFFFF, "");
    lines.back() = "last";
    bytes = EncodeStringList(lines);
    EXPECT_EQ(bytes.substr(0, 6), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(bytes.size(), 6u + 0xFFFF + 4);
    std::vector<std::string> back;
    ASSERT_EQ(DecodeStringList(bytes, SystemCodePage(), back), FileError::None);
    EXPECT_EQ(back, lines);
}

TEST(StringListRecord, LinesKeepEveryByteOfTheirCodePage) {
    // Text of the reading code page comes back byte for byte, zero bytes and
    // line ends included: UTF-8, and legacy double-byte text.
    const auto utf8 = MakeUtf8CodePage();
    const auto cp932 = MakeTableCodePage(932);
    const std::vector<std::string> utf8Lines = {std::string("a\0b", 3), "\xE8\xA1\xA8\xF0\x9F\x98\x80", "\r\n", ""};
    const std::vector<std::string> legacyLines = {std::string("a\0b", 3), "\x95\x5C\x81\x40", "\r\n", ""};
    std::vector<std::string> back;
    ASSERT_EQ(DecodeStringList(EncodeStringList(utf8Lines), *utf8, back), FileError::None);
    EXPECT_EQ(back, utf8Lines);
    ASSERT_EQ(DecodeStringList(EncodeStringList(legacyLines), *cp932, back), FileError::None);
    EXPECT_EQ(back, legacyLines);
}

TEST(StringListRecord, BytesAfterTheRecordAreNotRead) {
    std::string bytes = EncodeStringList({"one"}) + "trailing garbage \xFF\xFF";
    ByteReader reader(bytes, SystemCodePage());
    std::vector<std::string> back;
    ASSERT_TRUE(reader.ReadStringList(back));
    EXPECT_EQ(back, std::vector<std::string>{"one"});
    EXPECT_EQ(reader.position(), 6u);
}

TEST(StringListRecord, WideStringsAreConverted) {
    // FF FE FF marks UTF-16; then a one-byte count of code units.
    const std::string ascii = Bytes({0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0});
    std::vector<std::string> back;
    ASSERT_EQ(DecodeStringList(ascii, SystemCodePage(), back), FileError::None);
    EXPECT_EQ(back, std::vector<std::string>{"abc"});

    // A wide string with a three-byte unit count.
    std::string longer = Bytes({0x01, 0x00, 0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01});
    for (int i = 0; i < 300; ++i) longer += Bytes({'z', 0});
    ASSERT_EQ(DecodeStringList(longer, SystemCodePage(), back), FileError::None);
    EXPECT_EQ(back, std::vector<std::string>{std::string(300, 'z')});

    // The wide form mixes with narrow strings in one record.
    const std::string mixed = Bytes({0x02, 0x00, 0x02, 'h', 'i', 0xFF, 0xFE, 0xFF, 0x00});
    ASSERT_EQ(DecodeStringList(mixed, SystemCodePage(), back), FileError::None);
    EXPECT_EQ(back, (std::vector<std::string>{"hi", ""}));
}

#ifndef _WIN32
TEST(StringListRecord, WideStringsBecomeUtf8Natively) {
    // U+00E9, U+8868 and U+1F600 (a surrogate pair), then a lone low half.
    const std::string bytes = Bytes({0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x05, 0xE9, 0x00, 0x68, 0x88,
                                     0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xDC});
    std::vector<std::string> back;
    ASSERT_EQ(DecodeStringList(bytes, SystemCodePage(), back), FileError::None);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], "\xC3\xA9\xE8\xA1\xA8\xF0\x9F\x98\x80?");
}
#endif

TEST(StringListRecord, EightByteLengthsMustFitIn31Bits) {
    const std::string head = Bytes({0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    // 0x7FFFFFFF fits: the reader then runs out of bytes.
    std::vector<std::string> back;
    EXPECT_EQ(DecodeStringList(head + Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}), SystemCodePage(), back),
              FileError::EndOfFile);
    // 0x80000000 and 2^63 are refused as malformed.
    EXPECT_EQ(DecodeStringList(head + Bytes({0x00, 0x00, 0x00, 0x80, 0, 0, 0, 0}), SystemCodePage(), back),
              FileError::Generic);
    EXPECT_EQ(DecodeStringList(head + Bytes({0, 0, 0, 0, 0, 0, 0, 0x80}), SystemCodePage(), back), FileError::Generic);
    // A small 8-byte length is read like any other.
    EXPECT_EQ(DecodeStringList(head + Bytes({0x02, 0, 0, 0, 0, 0, 0, 0, 'o', 'k'}), SystemCodePage(), back),
              FileError::None);
    EXPECT_EQ(back, std::vector<std::string>{"ok"});
}

TEST(StringListRecord, EveryTruncationIsReportedAsEndOfFile) {
    std::string line300(300, 'q');
    std::string wide = Bytes({0xFF, 0xFE, 0xFF, 0x02, 'w', 0, 'x', 0});
    std::string full = EncodeStringList({"alpha", "", line300});
    // Patch a wide string in as a fourth entry.
    full[0] = 4;
    full += wide;
    std::vector<std::string> back;
    ASSERT_EQ(DecodeStringList(full, SystemCodePage(), back), FileError::None);
    ASSERT_EQ(back.size(), 4u);
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        back.clear();
        EXPECT_EQ(DecodeStringList(full.substr(0, cut), SystemCodePage(), back), FileError::EndOfFile);
        EXPECT_LT(back.size(), 4u);
    }
}

TEST(StringListRecord, TruncatedListKeepsTheLinesReadBeforeTheFault) {
    std::string bytes = EncodeStringList({"one", "two", "three"});
    bytes.resize(bytes.size() - 1);
    std::vector<std::string> back;
    EXPECT_EQ(DecodeStringList(bytes, SystemCodePage(), back), FileError::EndOfFile);
    EXPECT_EQ(back, (std::vector<std::string>{"one", "two"}));
}

TEST(StringListRecord, HugeCountsAndLengthsFailWithoutAllocating) {
    std::vector<std::string> back;
    // Four billion lines claimed in six bytes.
    EXPECT_EQ(DecodeStringList(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}), SystemCodePage(), back), FileError::EndOfFile);
    EXPECT_LE(back.capacity(), 16u);
    // A string of 0xFFFFFFFE bytes claimed with nothing behind it.
    EXPECT_EQ(DecodeStringList(Bytes({1, 0, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}), SystemCodePage(), back),
              FileError::EndOfFile);
    // A wide string of 0x7FFFFFFF code units: twice the length is checked too.
    EXPECT_EQ(DecodeStringList(Bytes({1, 0, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0x7F, 'a', 0}), SystemCodePage(),
                               back),
              FileError::EndOfFile);
    // A wide string with an odd number of text bytes.
    EXPECT_EQ(DecodeStringList(Bytes({1, 0, 0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}), SystemCodePage(), back),
              FileError::EndOfFile);
}

TEST(StringListRecord, ReaderStopsAtTheFirstErrorAndStaysStopped) {
    const std::string bytes = Bytes({1, 2, 3});
    ByteReader reader(bytes, SystemCodePage());
    std::uint32_t big = 0;
    EXPECT_FALSE(reader.ReadUInt32(big));
    EXPECT_EQ(reader.error(), FileError::EndOfFile);
    std::uint8_t small = 0;
    EXPECT_FALSE(reader.ReadUInt8(small));
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(StringListRecord, IntegersAreLittleEndian) {
    ByteWriter writer;
    writer.WriteInt32(-2);
    writer.WriteUInt32(0x01020304);
    writer.WriteUInt16(0xBEEF);
    EXPECT_EQ(writer.bytes(), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0xEF, 0xBE}));
    ByteReader reader(writer.bytes(), SystemCodePage());
    std::int32_t s = 0;
    std::uint32_t u = 0;
    std::uint16_t w = 0;
    ASSERT_TRUE(reader.ReadInt32(s) && reader.ReadUInt32(u) && reader.ReadUInt16(w));
    EXPECT_EQ(s, -2);
    EXPECT_EQ(u, 0x01020304u);
    EXPECT_EQ(w, 0xBEEF);
    const std::string extremeBytes = Bytes({0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0x7F});
    ByteReader extremes(extremeBytes, SystemCodePage());
    ASSERT_TRUE(extremes.ReadInt32(s));
    EXPECT_EQ(s, INT32_MIN);
    ASSERT_TRUE(extremes.ReadInt32(s));
    EXPECT_EQ(s, INT32_MAX);
}

TEST(StringListRecord, ErrorTexts) {
    EXPECT_EQ(FileErrorText(FileError::EndOfFile, kUnnamedFile),
              "An attempt was made to access an unnamed file past its end.");
    EXPECT_EQ(FileErrorText(FileError::Generic, kUnnamedFile),
              "An unknown error occurred while accessing an unnamed file.");
    EXPECT_EQ(FileErrorText(FileError::DiskFull, "C:\\Rules\\a.qvr"),
              "Disk full while accessing C:\\Rules\\a.qvr.");
    // A name holding %1 is put in once, not expanded again.
    EXPECT_EQ(FileErrorText(FileError::DiskFull, "%1"), "Disk full while accessing %1.");
    EXPECT_EQ(FileErrorText(FileError::None, "x"), "");
    EXPECT_EQ(FileErrorFromIo(IoResult::DiskFull), FileError::DiskFull);
    EXPECT_EQ(FileErrorFromIo(IoResult::Failed), FileError::Generic);
    EXPECT_EQ(FileErrorFromIo(IoResult::Ok), FileError::None);
}

}  // namespace
}  // namespace quorv
