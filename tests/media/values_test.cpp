// The media values and the picture conversion with stand-in readers: the
// engine's rules on top of whatever the libraries report.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/apply_rules.h"
#include "engine/media_values.h"
#include "tests/support/memory_filesystem.h"

namespace quorv {
namespace {

// ----------------------------------------------------------------- tags
struct FakeTag {
    bool exists = true;
    bool hasV2 = true;
    std::map<TagField, std::string> frames;
    bool hasHeader = false;
    Mp3Header header;
    bool throwOnRead = false;
};

class FakeTagFile : public TagFile {
public:
    explicit FakeTagFile(const FakeTag& tag) : tag_(tag) {}
    bool HasV2Tag() const override { return tag_.hasV2; }
    bool FrameText(TagField field, std::string& text) const override {
        if (tag_.throwOnRead) throw std::runtime_error("damaged");
        auto it = tag_.frames.find(field);
        if (it == tag_.frames.end()) return false;
        text = it->second;
        return true;
    }
    bool HeaderInfo(Mp3Header& out) const override {
        if (!tag_.hasHeader) return false;
        out = tag_.header;
        return true;
    }

private:
    FakeTag tag_;
};

class FakeTagReader : public TagReader {
public:
    std::unique_ptr<TagFile> Open(const std::string& path) override {
        ++opens;
        lastPath = path;
        if (!tag.exists) return nullptr;
        return std::make_unique<FakeTagFile>(tag);
    }
    FakeTag tag;
    int opens = 0;
    std::string lastPath;
};

struct TagFixture : testing::Test {
    std::string V1(const std::string& property) { return Mp3TagValue(Context(), "song.mp3", false, property); }
    std::string V2(const std::string& property) { return Mp3TagValue(Context(), "song.mp3", true, property); }
    EngineContext Context() {
        EngineContext ctx;
        ctx.tags = &tags;
        return ctx;
    }
    FakeTagReader tags;
};

TEST_F(TagFixture, PropertiesReadTheirFrames) {
    struct Case {
        bool v2;
        const char* property;
        TagField frame;
    };
    const Case cases[] = {
        {false, "Album", TagField::Album},     {false, "Artist", TagField::Artist},     {false, "Title", TagField::Title},   {false, "Track", TagField::Track},
        {false, "Year", TagField::Year},      {false, "Comment", TagField::Comment},     {true, "Composer", TagField::Composer}, {true, "Copyright", TagField::Copyright},
        {true, "Encodeby", TagField::EncodedBy},   {true, "OrigArtist", TagField::OriginalArtist},  {true, "wwwuser", TagField::UserLink},  {true, "Publisher", TagField::Publisher},
        {true, "Time", TagField::Time},       {true, "Language", TagField::Language},    {true, "SubTitle", TagField::SubTitle},
    };
    for (const Case& c : cases) {
        tags.tag.frames.clear();
        tags.tag.frames[c.frame] = std::string("text of ") + c.property;
        EXPECT_EQ(Mp3TagValue(Context(), "song.mp3", c.v2, c.property), std::string("text of ") + c.property)
            << c.property;
        // The same name in the other kind's table is no property there.
        EXPECT_EQ(Mp3TagValue(Context(), "song.mp3", !c.v2, c.property), "") << c.property;
    }
}

TEST_F(TagFixture, Mp3tagv2NeedsAnId3v2Tag) {
    tags.tag.hasV2 = false;
    tags.tag.frames[TagField::Composer] = "Composer from a merged tag";
    tags.tag.frames[TagField::Artist] = "Artist";
    EXPECT_EQ(V2("Composer"), "");
    EXPECT_EQ(V1("Artist"), "Artist");
    tags.tag.hasV2 = true;
    EXPECT_EQ(V2("Composer"), "Composer from a merged tag");
}

TEST_F(TagFixture, UnknownPropertiesNeverOpenTheFile) {
    EXPECT_EQ(V1("artist"), "");
    EXPECT_EQ(V1(""), "");
    EXPECT_EQ(V2("Genre"), "");
    EXPECT_EQ(V2("BitRate"), "");
    EXPECT_EQ(tags.opens, 0);
    EXPECT_EQ(V1("Artist"), "");
    EXPECT_EQ(tags.opens, 1);
    EXPECT_EQ(tags.lastPath, "song.mp3");
}

TEST_F(TagFixture, MissingFileOrFrameGivesNothing) {
    tags.tag.exists = false;
    EXPECT_EQ(V1("Artist"), "");
    EXPECT_EQ(V1("BitRate"), "");
    EXPECT_EQ(V2("Composer"), "");
    tags.tag.exists = true;
    EXPECT_EQ(V1("Artist"), "");
    EXPECT_EQ(V1("Genre"), "");
    EXPECT_EQ(V1("BitRate"), "");
    EXPECT_EQ(V1("Frequency"), "");
}

TEST_F(TagFixture, AReaderThatThrowsAddsNothing) {
    tags.tag.frames[TagField::Artist] = "x";
    tags.tag.throwOnRead = true;
    EXPECT_EQ(V1("Artist"), "");
    EXPECT_EQ(V1("Genre"), "");
}

TEST_F(TagFixture, NoReaderAddsNothing) {
    EngineContext ctx;
    EXPECT_EQ(Mp3TagValue(ctx, "song.mp3", false, "Artist"), "");
}

TEST_F(TagFixture, BitRatePrefersTheAverageOfAVariableRate) {
    struct Case {
        std::uint32_t bitRate, vbr;
        const char* expected;
    };
    const Case cases[] = {
        {128000, 0, "128kb"},     {192000, 0, "192kb"},      {128000, 201456, "201kb"},
        {320000, 999, ""},        // below 1 kbit/s: nothing to write
        {0, 0, ""},               // a free-format stream reports no rate
        {8000, 0, "8kb"},         {128999, 0, "128kb"},      // the remainder is dropped
        {4294967295u, 0, "4294967kb"},
    };
    tags.tag.hasHeader = true;
    for (const Case& c : cases) {
        tags.tag.header = Mp3Header{};
        tags.tag.header.bitRate = c.bitRate;
        tags.tag.header.vbrBitRate = c.vbr;
        tags.tag.header.frequency = 44100;
        EXPECT_EQ(V1("BitRate"), c.expected) << c.bitRate << " " << c.vbr;
    }
}

TEST_F(TagFixture, Frequency) {
    tags.tag.hasHeader = true;
    tags.tag.header.frequency = 48000;
    EXPECT_EQ(V1("Frequency"), "48000hz");
    tags.tag.header.frequency = 22050;
    EXPECT_EQ(V1("Frequency"), "22050hz");
    tags.tag.header.frequency = 0;
    EXPECT_EQ(V1("Frequency"), "");
}

TEST_F(TagFixture, GenreComesFromTheContentTypeFrame) {
    tags.tag.frames[TagField::Genre] = "(17)";
    EXPECT_EQ(V1("Genre"), "Rock");
    tags.tag.frames.erase(TagField::Genre);
    EXPECT_EQ(V1("Genre"), "");  // no frame is no genre, not genre 0
}

TEST(GenreRule, Table) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"(17)", "Rock"},
        {"17", "Rock"},
        {"0", "Blues"},
        {"(0)", "Blues"},
        {"(3)", "Dance"},
        {"(1)", "Classic Rock"},
        {"(2)", "Country"},
        {"(79)", "Hard Rock"},
        {"(80)", "Folk"},           // the common extensions begin here
        {"(125)", "Dance Hall"},
        {"(126)", "Goa"},           // and go on in the library's list
        {"(147)", "Synthpop"},
        {"(148)", ""},              // past the list
        {"(200)", ""},
        {"(99999999999999999999)", ""},
        {"(17)Rock", "Rock"},
        {"(4)Eurodisco", "Disco"},
        {"((17))", "Rock"},
        {"()17", "Rock"},
        {"( 17)", "Rock"},          // the number rule allows leading white space
        {"+17", "Rock"},
        {"-1", ""},
        {"(-3)", ""},
        {"Rock", "Rock"},           // a plain genre name stands
        {"Synthpop", "Synthpop"},
        {"Trip-Hop", "Trip-Hop"},
        {"(RX)", "Remix"},
        {"(CR)", "Cover"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(GenreFromFrameText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(GenreRule, LibraryListEnds) {
    EXPECT_STREQ(Id3v1GenreName(0), "Blues");
    EXPECT_STREQ(Id3v1GenreName(125), "Dance Hall");
    EXPECT_NE(Id3v1GenreName(147), nullptr);
    EXPECT_EQ(Id3v1GenreName(148), nullptr);
    EXPECT_EQ(Id3v1GenreName(-1), nullptr);
}

// ------------------------------------------------------------- pictures
class FakePictureReader : public PictureReader {
public:
    bool Read(const std::string& path, PictureInfo& out) override {
        ++reads;
        if (!loads) {
            out = PictureInfo{};
            return false;
        }
        out = info;
        return true;
    }
    bool Save(const std::string& source, const std::string& target, const std::string& mimeType) override {
        saves.push_back({source, target, mimeType});
        return saveResult;
    }
    struct SaveCall {
        std::string source, target, mime;
    };
    bool loads = true;
    bool saveResult = true;
    PictureInfo info;
    int reads = 0;
    std::vector<SaveCall> saves;
};

struct PictureFixture : testing::Test {
    EngineContext Context() {
        EngineContext ctx;
        ctx.pictures = &pictures;
        ctx.fileSystem = &files;
        return ctx;
    }
    std::string Value(const std::string& property) { return PictureValue(Context(), "C:\\in\\p.jpg", property); }
    FakePictureReader pictures;
    test::MemoryFileSystem files{'\\'};
};

TEST_F(PictureFixture, Resolution) {
    pictures.info.width = 640;
    pictures.info.height = 480;
    EXPECT_EQ(Value("resolution"), "640x480");
    pictures.info.width = 1;
    pictures.info.height = 70000;
    EXPECT_EQ(Value("resolution"), "1x70000");
    pictures.loads = false;
    EXPECT_EQ(Value("resolution"), "0x0");
    EXPECT_EQ(Value("format"), "");
    EXPECT_EQ(Value("colors"), "");
}

TEST_F(PictureFixture, UnknownPropertiesReadNothing) {
    EXPECT_EQ(Value("Resolution"), "");
    EXPECT_EQ(Value("size"), "");
    EXPECT_EQ(Value(""), "");
    EXPECT_EQ(pictures.reads, 0);
    EngineContext none;
    EXPECT_EQ(PictureValue(none, "p.jpg", "resolution"), "0x0");
    EXPECT_EQ(PictureValue(none, "p.jpg", "format"), "");
}

TEST_F(PictureFixture, FormatNames) {
    struct Case {
        PictureFormat format;
        const char* name;
    };
    const Case cases[] = {
        {PictureFormat::JPEG, "JPEG"}, {PictureFormat::BMP, "BMP"},   {PictureFormat::PNG, "PNG"},
        {PictureFormat::GIF, "GIF"},   {PictureFormat::TIFF, "TIFF"}, {PictureFormat::EXIF, "EXIF"},
        {PictureFormat::Icon, "Icon"}, {PictureFormat::EMF, "EMF"},   {PictureFormat::WMF, "WMF"},
        {PictureFormat::MemoryBMP, "MemoryBMP"}, {PictureFormat::Undefined, "Undefined"},
        {PictureFormat::Other, ""},
    };
    for (const Case& c : cases) {
        pictures.info.format = c.format;
        EXPECT_EQ(Value("format"), c.name);
    }
}

TEST_F(PictureFixture, PixelFormatNames) {
    struct Case {
        std::int32_t value;
        const char* name;
    };
    // The imaging library's own values for its pixel formats.
    const Case cases[] = {
        {0x30101, "1bppIndexed"},     {0x30402, "4bppIndexed"},   {0x30803, "8bppIndexed"},
        {0x101004, "16bppGrayScale"}, {0x21005, "16bppRGB555"},   {0x21006, "16bppRGB565"},
        {0x61007, "16bppARGB1555"},   {0x21808, "24bppRGB"},      {0x22009, "32bppRGB"},
        {0x26200A, "32bppARGB"},      {0xE200B, "32bppPARGB"},    {0x10300C, "48bppRGB"},
        {0x34400D, "64bppARGB"},      {0x1A400E, "64bppPARGB"},   {15, "Max"},
        {0, ""},                      {0x21807, ""},              {0x2000, ""},   // indexed flag alone
        {-1, ""},
    };
    for (const Case& c : cases) {
        pictures.info.pixelFormat = c.value;
        EXPECT_EQ(Value("colors"), c.name) << std::hex << c.value;
    }
}

// ------------------------------------------------------------ conversion
TEST(ConvertedPath, Table) {
    struct Case {
        const char* target;
        const char* format;
        char separator;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\out\\xphoto.jpg", "PNG", '\\', "C:\\out\\xphoto.png"},
        {"D:\\pics\\scan.tiff", "JPG", '\\', "D:\\pics\\scan.jpg"},
        {"D:\\pics\\scan.jpg", "TIFF", '\\', "D:\\pics\\scan.tif"},
        {"D:\\pics\\scan.jpg", "BMP", '\\', "D:\\pics\\scan.bmp"},
        {"D:\\pics\\scan.jpg", "GIF", '\\', "D:\\pics\\scan.gif"},
        {"D:\\pics\\a.b.c", "PNG", '\\', "D:\\pics\\a.b.png"},
        {"D:\\pics\\scan.", "PNG", '\\', "D:\\pics\\scan.png"},
        // A file name without a dot keeps its name and gets the extension,
        // whatever dots the folders have.
        {"D:\\my.pics\\scan", "PNG", '\\', "D:\\my.pics\\scan.png"},
        {"D:/my.pics/scan", "PNG", '\\', "D:/my.pics/scan.png"},
        {"C:scan", "PNG", '\\', "C:scan.png"},
        {"scan", "PNG", '\\', "scan.png"},
        {"/home/me/my.pics/scan", "JPG", '/', "/home/me/my.pics/scan.jpg"},
        {"/home/me/photo.jpeg", "PNG", '/', "/home/me/photo.png"},
        // No file name at all, or no such format: nothing to write.
        {"D:\\pics\\", "PNG", '\\', ""},
        {"", "PNG", '\\', ""},
        {"D:\\pics\\scan.jpg", "png", '\\', ""},
        {"D:\\pics\\scan.jpg", "WEBP", '\\', ""},
        {"D:\\pics\\scan.jpg", "", '\\', ""},
        {"D:\\pics\\scan.jpg", "JPEG", '\\', ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertedPicturePath(c.target, c.format, c.separator), c.expected) << c.target << " " << c.format;
    }
}

TEST(ConvertedPath, MimeTypes) {
    EXPECT_STREQ(ConversionMimeType("JPG"), "image/jpeg");
    EXPECT_STREQ(ConversionMimeType("BMP"), "image/bmp");
    EXPECT_STREQ(ConversionMimeType("GIF"), "image/gif");
    EXPECT_STREQ(ConversionMimeType("PNG"), "image/png");
    EXPECT_STREQ(ConversionMimeType("TIFF"), "image/tiff");
    EXPECT_EQ(ConversionMimeType("Jpg"), nullptr);
    EXPECT_EQ(ConversionMimeType("TIF"), nullptr);
    EXPECT_EQ(ConversionMimeType("PNG "), nullptr);
}

TEST_F(PictureFixture, ConvertSavesThroughTheEncoderOfTheFormat) {
    files.AddFile("D:\\in\\photo.jpg", "picture");
    files.AddFolder("C:\\out");
    EXPECT_TRUE(ConvertPicture(Context(), "D:\\in\\photo.jpg", "C:\\out\\xphoto.jpg?conpicPNG"));
    ASSERT_EQ(pictures.saves.size(), 1u);
    EXPECT_EQ(pictures.saves[0].source, "D:\\in\\photo.jpg");
    EXPECT_EQ(pictures.saves[0].target, "C:\\out\\xphoto.png");
    EXPECT_EQ(pictures.saves[0].mime, "image/png");
    // The source is left alone.
    EXPECT_TRUE(files.Exists("D:\\in\\photo.jpg"));
}

TEST_F(PictureFixture, ConvertReportsTheSave) {
    pictures.saveResult = false;
    EXPECT_FALSE(ConvertPicture(Context(), "D:\\in\\photo.jpg", "D:\\in\\photo.jpg?conpicGIF"));
    ASSERT_EQ(pictures.saves.size(), 1u);
    EXPECT_EQ(pictures.saves[0].target, "D:\\in\\photo.gif");
    EXPECT_EQ(pictures.saves[0].mime, "image/gif");
}

TEST_F(PictureFixture, ConvertWithoutAMarkerOrAnEncoderDoesNothing) {
    const char* targets[] = {
        "D:\\in\\photo.jpg",               // no marker
        "?conpicPNG",                      // marker at the very start
        "D:\\in\\photo.jpg?conpicWEBP",    // no encoder for the name
        "D:\\in\\photo.jpg?conpicpng",     // names compare exactly
        "D:\\in\\photo.jpg?conpic",        // no name
        "D:\\in\\?conpicPNG",              // no file name
        "D:\\in\\photo.jpg?conpicPNGx",
    };
    for (const char* t : targets) EXPECT_FALSE(ConvertPicture(Context(), "D:\\in\\photo.jpg", t)) << t;
    EXPECT_TRUE(pictures.saves.empty());
    EngineContext none;
    EXPECT_FALSE(ConvertPicture(none, "D:\\in\\photo.jpg", "D:\\in\\photo.jpg?conpicPNG"));
}

TEST_F(PictureFixture, ConvertUsesTheFirstMarker) {
    EXPECT_TRUE(ConvertPicture(Context(), "D:\\in\\a.jpg", "D:\\in\\a.jpg?conpicGIF"));
    ASSERT_EQ(pictures.saves.size(), 1u);
    EXPECT_EQ(pictures.saves[0].mime, "image/gif");
}

TEST_F(PictureFixture, ConvertNeverWritesOverAnExistingFile) {
    files.AddFile("D:\\in\\photo.png", "the source itself");
    files.AddFile("D:\\in\\other.jpg", "a picture");
    files.AddFile("D:\\in\\other.png", "an unrelated file that is already there");
    // Converting a PNG to PNG under its own name would replace the source.
    EXPECT_FALSE(ConvertPicture(Context(), "D:\\in\\photo.png", "D:\\in\\photo.png?conpicPNG"));
    EXPECT_FALSE(ConvertPicture(Context(), "D:\\in\\other.jpg", "D:\\in\\other.jpg?conpicPNG"));
    // Names ignore letter case on Windows.
    EXPECT_FALSE(ConvertPicture(Context(), "D:\\in\\other.jpg", "D:\\in\\OTHER.jpg?conpicPNG"));
    EXPECT_TRUE(pictures.saves.empty());
}

}  // namespace
}  // namespace quorv
