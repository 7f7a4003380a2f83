// The windows' arithmetic at the display scales Windows offers: 100 %,
// 125 %, 150 % and 200 % (96, 120, 144 and 192 DPI). The pixel sizes of the
// windows are given for 96 DPI; at a scale every one grows with it, the
// colours stay.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/resource.h"
#include "system/system.h"
#include "view/main_layout.h"
#include "view/preview_layout.h"
#include "view/settings_file.h"
#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv {
namespace {

std::string Show(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(Scale, LengthsRoundToTheNearestPixelWithHalvesUp) {
    struct Case {
        int dpi;
        int length;
        int pixels;
    };
    const Case cases[] = {
        {96, 26, 26},   {120, 26, 33},  {144, 26, 39},  {192, 26, 52},   // the title bar
        {96, 1, 1},     {120, 1, 1},    {144, 1, 2},    {192, 1, 2},     // a line
        {120, 2, 3},    {120, 6, 8},    {144, 3, 5},    {144, 17, 26},   // halves go up
        {120, 800, 1000}, {144, 800, 1200}, {192, 600, 1200},            // the smallest window
        {144, -3, -5},  {120, -2, -3},  {144, 0, 0},                     // halves away from zero
        {0, 440, 440},  {-5, 12, 12},                                    // no DPI: the design's
    };
    for (const Case& c : cases) EXPECT_EQ(Scale(c.dpi).Px(c.length), c.pixels) << c.dpi << " DPI, " << c.length;
    EXPECT_EQ(Scale(144).Px(Rect{8, 55, 662, 268}), (Rect{12, 83, 993, 402}));
    // A control placed at 120 DPI, at 192 DPI.
    EXPECT_EQ(Scale(192).From(Rect{10, 69, 828, 335}, Scale(120)), (Rect{16, 110, 1325, 536}));
    EXPECT_EQ(Scale(96).From(1200, Scale(144)), 800);
}

TEST(Scale, PixelsBackInDesignUnitsNeverGrowAndSettleAfterOneRound) {
    for (int dpi : {72, 96, 110, 120, 144, 168, 192, 240}) {
        const Scale s(dpi);
        for (int pixels = 0; pixels <= 3000; ++pixels) {
            const int design = s.Design(pixels);
            const int back = s.Px(design);
            ASSERT_LE(back, pixels) << dpi << " DPI, " << pixels << " pixels";
            ASSERT_GT(s.Px(design + 1), pixels) << dpi << " DPI, " << pixels << " pixels: the largest";
            ASSERT_EQ(s.Px(s.Design(back)), back) << dpi << " DPI, " << pixels << " pixels";
        }
        // A length of the design comes back whole at every scale from 96 up.
        if (dpi >= 96) {
            for (int length = 0; length <= 2000; ++length) ASSERT_EQ(s.Design(s.Px(length)), length) << dpi;
        }
    }
}

// The resize rules at each scale, at the smallest window (a 3-pixel frame)
// and at a large one: the template rectangles (here those of a 96-DPI
// window, grown with the scale as the dialog template grows) and the
// rules' margins grow alike.
TEST(MainWindowLayout, ResizeRulesAtEveryScale) {
    const std::map<int, Rect> template96 = {
        {IDC_FILE_FRAME, {8, 55, 662, 268}},    {IDC_STATUS, {8, 546, 662, 561}},
        {IDC_RESULT_FRAME, {8, 458, 662, 544}}, {IDC_RESULT_LIST, {12, 473, 658, 543}},
        {IDC_QUICKVIEW_FRAME, {447, 93, 657, 265}}, {IDC_EXCLUDE, {602, 80, 654, 94}},
        {IDC_FILE_LIST, {12, 98, 444, 265}},    {IDC_FILTER, {458, 72, 597, 93}},
        {IDC_FAVOURITES, {380, 289, 657, 455}},
    };
    struct Case {
        int dpi;
        int width;
        int height;
        Rect fileList;
        Rect quickView;
        Rect filter;
        Rect status;
        Rect resultFrame;
        Rect resultList;
    };
    const Case cases[] = {
        {96, 794, 594, {12, 98, 562, 265}, {567, 93, 777, 265}, {458, 72, 722, 93}, {8, 577, 782, 592},
         {8, 458, 782, 573}, {12, 473, 778, 568}},
        {96, 1400, 1000, {12, 98, 1168, 265}, {1173, 93, 1383, 265}, {458, 72, 1328, 93}, {8, 983, 1388, 998},
         {8, 458, 1388, 979}, {12, 473, 1384, 974}},
        {120, 994, 744, {15, 123, 704, 331}, {711, 116, 973, 331}, {573, 90, 904, 116}, {10, 723, 979, 741},
         {10, 573, 979, 718}, {15, 591, 974, 712}},
        {120, 1750, 1250, {15, 123, 1460, 331}, {1467, 116, 1729, 331}, {573, 90, 1660, 116},
         {10, 1229, 1735, 1247}, {10, 573, 1735, 1224}, {15, 591, 1730, 1218}},
        {144, 1194, 894, {18, 147, 846, 398}, {853, 140, 1168, 398}, {687, 108, 1086, 140}, {12, 868, 1176, 891},
         {12, 687, 1176, 862}, {18, 710, 1170, 854}},
        {144, 2100, 1500, {18, 147, 1752, 398}, {1759, 140, 2074, 398}, {687, 108, 1992, 140},
         {12, 1474, 2082, 1497}, {12, 687, 2082, 1468}, {18, 710, 2076, 1460}},
        {192, 1594, 1194, {24, 196, 1130, 530}, {1140, 186, 1560, 530}, {916, 144, 1450, 186},
         {16, 1160, 1570, 1190}, {16, 916, 1570, 1152}, {24, 946, 1562, 1142}},
        {192, 2800, 2000, {24, 196, 2336, 530}, {2346, 186, 2766, 530}, {916, 144, 2656, 186},
         {16, 1966, 2776, 1996}, {16, 916, 2776, 1958}, {24, 946, 2768, 1948}},
    };
    for (const Case& c : cases) {
        LayoutInput in;
        in.clientWidth = c.width;
        in.clientHeight = c.height;
        in.scale = Scale(c.dpi);
        for (const auto& [id, r] : template96) in.initial[id] = in.scale.Px(r);
        const std::map<int, Rect> out = MainWindowLayout(in);
        const std::string at = std::to_string(c.dpi) + " DPI, " + std::to_string(c.width) + " x " +
                               std::to_string(c.height) + ": ";
        EXPECT_EQ(out.at(IDC_FILE_LIST), c.fileList) << at << Show(out.at(IDC_FILE_LIST));
        EXPECT_EQ(out.at(IDC_QUICKVIEW_FRAME), c.quickView) << at << Show(out.at(IDC_QUICKVIEW_FRAME));
        EXPECT_EQ(out.at(IDC_FILTER), c.filter) << at << Show(out.at(IDC_FILTER));
        EXPECT_EQ(out.at(IDC_STATUS), c.status) << at << Show(out.at(IDC_STATUS));
        EXPECT_EQ(out.at(IDC_RESULT_FRAME), c.resultFrame) << at << Show(out.at(IDC_RESULT_FRAME));
        EXPECT_EQ(out.at(IDC_RESULT_LIST), c.resultList) << at << Show(out.at(IDC_RESULT_LIST));
        // The pane in the "QuickView" frame, 4 in and 16 down at 96 DPI.
        const Rect pane = PreviewPaneRect(c.quickView, in.scale);
        EXPECT_EQ(pane, QuickPreviewPane(c.quickView, in.scale));
        EXPECT_EQ(pane.left - c.quickView.left, in.scale.Px(4)) << at;
        EXPECT_EQ(pane.top - c.quickView.top, in.scale.Px(16)) << at;
        EXPECT_EQ(c.quickView.bottom - pane.bottom, in.scale.Px(4)) << at;
    }
}

TEST(SkinGeometry, TitleBarCaptionButtonsAndCheckBoxAtEveryScale) {
    struct Case {
        int dpi;
        int band;          // title bar height
        Rect close;        // in a client area 1000 wide
        Rect maximize;
        Rect minimize;
        int box;           // the check box's side
        int textLeft;      // where the check box's text starts
        skin::Point boxAt; // in a check box 60 x 20 (at the scale)
        Rect icon;         // the title bar's icon
        Rect text;         // the caption, in a band 1000 wide
    };
    const Case cases[] = {
        {96, 26, {979, 3, 997, 21}, {958, 3, 976, 21}, {937, 3, 955, 21}, 12, 17, {0, 4}, {7, 4, 23, 20},
         {29, -1, 1029, 25}},
        {120, 33, {974, 4, 997, 27}, {947, 4, 970, 27}, {921, 4, 944, 27}, 15, 21, {0, 2}, {9, 5, 29, 25},
         {36, -1, 1036, 32}},
        {144, 39, {968, 5, 995, 32}, {937, 5, 964, 32}, {905, 5, 932, 32}, 18, 26, {0, 1}, {11, 6, 35, 30},
         {44, -2, 1044, 37}},
        {192, 52, {958, 6, 994, 42}, {916, 6, 952, 42}, {874, 6, 910, 42}, 24, 34, {0, -2}, {14, 8, 46, 40},
         {58, -2, 1058, 50}},
    };
    for (const Case& c : cases) {
        const Scale s(c.dpi);
        EXPECT_EQ(skin::TitleBarBand(1000, s), (Rect{0, 0, 1000, c.band})) << c.dpi;
        EXPECT_EQ(skin::CaptionButton(1000, skin::kCloseFromRight, s), c.close) << c.dpi;
        EXPECT_EQ(skin::CaptionButton(1000, skin::kMaximizeFromRight, s), c.maximize) << c.dpi;
        EXPECT_EQ(skin::CaptionButton(1000, skin::kMinimizeFromRight, s), c.minimize) << c.dpi;
        EXPECT_EQ(skin::CheckBoxSide(s), c.box) << c.dpi;
        EXPECT_EQ(skin::CheckBoxTextLeft(s), c.textLeft) << c.dpi;
        EXPECT_EQ(skin::CheckBoxOrigin(60, 20, false, s), c.boxAt) << c.dpi;
        EXPECT_EQ(skin::CheckBoxOrigin(60, 20, true, s).x, 60 - c.box) << c.dpi;
        const Rect band{0, 0, 1000, c.band};
        EXPECT_EQ(skin::TitleBarIcon(band, s), c.icon) << c.dpi << ": " << Show(skin::TitleBarIcon(band, s));
        EXPECT_EQ(skin::TitleBarText(band, s), c.text) << c.dpi << ": " << Show(skin::TitleBarText(band, s));
    }
}

// The gradients of the title bar and of a button face keep their colours
// at every scale: the bands of the 96-DPI height, each drawn larger, and
// together they cover the same share of the height.
TEST(SkinGeometry, GradientsKeepTheirColoursAtEveryScale) {
    const std::vector<skin::Band> title96 = skin::TitleBarBands(0, 26, 5);
    const std::vector<skin::Band> face96 = skin::ButtonGradientBands(0, 23, 0xF6F1F3, 0xF6F1F3);
    for (int dpi : {120, 144, 192}) {
        const Scale s(dpi);
        const std::vector<skin::Band> title = skin::TitleBarBands(0, s.Px(26), 5, s);
        ASSERT_EQ(title.size(), title96.size()) << dpi;
        for (std::size_t i = 0; i < title.size(); ++i) {
            EXPECT_EQ(title[i].colour, title96[i].colour) << dpi << " band " << i;
            EXPECT_EQ(title[i].top, s.Px(title96[i].top)) << dpi << " band " << i;
            EXPECT_EQ(title[i].bottom, s.Px(title96[i].bottom)) << dpi << " band " << i;
        }
        EXPECT_EQ(title.back().bottom, s.Px(26));
        // A face drawn from y = 10: the bands start 2 pixels (at 96 DPI)
        // below its top and end as far above its bottom.
        const std::vector<skin::Band> face = skin::ButtonGradientBands(10, 10 + s.Px(23), 0xF6F1F3, 0xF6F1F3, s);
        ASSERT_EQ(face.size(), face96.size()) << dpi;
        for (std::size_t i = 0; i < face.size(); ++i) EXPECT_EQ(face[i].colour, face96[i].colour) << dpi << " " << i;
        EXPECT_EQ(face.front().top, 10 + s.Px(2)) << dpi;
        EXPECT_EQ(face.back().bottom, 10 + s.Px(23) - s.Px(2)) << dpi;
        for (std::size_t i = 1; i < face.size(); ++i) EXPECT_EQ(face[i].top, face[i - 1].bottom) << dpi << " " << i;
    }
}

TEST(SkinGeometry, ButtonPartsAtEveryScale) {
    struct Case {
        int dpi;
        int squareBelow;  // the narrowest button with round corners
        int corner;
        Rect text;        // of a 100 x 30 button with a 16-pixel icon (at the scale) at the left
        skin::Point icon;
        Rect arrow;
    };
    const Case cases[] = {
        {96, 30, 6, {25, 0, 99, 30}, {4, 7}, {84, 9, 96, 21}},
        {120, 38, 8, {31, 0, 99, 30}, {5, 5}, {80, 7, 95, 22}},
        {144, 45, 9, {38, 0, 98, 30}, {6, 3}, {76, 6, 94, 24}},
        {192, 60, 12, {50, 0, 98, 30}, {8, -1}, {68, 3, 92, 27}},
    };
    for (const Case& c : cases) {
        const Scale s(c.dpi);
        EXPECT_EQ(skin::ButtonCornerSize(c.squareBelow - 1, s), 0) << c.dpi;
        EXPECT_EQ(skin::ButtonCornerSize(c.squareBelow, s), c.corner) << c.dpi;
        const int icon = s.Px(16);
        const Rect item{0, 0, 100, 30};
        EXPECT_EQ(skin::ButtonTextRect(item, icon, icon, false, s), c.text)
            << c.dpi << ": " << Show(skin::ButtonTextRect(item, icon, icon, false, s));
        EXPECT_EQ(skin::ButtonIconOrigin(item, icon, icon, false, false, s), c.icon) << c.dpi;
        EXPECT_EQ(skin::ButtonArrowRect(item, s), c.arrow) << c.dpi << ": " << Show(skin::ButtonArrowRect(item, s));
    }
}

TEST(SkinGeometry, ProgressBarAtTwiceTheScale) {
    // The wait window's bar (260 x 20 at 96 DPI) at 200 %, half full.
    const skin::ProgressPicture p = skin::ProgressBarPicture(Rect{0, 0, 520, 40}, 0, 10, 5, 5, Scale(192));
    EXPECT_TRUE(p.filled);
    EXPECT_EQ(p.fill, (Rect{4, 4, 260, 36}));
    EXPECT_TRUE(p.highlight);
    EXPECT_EQ(p.highlightBand, (Rect{8, 13, 254, 21}));
    EXPECT_EQ(p.lineY, 15);
    EXPECT_EQ(skin::ProgressOutlineCorner(Scale(192)), 12);
    EXPECT_EQ(skin::ProgressFillCorner(Scale(192)), 8);
}

TEST(SkinGeometry, MessageLayoutAtEveryScale) {
    struct Case {
        int dpi;
        int oneLine;  // the text's width in the font at the scale
        int wrapped;
        int kind;
        int windowWidth;
        int windowHeight;
        Rect text;
        Rect first;
        Rect second;
    };
    const Case cases[] = {
        // One word: the narrowest window, the text centred.
        {96, 40, 15, 0, 220, 135, {90, 55, 130, 70}, {76, 95, 144, 118}, {76, 95, 144, 118}},
        {120, 50, 19, 0, 275, 169, {112, 69, 162, 88}, {95, 119, 180, 148}, {95, 119, 180, 148}},
        {144, 60, 23, 0, 330, 203, {135, 83, 195, 106}, {114, 143, 216, 178}, {114, 143, 216, 178}},
        {192, 80, 30, 0, 440, 270, {180, 110, 260, 140}, {152, 190, 288, 236}, {152, 190, 288, 236}},
        // A long question: wrapped at 440 pixels of 96 DPI.
        {96, 900, 45, 1, 500, 165, {30, 55, 470, 100}, {162, 125, 230, 148}, {270, 125, 338, 148}},
        {144, 1350, 69, 1, 750, 249, {45, 83, 705, 152}, {243, 189, 345, 224}, {405, 189, 507, 224}},
        {192, 1800, 90, 1, 1000, 330, {60, 110, 940, 200}, {324, 250, 460, 296}, {540, 250, 676, 296}},
    };
    for (const Case& c : cases) {
        const skin::MessageLayout m = skin::LayoutMessage(c.oneLine, c.wrapped, c.kind, Scale(c.dpi));
        const std::string at = std::to_string(c.dpi) + " DPI, kind " + std::to_string(c.kind);
        EXPECT_EQ(m.windowWidth, c.windowWidth) << at;
        EXPECT_EQ(m.windowHeight, c.windowHeight) << at;
        EXPECT_EQ(m.text, c.text) << at << ": " << Show(m.text);
        EXPECT_EQ(m.first, c.first) << at << ": " << Show(m.first);
        if (c.kind == 1) {
            EXPECT_EQ(m.second, c.second) << at << ": " << Show(m.second);
        }
    }
}

// Where the window opens: the stored client size (96-DPI units) at the
// scale, within the work area of its screen, centred, never smaller than
// the minimum window unless the screen is.
TEST(MainWindowPlacement, TheWindowAlwaysFitsItsScreen) {
    struct Case {
        const char* what;
        int dpi;
        Size stored;
        Size frame;
        Rect work;
        Rect window;
        Size needed{};  // what the template's controls need, frame included
    };
    const Case cases[] = {
        {"first start at 100 %", 96, {800, 600}, {6, 6}, {0, 0, 1280, 1024}, {237, 209, 1043, 815}},
        {"first start at 125 %", 120, {800, 600}, {6, 6}, {0, 0, 1920, 1200}, {457, 222, 1463, 978}},
        {"first start at 150 %", 144, {800, 600}, {6, 6}, {0, 0, 1920, 1200}, {357, 147, 1563, 1053}},
        {"first start at 200 %", 192, {800, 600}, {6, 6}, {0, 0, 2560, 1600}, {477, 197, 2083, 1403}},
        {"a large monitor's size on a laptop", 96, {3000, 2000}, {6, 6}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {"the same at 150 %", 144, {3000, 2000}, {8, 8}, {0, 0, 1920, 1200}, {0, 0, 1920, 1200}},
        {"a work area beside a task bar", 96, {3000, 2000}, {6, 6}, {0, 40, 1024, 768}, {0, 40, 1024, 768}},
        {"a second screen on the left", 96, {900, 650}, {6, 6}, {-1280, 0, 0, 1024},
         {-1093, 184, -187, 840}},
        {"the smallest window", 96, {794, 594}, {6, 6}, {0, 0, 1280, 1024}, {240, 212, 1040, 812}},
        {"smaller than the smallest window", 144, {100, 100}, {6, 6}, {0, 0, 1920, 1200}, {360, 150, 1560, 1050}},
        {"200 % on a screen too low for the minimum", 192, {800, 600}, {6, 6}, {0, 0, 1920, 1200},
         {157, 0, 1763, 1200}},
        {"150 % on a screen too small for the minimum", 144, {800, 600}, {6, 6}, {0, 0, 1024, 768},
         {0, 0, 1024, 768}},
        {"absurd stored values", 96, {-5, 2147483647}, {6, 6}, {0, 0, 1280, 1024}, {240, 0, 1040, 1024}},
        // The template's font grew a little more than the DPI: the window
        // is as large as its controls need.
        {"a template grown more than the scale", 144, {800, 600}, {6, 6}, {0, 0, 1920, 1200}, {342, 117, 1577, 1083},
         {1235, 966}},
        {"the same, stored larger", 144, {1000, 700}, {6, 6}, {0, 0, 1920, 1200}, {207, 72, 1713, 1128},
         {1235, 966}},
    };
    for (const Case& c : cases) {
        PlacementInput in;
        in.storedClient = c.stored;
        in.scale = Scale(c.dpi);
        in.frame = c.frame;
        in.workArea = c.work;
        in.needed = c.needed;
        const Rect r = PlaceWindow(in);
        EXPECT_EQ(r, c.window) << c.what << ": " << Show(r);
        // The title bar is on the screen whatever was stored.
        EXPECT_GE(r.top, c.work.top) << c.what;
        EXPECT_GE(r.left, c.work.left) << c.what;
        EXPECT_LE(r.right, c.work.right) << c.what;
    }
}

// The smallest window stores the client size it has inside its frame, and
// the settings reader takes that size back: the window never grows at a
// restart.
// What the template's controls need: the controls that keep their places
// with the room beside and below them; those the resize rules take to the
// right or the bottom edge do not count. The template's fonts here are
// those of a Wine prefix (Tahoma 9 points: base units 7 x 14 at 96 DPI,
// 9 x 18 at 120, 11 x 22 at 144 and 14 x 29 at 192).
TEST(MainWindowPlacement, TheClientAreaTheTemplateNeedsAtEveryScale) {
    struct Case {
        int dpi;
        int baseX;
        int baseY;
        Size needed;
    };
    const Case cases[] = {
        // 100 %: inside the smallest window of the design (800 x 600 with
        // a frame of 3 pixels).
        {96, 7, 14, {784, 594}},
        // 125 %: a little more than the scale across.
        {120, 9, 18, {1008, 761}},
        // 150 %: the font grows more than the scale, the window with it.
        {144, 11, 22, {1231, 927}},
        {192, 14, 29, {1566, 1224}},
    };
    for (const Case& c : cases) {
        const Scale s(c.dpi);
        // A rectangle of the template in pixels, as the dialog manager
        // places it (dialog units: x, y, width, height).
        const auto at = [&](int x, int y, int cx, int cy) {
            const int left = (x * c.baseX + 2) / 4;
            const int top = (y * c.baseY + 4) / 8;
            return Rect{left, top, left + (cx * c.baseX + 2) / 4, top + (cy * c.baseY + 4) / 8};
        };
        const std::vector<std::pair<int, Rect>> places = {
            {IDC_PREVIEW, at(5, 17, 45, 14)},
            {IDC_SHELL_MENU, at(398, 20, 46, 10)},
            {IDC_BUILDER_FRAME, at(5, 168, 243, 115)},
            {IDC_FAVOURITES_FRAME, at(250, 168, 191, 115)},
            // Taken to the edges by the resize rules: the status line lies
            // lowest, the "Case" box furthest right.
            {IDC_STATUS, at(5, 336, 436, 9)},
            {IDC_RESULT_FRAME, at(5, 282, 436, 53)},
            {IDC_CASE, at(399, 41, 48, 9)},
            {IDC_FILE_FRAME, at(5, 34, 446, 131)},
        };
        const Size needed = NeededClient(places, s);
        EXPECT_EQ(needed, c.needed) << c.dpi << " DPI: " << needed.width << " x " << needed.height;
        // The room beside and below the controls that keep their places
        // grows with the scale.
        EXPECT_EQ(needed.width - at(398, 20, 46, 10).right, s.Px(kRoomRight96)) << c.dpi;
        EXPECT_EQ(needed.height - at(5, 168, 243, 115).bottom, s.Px(kRoomBelow96)) << c.dpi;
    }
}

TEST(MainWindowPlacement, TheSmallestWindowKeepsItsSizeAcrossARestart) {
    struct Case {
        int dpi;
        Size frame;
        Rect work;
        Size needed{};
    };
    const Case cases[] = {
        {96, {6, 6}, {0, 0, 1280, 1024}},   {120, {6, 6}, {0, 0, 1920, 1200}},
        {144, {6, 6}, {0, 0, 1920, 1200}},  {144, {8, 8}, {0, 0, 1920, 1200}},
        {192, {6, 6}, {0, 0, 2560, 1600}},  {144, {6, 6}, {0, 0, 1024, 768}},
        {144, {6, 6}, {0, 0, 1920, 1200}, {1235, 966}}, {192, {6, 6}, {0, 0, 2560, 1600}, {1682, 1300}},
    };
    for (const Case& c : cases) {
        const Scale s(c.dpi);
        const Size least = MinimumWindow(s, c.work, c.needed);
        // The client area of the smallest window, as the window records it.
        const Size stored{s.Design(least.width - c.frame.width), s.Design(least.height - c.frame.height)};
        const Size limit = SmallestStoredClient(s, c.work, c.frame, c.needed);
        EXPECT_EQ(stored, limit) << c.dpi;
        Settings settings;
        settings.width = stored.width;
        settings.height = stored.height;
        const Settings read = DecodeSettings(EncodeSettings(settings), SystemCodePage(),
                                             StoredSizeLimits{limit.width, limit.height})
                                  .settings;
        EXPECT_EQ(read.width, stored.width) << c.dpi;
        EXPECT_EQ(read.height, stored.height) << c.dpi;
        PlacementInput in;
        in.storedClient = Size{read.width, read.height};
        in.scale = s;
        in.frame = c.frame;
        in.workArea = c.work;
        in.needed = c.needed;
        const Rect again = PlaceWindow(in);
        EXPECT_EQ(again.width(), least.width) << c.dpi;
        EXPECT_EQ(again.height(), least.height) << c.dpi;
    }
}

}  // namespace
}  // namespace quorv
