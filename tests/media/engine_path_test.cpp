// The whole path a run takes: ApplyRules with the platform's own context
// (id3lib, GDI+ on Windows, the real file system) on real files, then the
// conversion of the returned path.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/apply_rules.h"
#include "system/system.h"
#include "tests/media/media_files.h"
#include "tests/support/temp_dir.h"

namespace quorv {
namespace {

using test::MediaDir;
using test::MediaFile;

std::string Apply(const std::string& file, const std::vector<std::string>& rules) {
    return ApplyRules(EngineContextOf(SystemServices()), MediaFile(file), 1, rules);
}

TEST(EnginePath, TagValuesGoIntoTheName) {
    QUORV_REQUIRE_MEDIA();
    EXPECT_EQ(Apply("v2.mp3", {"FILENAME PREFIX mp3tagv1 property:Artist"}), MediaDir() + "Test Artistv2.mp3");
    EXPECT_EQ(Apply("v1.mp3", {"FILENAME PREFIX mp3tagv1 property:Artist"}), MediaDir() + "V1 Artistv1.mp3");
    EXPECT_EQ(Apply("v2.mp3", {"FILENAME SUFFIX mp3tagv1 property:BitRate"}), MediaDir() + "v2192kb.mp3");
    EXPECT_EQ(Apply("genre2.mp3", {"FILENAME PREFIX mp3tagv1 property:Genre"}), MediaDir() + "Dancegenre2.mp3");
    EXPECT_EQ(Apply("v2.mp3", {"FILENAME SUFFIX mp3tagv2 property:Composer"}), MediaDir() + "v2Test Composer.mp3");
    // mp3tagv2 on a file with only an ID3v1 tag adds nothing.
    EXPECT_EQ(Apply("v1.mp3", {"FILENAME SUFFIX mp3tagv2 property:Composer"}), MediaDir() + "v1.mp3");
    EXPECT_EQ(Apply("text.mp3", {"FILENAME PREFIX mp3tagv1 property:Artist"}), MediaDir() + "text.mp3");
}

#ifdef _WIN32

TEST(EnginePath, PicturePropertiesGoIntoTheName) {
    QUORV_REQUIRE_MEDIA();
    EXPECT_EQ(Apply("photo.jpg", {"FILENAME SUFFIX image property:resolution"}), MediaDir() + "photo640x480.jpg");
    EXPECT_EQ(Apply("photo.jpg", {"FILENAME PREFIX image property:format", "FILENAME SUFFIX image property:colors"}),
              MediaDir() + "JPEGphoto24bppRGB.jpg");
    EXPECT_EQ(Apply("text.jpg", {"FILENAME SUFFIX image property:resolution"}), MediaDir() + "text0x0.jpg");
}

TEST(EnginePath, ConversionIntoTheDestinationFolder) {
    QUORV_REQUIRE_MEDIA();
    test::TempDir in, out;
    const std::string photo = in.Child("photo.jpg");
    std::error_code ec;
    ASSERT_TRUE(std::filesystem::copy_file(MediaFile("photo.jpg"), photo, ec));
    const EngineContext ctx = EngineContextOf(SystemServices());
    const std::string target =
        ApplyRules(ctx, photo, 1, {"FILENAME PREFIX \"x\"", "DESTDIR " + out.path() + "\\", "PICCONVERT PNG"});
    EXPECT_EQ(target, out.path() + "\\xphoto.jpg?conpicPNG");
    ASSERT_TRUE(ConvertPicture(ctx, photo, target));
    PictureInfo info;
    ASSERT_TRUE(SystemPictureReader().Read(out.Child("xphoto.png"), info));
    EXPECT_EQ(info.format, PictureFormat::PNG);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 480);
    EXPECT_TRUE(std::filesystem::exists(photo));
    // TIFF writes the extension "tif".
    const std::string tiff = ApplyRules(ctx, photo, 1, {"PICCONVERT TIFF"});
    ASSERT_TRUE(ConvertPicture(ctx, photo, tiff));
    ASSERT_TRUE(SystemPictureReader().Read(in.Child("photo.tif"), info));
    EXPECT_EQ(info.format, PictureFormat::TIFF);
}

#endif

}  // namespace
}  // namespace quorv
