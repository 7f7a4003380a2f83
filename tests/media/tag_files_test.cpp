// Real MP3 files (encoded by lame, tagged by id3v2 or byte by byte) read
// through id3lib and the engine's media values.
#include <gtest/gtest.h>
#include <id3/globals.h>

#include <filesystem>
#include <string>

#include "engine/media_values.h"
#include "platform/media.h"
#include "system/system.h"
#include "tests/media/media_files.h"
#include "tests/support/temp_dir.h"

namespace quorv {
namespace {

using test::MediaFile;

EngineContext TagContext() {
    EngineContext ctx;
    ctx.tags = &SystemTagReader();
    ctx.pictures = &SystemPictureReader();
    return ctx;
}

std::string V1(const std::string& file, const std::string& property) {
    return Mp3TagValue(TagContext(), MediaFile(file), false, property);
}

// The program's narrow text: UTF-8 natively, the ANSI code page (1252
// under the test harness) on Windows.
#ifdef _WIN32
const char kBjork[] = "Bj\xF6rk";
const char kSigurRos[] = "Sigur R\xF3s";
const char kCafe[] = "Caf\xE9";
#else
const char kBjork[] = "Bj\xC3\xB6rk";
const char kSigurRos[] = "Sigur R\xC3\xB3s";
const char kCafe[] = "Caf\xC3\xA9";
#endif

struct PropertyCase {
    const char* file;
    bool v2;
    const char* property;
    const char* expected;
};

class TagProperty : public testing::TestWithParam<PropertyCase> {};

TEST_P(TagProperty, GivesTheFrameText) {
    QUORV_REQUIRE_MEDIA();
    const PropertyCase& c = GetParam();
    EXPECT_EQ(Mp3TagValue(TagContext(), MediaFile(c.file), c.v2, c.property), c.expected)
        << c.file << (c.v2 ? " mp3tagv2 " : " mp3tagv1 ") << c.property;
}

const PropertyCase kPropertyCases[] = {
    // Every mp3tagv1 property of an ID3v2 tag.
    {"v2.mp3", false, "Album", "Test Album"},
    {"v2.mp3", false, "Artist", "Test Artist"},
    {"v2.mp3", false, "Title", "Test Title"},
    {"v2.mp3", false, "Track", "3/12"},
    {"v2.mp3", false, "Year", "2003"},
    {"v2.mp3", false, "Comment", "Nice comment"},
    {"v2.mp3", false, "Genre", "Rock"},
    {"v2.mp3", false, "BitRate", "192kb"},
    {"v2.mp3", false, "Frequency", "44100hz"},
    // Every mp3tagv2 property.
    {"v2.mp3", true, "Composer", "Test Composer"},
    {"v2.mp3", true, "Copyright", "2003 Test Copyright"},
    {"v2.mp3", true, "Encodeby", "Test Encoder"},
    {"v2.mp3", true, "OrigArtist", "Original Artist"},
    {"v2.mp3", true, "Publisher", "Test Publisher"},
    {"v2.mp3", true, "Time", "1234"},
    {"v2.mp3", true, "Language", "eng"},
    {"v2.mp3", true, "SubTitle", "Test Subtitle"},
    {"unicode.mp3", true, "wwwuser", "http://example.com/user"},
    // The v1 table belongs to mp3tagv1 only, and the other way round.
    {"v2.mp3", true, "Artist", ""},
    {"v2.mp3", false, "Composer", ""},
    {"v2.mp3", false, "artist", ""},
    {"v2.mp3", false, "Nonsense", ""},
    // An ID3v1 tag alone: mp3tagv1 reads it, mp3tagv2 gives nothing.
    {"v1.mp3", false, "Artist", "V1 Artist"},
    {"v1.mp3", false, "Album", "V1 Album"},
    {"v1.mp3", false, "Title", "V1 Title"},
    {"v1.mp3", false, "Year", "1999"},
    {"v1.mp3", false, "Track", "7"},
    {"v1.mp3", false, "Comment", "V1 comment"},
    {"v1.mp3", false, "Genre", "Blues"},
    {"v1.mp3", false, "BitRate", "192kb"},
    {"v1.mp3", true, "Artist", ""},
    {"v1.mp3", true, "Composer", ""},
    // Both tags: the ID3v2 frames come first, ID3v1 fills in what v2 lacks.
    {"both.mp3", false, "Artist", "New V2 Artist"},
    {"both.mp3", false, "Title", "Both Title"},
    {"both.mp3", false, "Album", "Only In V1"},
    {"both.mp3", true, "Composer", "Both Composer"},
    // No tag: header values only.
    {"none.mp3", false, "Artist", ""},
    {"none.mp3", false, "Genre", ""},
    {"none.mp3", false, "BitRate", "192kb"},
    {"none.mp3", false, "Frequency", "44100hz"},
    {"none.mp3", true, "Composer", ""},
    {"cbr128_32k.mp3", false, "BitRate", "128kb"},
    {"cbr128_32k.mp3", false, "Frequency", "32000hz"},
    // Genre texts.
    {"genre1.mp3", false, "Genre", "Blues"},
    {"genre2.mp3", false, "Genre", "Dance"},
    {"genre3.mp3", false, "Genre", "Rock"},
    {"genre4.mp3", false, "Genre", "Synthpop"},
    {"genre5.mp3", false, "Genre", ""},
    {"genre6.mp3", false, "Genre", "Terror"},  // an extension past 125
    {"genre7.mp3", false, "Genre", "Remix"},
    {"genre8.mp3", false, "Genre", ""},
    // UTF-16 (both byte orders) and ISO-8859-1 frames in the program's text.
    {"unicode.mp3", false, "Artist", kBjork},
    {"unicode.mp3", false, "Title", kSigurRos},
    {"unicode.mp3", false, "Album", kCafe},
    // Files that are no MP3 at all, or are damaged: nothing, and no crash.
    // A tag cut short keeps the frames before the cut.
    {"truncated.mp3", false, "Artist", "Test Artist"},
    {"truncated.mp3", false, "Title", ""},
    {"cut_header.mp3", false, "Artist", ""},
    {"cut_header.mp3", false, "BitRate", ""},
    {"truncated.mp3", false, "BitRate", ""},
    {"truncated.mp3", true, "Composer", ""},
    {"text.mp3", false, "Artist", ""},
    {"text.mp3", false, "BitRate", ""},
    {"text.mp3", false, "Frequency", ""},
    // A compressed frame whose data does not inflate: that frame is lost,
    // the rest of the tag, the ID3v1 tag and the header are read.
    {"compressed.mp3", false, "Title", "Hidden Title"},
    {"compressed.mp3", false, "Artist", "Compressed V1 Artist"},
    {"compressed.mp3", false, "Genre", "Rock"},
    {"compressed.mp3", false, "BitRate", "192kb"},
    {"compressed.mp3", true, "Composer", ""},
    {"empty.mp3", false, "Title", ""},
    {"empty.mp3", false, "BitRate", ""},
    {"photo.jpg", false, "BitRate", ""},
    {"no such file.mp3", false, "Artist", ""},
    {"no such file.mp3", false, "BitRate", ""},
};

INSTANTIATE_TEST_SUITE_P(RealFiles, TagProperty, testing::ValuesIn(kPropertyCases));

TEST(TagFiles, VariableBitRateGivesTheAverage) {
    QUORV_REQUIRE_MEDIA();
    auto file = SystemTagReader().Open(MediaFile("vbr.mp3"));
    ASSERT_NE(file, nullptr);
    Mp3Header header;
    ASSERT_TRUE(file->HeaderInfo(header));
    ASSERT_NE(header.vbrBitRate, 0u) << "lame -V writes a header with the average rate";
    const std::string value = V1("vbr.mp3", "BitRate");
    EXPECT_EQ(value, std::to_string(header.vbrBitRate / 1000) + "kb");
    // The average of a VBR stream is no single frame's rate here: the
    // first frame of lame's output is its information frame.
    const int kbit = std::stoi(value);
    EXPECT_GT(kbit, 32);
    EXPECT_LT(kbit, 320);
}

TEST(TagFiles, OpenTellsAMissingFileFromAFileWithoutTags) {
    QUORV_REQUIRE_MEDIA();
    EXPECT_EQ(SystemTagReader().Open(MediaFile("no such file.mp3")), nullptr);
    auto none = SystemTagReader().Open(MediaFile("none.mp3"));
    ASSERT_NE(none, nullptr);
    EXPECT_FALSE(none->HasV2Tag());
    std::string text = "stale";
    EXPECT_FALSE(none->FrameText(TagField::Artist, text));
    EXPECT_EQ(text, "");
    auto v2 = SystemTagReader().Open(MediaFile("v2.mp3"));
    ASSERT_NE(v2, nullptr);
    EXPECT_TRUE(v2->HasV2Tag());
    auto v1 = SystemTagReader().Open(MediaFile("v1.mp3"));
    ASSERT_NE(v1, nullptr);
    EXPECT_FALSE(v1->HasV2Tag());
}

TEST(TagFiles, GenreNamesAreTheLibrarys) {
    // The engine keeps its own list so that it needs no tag library; it must
    // name every genre number exactly as the library does.
    ASSERT_EQ(ID3_NR_OF_V1_GENRES, 148);
    for (int n = 0; n < ID3_NR_OF_V1_GENRES; ++n) EXPECT_STREQ(Id3v1GenreName(n), ID3_v1_genre_description[n]) << n;
    EXPECT_EQ(Id3v1GenreName(ID3_NR_OF_V1_GENRES), nullptr);
}

TEST(TagFiles, FieldsOutsideTheEnumerationFindNothing) {
    QUORV_REQUIRE_MEDIA();
    auto v2 = SystemTagReader().Open(MediaFile("v2.mp3"));
    ASSERT_NE(v2, nullptr);
    std::string text;
    EXPECT_TRUE(v2->FrameText(TagField::Album, text));
    EXPECT_FALSE(v2->FrameText(static_cast<TagField>(kTagFieldCount), text));
    EXPECT_FALSE(v2->FrameText(static_cast<TagField>(200), text));
    EXPECT_FALSE(v2->FrameText(static_cast<TagField>(255), text));
}

TEST(TagFiles, TheTagIsReadAgainForEveryValue) {
    QUORV_REQUIRE_MEDIA();
    // A value reflects the file as it is now, not as an earlier read saw it.
    test::TempDir dir;
    const std::string song = dir.Child("song.mp3");
    const auto overwrite = std::filesystem::copy_options::overwrite_existing;
    std::filesystem::copy_file(std::filesystem::u8path(MediaFile("none.mp3")), std::filesystem::u8path(song), overwrite);
    EXPECT_EQ(Mp3TagValue(TagContext(), song, false, "Artist"), "");
    std::filesystem::copy_file(std::filesystem::u8path(MediaFile("v2.mp3")), std::filesystem::u8path(song), overwrite);
    EXPECT_EQ(Mp3TagValue(TagContext(), song, false, "Artist"), "Test Artist");
    // Reading never changes the file.
    const auto size = std::filesystem::file_size(std::filesystem::u8path(song));
    EXPECT_EQ(size, std::filesystem::file_size(std::filesystem::u8path(MediaFile("v2.mp3"))));
}

}  // namespace
}  // namespace quorv
