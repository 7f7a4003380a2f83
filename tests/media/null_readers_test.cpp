// The readers used where no library is present report "no tag" / "no picture".
#include <gtest/gtest.h>

#include "platform/media.h"

namespace quorv {
namespace {

TEST(NullReaders, FindNothing) {
    auto tags = MakeNullTagReader();
    EXPECT_EQ(tags->Open("anything.mp3"), nullptr);
    auto pictures = MakeNullPictureReader();
    PictureInfo info;
    info.width = 7;
    EXPECT_FALSE(pictures->Read("anything.jpg", info));
    EXPECT_EQ(info.width, 0);
    EXPECT_FALSE(pictures->Save("a.jpg", "b.png", "image/png"));
}

}  // namespace
}  // namespace quorv
