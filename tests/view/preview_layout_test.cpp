// The quick preview's arithmetic: the pane in its frame, picture fitting,
// and the choice of view by file name.
#include "view/preview_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace quorv {
namespace {

TEST(PreviewPane, InsetInTheFrame) {
    EXPECT_EQ(PreviewPaneRect({100, 50, 320, 250}), (Rect{104, 66, 316, 246}));
    // A frame too small for the insets gives an empty pane, never an inside-out one.
    const Rect tiny = PreviewPaneRect({0, 0, 6, 10});
    EXPECT_EQ(tiny.width(), 0);
    EXPECT_EQ(tiny.height(), 0);
}

struct FitCase {
    int w, h;
    Rect area;
    Rect drawn;
};

TEST(PreviewFit, ReducedToFitCentredNeverEnlarged) {
    const FitCase cases[] = {
        // landscape, larger than the area: full width, centred vertically
        {400, 200, {0, 0, 200, 150}, {0, 25, 200, 125}},
        // portrait, larger: full height, centred horizontally
        {200, 400, {0, 0, 200, 150}, {62, 0, 137, 150}},
        // smaller than the area: its own size, centred
        {50, 30, {0, 0, 200, 150}, {75, 60, 125, 90}},
        {200, 150, {10, 20, 210, 170}, {10, 20, 210, 170}},
        // square in a wide area: limited by the height, still square
        {1000, 1000, {0, 0, 200, 150}, {25, 0, 175, 150}},
        // landscape in a still wider area: limited by the height, proportions kept
        {240, 200, {0, 0, 200, 100}, {40, 0, 160, 100}},
        // portrait in a taller area: limited by the width
        {900, 1000, {0, 0, 100, 1000}, {0, 444, 100, 555}},
        // wider than the area but not taller
        {300, 50, {0, 0, 200, 150}, {0, 58, 200, 91}},
        // truncation, not rounding, of the share; odd spare space halved downwards
        {300, 200, {5, 5, 205, 205}, {5, 38, 205, 171}},
        // 110 x 100 in 110 x 50: exactly half, computed without floating point
        {110, 100, {0, 0, 110, 50}, {27, 0, 82, 50}},
        // a thin line keeps at least one pixel
        {10000, 1, {0, 0, 100, 100}, {0, 49, 100, 50}},
    };
    for (const auto& c : cases) {
        const Rect r = FitPicture(c.w, c.h, c.area);
        EXPECT_EQ(r, c.drawn) << c.w << "x" << c.h << " -> " << r.left << "," << r.top << "," << r.right << ","
                              << r.bottom;
        // Never outside the area, never larger than the picture.
        EXPECT_GE(r.left, c.area.left);
        EXPECT_GE(r.top, c.area.top);
        EXPECT_LE(r.right, c.area.right);
        EXPECT_LE(r.bottom, c.area.bottom);
        EXPECT_LE(r.width(), c.w);
        EXPECT_LE(r.height(), c.h);
    }
}

TEST(PreviewFit, NoPictureOrNoAreaDrawsNothing) {
    for (const auto& size : {std::pair<int, int>{0, 100}, {100, 0}, {-5, 10}}) {
        const Rect r = FitPicture(size.first, size.second, {3, 4, 200, 150});
        EXPECT_EQ(r, (Rect{3, 4, 3, 4}));
    }
    EXPECT_EQ(FitPicture(100, 100, {10, 10, 10, 90}), (Rect{10, 10, 10, 10}));
    EXPECT_EQ(FitPicture(100, 100, {10, 10, 5, 90}), (Rect{10, 10, 10, 10}));
}

TEST(PreviewChoice, ByTheLowerCasedExtension) {
    const std::pair<const char*, PreviewKind> cases[] = {
        {"C:\\a\\photo.jpg", PreviewKind::Picture},
        {"C:\\a\\Photo.JPG", PreviewKind::Picture},
        {"C:\\a\\x.jpeg", PreviewKind::Picture},
        {"C:\\a\\x.gif", PreviewKind::Picture},
        {"C:\\a\\x.Bmp", PreviewKind::Picture},
        // The key begins with its dot, so it only matches a whole entry...
        {"C:\\a\\x.peg", PreviewKind::None},
        {"C:\\a\\x.mvb", PreviewKind::None},
        // ...while a name without a dot is searched whole and may match inside one.
        {"peg", PreviewKind::Picture},
        {"mvb", PreviewKind::RealPlayer},
        {"C:\\a\\x.png", PreviewKind::None},
        {"C:\\a\\song.mp3", PreviewKind::MediaPlayer},
        {"C:\\a\\clip.WMV", PreviewKind::MediaPlayer},
        {"C:\\a\\x.cda", PreviewKind::MediaPlayer},
        {"C:\\a\\x.vob", PreviewKind::MediaPlayer},
        {"C:\\a\\x.midi", PreviewKind::MediaPlayer},
        {"C:\\a\\x.mid", PreviewKind::MediaPlayer},
        {"C:\\a\\x.m", PreviewKind::None},
        {"C:\\a\\film.rm", PreviewKind::RealPlayer},
        {"C:\\a\\film.mov", PreviewKind::RealPlayer},
        {"C:\\a\\film.rv", PreviewKind::RealPlayer},
        {"C:\\a\\movie.swf", PreviewKind::Flash},
        {"C:\\a\\movie.SWF", PreviewKind::Flash},
        {"C:\\a\\movie.sw", PreviewKind::None},  // Flash is compared whole
        {"C:\\a\\movie.wf", PreviewKind::None},
        {"C:\\a\\README", PreviewKind::None},
        {"C:\\a.jpg\\README", PreviewKind::None},
        {"C:\\a\\photo.", PreviewKind::None},
        {"", PreviewKind::None},
    };
    for (const auto& c : cases) EXPECT_EQ(ChoosePreview(c.first), c.second) << c.first;
}

TEST(PreviewChoice, Keys) {
    EXPECT_EQ(PreviewKey("C:\\a\\Photo.JPG"), ".jpg;");
    EXPECT_EQ(PreviewKey("C:\\a\\x.tar.GZ"), ".gz;");
    EXPECT_EQ(PreviewKey("C:\\A\\README"), "c:\\a\\readme;");
    EXPECT_EQ(PreviewKey(""), ";");
}

}  // namespace
}  // namespace quorv
