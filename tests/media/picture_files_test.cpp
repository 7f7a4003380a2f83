// Real pictures (drawn by ImageMagick) read and converted through the
// platform's picture reader: GDI+ on Windows. Natively there is no picture
// library: every picture reads as "no picture" and conversions fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/apply_rules.h"
#include "engine/media_values.h"
#include "platform/media.h"
#include "system/system.h"
#include "tests/media/media_files.h"
#include "tests/support/temp_dir.h"

namespace quorv {
namespace {

using test::MediaFile;

EngineContext PictureContext() {
    EngineContext ctx;
    ctx.pictures = &SystemPictureReader();
    ctx.fileSystem = &SystemFileSystem();
    return ctx;
}

std::string Value(const std::string& file, const std::string& property) {
    return PictureValue(PictureContext(), MediaFile(file), property);
}

bool Copy(const std::string& from, const std::string& to) {
    std::error_code ec;
    return std::filesystem::copy_file(std::filesystem::u8path(from), std::filesystem::u8path(to), ec) && !ec;
}

#ifdef _WIN32

struct PictureCase {
    const char* file;
    const char* resolution;
    const char* format;
    const char* colors;  // null: whatever the decoder chooses, as long as it is a known name
};

class PictureProperty : public testing::TestWithParam<PictureCase> {};

TEST_P(PictureProperty, ReadsSizeFormatAndPixelFormat) {
    QUORV_REQUIRE_MEDIA();
    const PictureCase& c = GetParam();
    EXPECT_EQ(Value(c.file, "resolution"), c.resolution) << c.file;
    EXPECT_EQ(Value(c.file, "format"), c.format) << c.file;
    if (c.colors != nullptr) {
        EXPECT_EQ(Value(c.file, "colors"), c.colors) << c.file;
    } else {
        EXPECT_NE(Value(c.file, "colors"), "") << c.file;
    }
}

const PictureCase kPictureCases[] = {
    {"photo.jpg", "640x480", "JPEG", "24bppRGB"},
    // The name is turned into UTF-16 through the ANSI code page (1252 here).
    {"Caf\xE9 photo.jpg", "640x480", "JPEG", "24bppRGB"},
    {"palette.png", "64x32", "PNG", "8bppIndexed"},
    {"mono.bmp", "33x17", "BMP", "1bppIndexed"},
    {"anim.gif", "40x30", "GIF", "8bppIndexed"},
    {"picture.tif", "50x40", "TIFF", nullptr},
    // No picture: "0x0" and nothing else.
    {"text.jpg", "0x0", "", ""},
    {"v2.mp3", "0x0", "", ""},
    {"no such picture.jpg", "0x0", "", ""},
};

INSTANTIATE_TEST_SUITE_P(RealFiles, PictureProperty, testing::ValuesIn(kPictureCases));

TEST(PictureFiles, ReaderReportsTheLibrarysValues) {
    QUORV_REQUIRE_MEDIA();
    PictureInfo info;
    ASSERT_TRUE(SystemPictureReader().Read(MediaFile("photo.jpg"), info));
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 480);
    EXPECT_EQ(info.format, PictureFormat::JPEG);
    EXPECT_EQ(info.pixelFormat, 0x21808);
    info.width = 5;
    EXPECT_FALSE(SystemPictureReader().Read(MediaFile("text.jpg"), info));
    EXPECT_EQ(info.width, 0);
    EXPECT_FALSE(SystemPictureReader().Read("", info));
}

struct ConversionCase {
    const char* source;
    const char* format;      // the rule's format name
    const char* extension;   // of the written file
    PictureFormat written;   // what the written file decodes as
    // Wine's GIF encoder takes only palette pixels (Windows reduces the
    // colours itself): there a true-colour picture to GIF is refused.
    bool mayBeRefused = false;
};

class Conversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, WritesADecodablePictureOfTheFormat) {
    QUORV_REQUIRE_MEDIA();
    const ConversionCase& c = GetParam();
    test::TempDir dir;
    const std::string source = dir.Child(std::string("in ") + c.source);
    ASSERT_TRUE(Copy(MediaFile(c.source), source));
    PictureInfo before;
    ASSERT_TRUE(SystemPictureReader().Read(source, before));
    const auto sourceSize = std::filesystem::file_size(source);

    const std::string target = dir.Child("out.name") + "?conpic" + c.format;
    const bool converted = ConvertPicture(PictureContext(), source, target);
    const std::string written = dir.Child(std::string("out.") + c.extension);
    if (!converted && c.mayBeRefused) {
        // Refused: then nothing may be left behind either.
        EXPECT_FALSE(std::filesystem::exists(written));
        GTEST_SKIP() << "this imaging library cannot write " << c.source << " as " << c.format;
    }
    ASSERT_TRUE(converted) << c.source << " to " << c.format;

    PictureInfo after;
    ASSERT_TRUE(SystemPictureReader().Read(written, after)) << written;
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.height, before.height);
    EXPECT_EQ(after.format, c.written);
    EXPECT_NE(PixelFormatName(after.pixelFormat), std::string());
    // The source is still there, unchanged.
    EXPECT_EQ(std::filesystem::file_size(source), sourceSize);
    // And nothing else was written.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

const ConversionCase kConversionCases[] = {
    {"photo.jpg", "PNG", "png", PictureFormat::PNG},
    {"photo.jpg", "BMP", "bmp", PictureFormat::BMP},
    {"photo.jpg", "GIF", "gif", PictureFormat::GIF, true},
    {"photo.jpg", "TIFF", "tif", PictureFormat::TIFF},
    {"palette.png", "JPG", "jpg", PictureFormat::JPEG},
    {"palette.png", "GIF", "gif", PictureFormat::GIF},
    {"mono.bmp", "PNG", "png", PictureFormat::PNG},
    {"anim.gif", "BMP", "bmp", PictureFormat::BMP},
    {"picture.tif", "JPG", "jpg", PictureFormat::JPEG},
};

INSTANTIATE_TEST_SUITE_P(RealFiles, Conversion, testing::ValuesIn(kConversionCases));

TEST(PictureFiles, ConversionFailuresWriteNothing) {
    QUORV_REQUIRE_MEDIA();
    test::TempDir dir;
    const std::string photo = dir.Child("photo.jpg");
    const std::string text = dir.Child("text.jpg");
    ASSERT_TRUE(Copy(MediaFile("photo.jpg"), photo));
    ASSERT_TRUE(Copy(MediaFile("text.jpg"), text));
    const EngineContext ctx = PictureContext();
    // No encoder for the name.
    EXPECT_FALSE(ConvertPicture(ctx, photo, dir.Child("a.jpg?conpicWEBP")));
    // Not a picture.
    EXPECT_FALSE(ConvertPicture(ctx, text, dir.Child("b.jpg?conpicPNG")));
    // A folder that does not exist.
    EXPECT_FALSE(ConvertPicture(ctx, photo, dir.Child("missing\\c.jpg?conpicPNG")));
    // Onto the source itself (JPG to JPG under the same name).
    EXPECT_FALSE(ConvertPicture(ctx, photo, photo + "?conpicJPG"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2);
    PictureInfo info;
    EXPECT_TRUE(SystemPictureReader().Read(photo, info));
    EXPECT_EQ(info.width, 640);
}

#else  // no picture library natively

TEST(PictureFiles, NativelyEveryFileIsNoPicture) {
    QUORV_REQUIRE_MEDIA();
    EXPECT_EQ(Value("photo.jpg", "resolution"), "0x0");
    EXPECT_EQ(Value("photo.jpg", "format"), "");
    EXPECT_EQ(Value("photo.jpg", "colors"), "");
}

TEST(PictureFiles, NativelyConversionFailsAndWritesNothing) {
    QUORV_REQUIRE_MEDIA();
    test::TempDir dir;
    const std::string photo = dir.Child("photo.jpg");
    ASSERT_TRUE(Copy(MediaFile("photo.jpg"), photo));
    EXPECT_FALSE(ConvertPicture(PictureContext(), photo, dir.Child("out.jpg?conpicPNG")));
    EXPECT_FALSE(std::filesystem::exists(dir.Child("out.png")));
    EXPECT_TRUE(std::filesystem::exists(photo));
}

#endif

}  // namespace
}  // namespace quorv
