// Tags and pictures under the ANSI code page 932 (run by the media_tests_cp932
// test of the Windows build; skipped under any other code page).
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "engine/media_values.h"
#include "platform/media.h"
#include "system/system.h"
#include "tests/media/media_files.h"

namespace quorv {
namespace {

using test::MediaFile;

// U+8868 in code page 932: a lead byte and a trail byte that is '\\'.
const char kHyo[] = "\x95\x5C";

class CodePage932 : public testing::Test {
protected:
    void SetUp() override {
        if (GetACP() != 932) GTEST_SKIP() << "runs under the ANSI code page 932 only";
        QUORV_REQUIRE_MEDIA();
    }
    EngineContext Context() {
        EngineContext ctx;
        ctx.tags = &SystemTagReader();
        ctx.pictures = &SystemPictureReader();
        return ctx;
    }
};

TEST_F(CodePage932, Utf16FrameTextBecomesDoubleByteText) {
    EXPECT_EQ(Mp3TagValue(Context(), MediaFile("unicode.mp3"), true, "Composer"), kHyo);
}

TEST_F(CodePage932, FilesWithDoubleByteNamesAreRead) {
    EXPECT_EQ(Mp3TagValue(Context(), MediaFile(std::string(kHyo) + ".mp3"), false, "Artist"), "Test Artist");
    EXPECT_EQ(PictureValue(Context(), MediaFile(std::string(kHyo) + ".jpg"), "resolution"), "640x480");
    EXPECT_EQ(PictureValue(Context(), MediaFile(std::string(kHyo) + ".jpg"), "format"), "JPEG");
}

}  // namespace
}  // namespace quorv
#endif
