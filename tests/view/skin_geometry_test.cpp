#include "view/skin_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorv::skin {
namespace {

TEST(SkinGeometry, HalfDownShiftsSignedValues) {
    const int cases[][2] = {{0, 0}, {1, 0}, {2, 1}, {27, 13}, {-1, -1}, {-2, -1}, {-3, -2}, {-27, -14}};
    for (const auto& c : cases) EXPECT_EQ(HalfDown(c[0]), c[1]) << c[0];
}

TEST(ButtonFace, CornersAreSquareBelowThirtyPixels) {
    const int cases[][2] = {{14, 0}, {18, 0}, {29, 0}, {30, 6}, {31, 6}, {68, 6}};
    for (const auto& c : cases) EXPECT_EQ(ButtonCornerSize(c[0]), c[1]) << c[0];
}

TEST(ButtonFace, GradientStepIsTruncated) {
    const int cases[][2] = {{20, 5}, {24, 4}, {10, 11}, {18, 6}, {23, 4}, {46, 2}, {0, 0}, {-4, 0}};
    for (const auto& c : cases) EXPECT_EQ(ButtonGradientStep(c[0]), c[1]) << c[0];
}

TEST(ButtonFace, GradientDarkensToTheMiddleThenLightens) {
    // 20 high, step 5, middle at 10: four bands darker by 5, one by 12,
    // three lighter by 5. Silver's colour 2 is F6F1F3.
    const std::vector<Band> bands = ButtonGradientBands(0, 20, 0xF6F1F3, 0xF6F1F3);
    const Colour expected[] = {0xF1ECEE, 0xECE7E9, 0xE7E2E4, 0xE2DDDF, 0xD6D1D3, 0xDBD6D8, 0xE0DBDD, 0xE5E0E2};
    ASSERT_EQ(bands.size(), 8u);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].colour, expected[i]) << i;
        EXPECT_EQ(bands[i].top, 2 + 2 * static_cast<int>(i));
        EXPECT_EQ(bands[i].bottom, bands[i].top + 2);
    }
}

TEST(ButtonFace, GradientStopsAtTheLightestColourAsAWholeValue) {
    // 14 high: step 8, middle 7. FFFFFF -8 -8 -8 -12 = DBDBDB, then +8 = E3E3E3.
    std::vector<Band> bands = ButtonGradientBands(0, 14, 0xFFFFFF, 0xE0E0E0);
    ASSERT_EQ(bands.size(), 5u);
    EXPECT_EQ(bands[3].colour, 0xDBDBDBu);
    EXPECT_EQ(bands[4].colour, 0xE0E0E0u);
    // The comparison is of whole values (blue in the high byte): E3E3E3 is
    // below E40000 although its red and green are higher, so it is kept.
    bands = ButtonGradientBands(0, 14, 0xFFFFFF, 0xE40000);
    EXPECT_EQ(bands[4].colour, 0xE3E3E3u);
}

TEST(ButtonFace, OddHeightCutsTheLastBand) {
    const std::vector<Band> bands = ButtonGradientBands(3, 26, 0xFFFFFF, 0xFFFFFF);  // 23 high
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().top, 5);
    EXPECT_EQ(bands.back().bottom, 24);
    EXPECT_EQ(bands.back().top, 23);
}

TEST(ButtonFace, ColoursFollowPressedAndCaptionFlags) {
    // Silver: 1 E3DFE0, 2 F6F1F3, 3 D1C7C5, 4 696766, 6 64C8FA.
    ButtonColours c = ButtonColoursFor(5, false, false, false);
    EXPECT_EQ(c.face, 0xE3DFE0u);
    EXPECT_EQ(c.outline, 0xAFADACu);  // colour 4 lighter by 70
    EXPECT_EQ(c.gradientStart, 0xF6F1F3u);
    EXPECT_EQ(c.innerOutline, 0xF6F1F3u);
    c = ButtonColoursFor(5, true, false, true);
    EXPECT_EQ(c.face, 0xD1C7C5u);
    EXPECT_EQ(c.gradientStart, 0xD1C7C5u);
    EXPECT_EQ(c.innerOutline, 0x64C8FAu);
    c = ButtonColoursFor(5, false, true, false);
    EXPECT_EQ(c.outline, 0xADA3A1u);  // colour 3 darker by 36
    EXPECT_EQ(c.gradientStart, 0xD1C7C5u);
    EXPECT_EQ(c.innerOutline, 0xE3DFE0u);
}

// One step of a look-state script: an event and the look after it.
enum class Ev { MoveIn, MoveOut, Down, Up, Lost };
struct Step {
    Ev event;
    ButtonLook look;
};

void RunScript(ButtonKind kind, const std::vector<Step>& script, const char* name) {
    ButtonLookState state(kind);
    int i = 0;
    for (const Step& s : script) {
        switch (s.event) {
        case Ev::MoveIn: state.MouseMove(true); break;
        case Ev::MoveOut: state.MouseMove(false); break;
        case Ev::Down: state.LeftDown(); break;
        case Ev::Up: state.LeftUp(); break;
        case Ev::Lost: state.CaptureLost(); break;
        }
        EXPECT_EQ(state.look(), s.look) << name << " step " << i;
        ++i;
    }
}

TEST(ButtonLook, PushButtonHoversHoldsAndReturns) {
    using L = ButtonLook;
    RunScript(ButtonKind::Push,
              {{Ev::MoveIn, L::MouseOver}, {Ev::Down, L::Latched}, {Ev::MoveIn, L::Latched}, {Ev::Up, L::Normal},
               {Ev::MoveIn, L::MouseOver}, {Ev::MoveOut, L::Normal}, {Ev::MoveIn, L::MouseOver}, {Ev::Lost, L::Normal},
               {Ev::Down, L::Latched}, {Ev::MoveOut, L::Normal}},
              "push");
}

TEST(ButtonLook, ToggleButtonStaysLatchedUntilPressedAgain) {
    using L = ButtonLook;
    RunScript(ButtonKind::Toggle,
              {{Ev::MoveIn, L::MouseOver}, {Ev::Down, L::Latched}, {Ev::Up, L::Latched}, {Ev::MoveOut, L::Latched},
               {Ev::MoveIn, L::Latched}, {Ev::Lost, L::Latched}, {Ev::Down, L::Normal}, {Ev::Up, L::Normal},
               {Ev::MoveIn, L::MouseOver}, {Ev::MoveOut, L::Normal}},
              "toggle");
    // Pressed and dragged out before the release: the release that saved
    // the look last time was not latched, so it returns to normal.
    RunScript(ButtonKind::Toggle, {{Ev::MoveIn, L::MouseOver}, {Ev::Down, L::Latched}, {Ev::MoveOut, L::Normal}},
              "toggle dragged out");
}

TEST(ButtonLook, LatchButtonIgnoresPressesOnceLatched) {
    ButtonLookState state(ButtonKind::Latch);
    EXPECT_TRUE(state.LeftDown());
    state.LeftUp();
    EXPECT_EQ(state.look(), ButtonLook::Latched);
    EXPECT_EQ(state.saved(), ButtonLook::Latched);
    EXPECT_TRUE(state.DrawnPressed());
    EXPECT_FALSE(state.LeftDown());
    EXPECT_EQ(state.look(), ButtonLook::Latched);
    const ButtonLookState::Move m = state.MouseMove(false);
    EXPECT_TRUE(m.release);
    EXPECT_FALSE(m.redraw);
    EXPECT_EQ(state.look(), ButtonLook::Latched);
}

TEST(ButtonLook, MovesTellWhenToCaptureAndRedraw) {
    ButtonLookState state(ButtonKind::Push);
    ButtonLookState::Move m = state.MouseMove(true);
    EXPECT_TRUE(m.capture);
    EXPECT_TRUE(m.redraw);
    m = state.MouseMove(true);
    EXPECT_TRUE(m.capture);
    EXPECT_FALSE(m.redraw);
    m = state.MouseMove(false);
    EXPECT_TRUE(m.release);
    EXPECT_TRUE(m.redraw);
    EXPECT_FALSE(state.DrawnPressed());
}

TEST(CheckBox, MiddleColourHalvesTheSignedDifference) {
    // Silver: colour 1 E3DFE0, colour 3 D1C7C5; red 0xE0 + (-27 >> 1 = -14) = 0xD2.
    const CheckBoxColours c = CheckBoxColoursFor(5);
    EXPECT_EQ(c.shadow, 0xDAD3D2u);
    EXPECT_EQ(c.frame, 0xAFADACu);
    EXPECT_EQ(c.highlight, 0xFFFFFFu);
    EXPECT_EQ(MiddleColour(0x000000, 0xFFFFFF), 0x7F7F7Fu);
    EXPECT_EQ(MiddleColour(0xFFFFFF, 0x000000), 0x7F7F7Fu);  // 255 + (-255 >> 1 = -128)
    EXPECT_EQ(MiddleColour(0x102030, 0x102030), 0x102030u);
}

TEST(CheckBox, BoxSitsAtTheLeftOrRightEdgeVerticallyCentred) {
    EXPECT_EQ(CheckBoxOrigin(60, 16, false), (Point{0, 2}));
    EXPECT_EQ(CheckBoxOrigin(60, 15, false), (Point{0, 1}));
    EXPECT_EQ(CheckBoxOrigin(60, 15, true), (Point{48, 1}));
    EXPECT_EQ(CheckBoxOrigin(60, 9, false), (Point{0, -2}));
}

TEST(CheckBox, ClickInsideTogglesAndNotifies) {
    CheckBoxState s;
    s.LeftDown();
    EXPECT_TRUE(s.pressed());
    CheckBoxState::Release r = s.LeftUp(true, true);
    EXPECT_TRUE(r.handled);
    EXPECT_TRUE(r.checked);
    EXPECT_TRUE(r.notify);
    EXPECT_FALSE(s.pressed());
    s.LeftDown();
    r = s.LeftUp(true, true);
    EXPECT_FALSE(r.checked);
}

TEST(CheckBox, ReleaseOutsideKeepsTheStateAndNotifiesNobody) {
    CheckBoxState s;
    s.set_checked(true);
    s.LeftDown();
    EXPECT_TRUE(s.MouseMove(false));
    EXPECT_FALSE(s.pressed());
    EXPECT_FALSE(s.MouseMove(false));
    const CheckBoxState::Release r = s.LeftUp(false, true);
    EXPECT_TRUE(r.handled);
    EXPECT_TRUE(r.checked);
    EXPECT_FALSE(r.notify);
    // Back inside before the release: pressed again, and it toggles.
    s.LeftDown();
    s.MouseMove(false);
    EXPECT_TRUE(s.MouseMove(true));
    EXPECT_FALSE(s.LeftUp(true, true).checked);
}

TEST(CheckBox, ReleaseWithoutPressIsNotAClick) {
    CheckBoxState s;
    const CheckBoxState::Release r = s.LeftUp(true, true);
    EXPECT_FALSE(r.handled);
    EXPECT_FALSE(r.notify);
    EXPECT_FALSE(s.checked());
    // A capture taken away ends the press without a click.
    s.LeftDown();
    EXPECT_TRUE(s.CaptureLost());
    EXPECT_FALSE(s.LeftUp(true, true).notify);
    EXPECT_FALSE(s.checked());
}

TEST(CheckBox, SpaceBarTogglesAndNotifies) {
    CheckBoxState s;
    EXPECT_FALSE(s.SpaceUp(true).handled);  // release without press
    s.SpaceDown();
    EXPECT_TRUE(s.pressed());
    s.SpaceDown();  // key repeat
    const CheckBoxState::Release r = s.SpaceUp(true);
    EXPECT_TRUE(r.handled);
    EXPECT_TRUE(r.checked);
    EXPECT_TRUE(r.notify);
    EXPECT_FALSE(s.pressed());
    EXPECT_TRUE(s.checked());
}

TEST(CheckBox, OtherButtonKindsDoNotToggle) {
    CheckBoxState s;
    s.LeftDown();
    const CheckBoxState::Release r = s.LeftUp(true, false);
    EXPECT_TRUE(r.notify);
    EXPECT_FALSE(r.checked);
}

TEST(TitleBar, ThirteenBandsFor26Pixels) {
    const std::vector<Band> bands = TitleBarBands(0, 26, 5);
    ASSERT_EQ(bands.size(), 13u);
    // Silver's colour 5 is D4D1CF: red CF, green D1, blue D4.
    const int deltas[] = {-6, -6, -6, -6, -6, -6, -10, 1, 1, 1, 1, 1, -12};
    Colour colour = 0xD4D1CF;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        colour = AdjustColour(colour, deltas[i]);
        EXPECT_EQ(bands[i].colour, colour) << i;
        EXPECT_EQ(bands[i].top, static_cast<int>(2 * i));
    }
    EXPECT_EQ(bands.back().colour, 0x9F9C9Au);
}

TEST(TitleBar, CaptionColoursByThemeAndActivation) {
    struct Case {
        int theme;
        bool active;
        Colour text, shadow;
    };
    const Case cases[] = {
        {1, true, 0x6A4D48, 0xD1C9C5},  {10, true, 0x505050, 0xC8C8C8}, {5, true, 0xFFFFFF, 0x696766},
        {0, true, 0xFFFFFF, 0x6B6969},  {5, false, 0xD1C7C5, 0x696766}, {1, false, 0xF0D3CF, 0x967975},
        {10, false, 0xDEDEDE, 0x858585},
    };
    for (const Case& c : cases) {
        const CaptionColours got = CaptionColoursFor(c.theme, c.active);
        EXPECT_EQ(got.text, c.text) << c.theme << " " << c.active;
        EXPECT_EQ(got.shadow, c.shadow) << c.theme << " " << c.active;
    }
}

TEST(WindowFrame, DarkLightDark) {
    const FrameColours f = WindowFrameColours(5);  // colour 3 D1C7C5
    EXPECT_EQ(f.outer, 0x958B89u);
    EXPECT_EQ(f.middle, 0xD1C7C5u);
    EXPECT_EQ(f.inner, 0x958B89u);
}

TEST(ProgressBar, FillEdgeAndHighlight) {
    const Rect client{0, 0, 260, 20};
    ProgressPicture p = ProgressBarPicture(client, 0, 10, 5, 5);
    EXPECT_EQ(p.bar, 0xB8AEACu);  // D1C7C5 darker by 25
    ASSERT_TRUE(p.filled);
    EXPECT_EQ(p.fill, (Rect{2, 2, 130, 18}));
    ASSERT_TRUE(p.highlight);
    EXPECT_EQ(p.highlightBand, (Rect{4, 6, 127, 10}));  // 3/10 of 16 = 4 below the top
    EXPECT_EQ(p.highlightColour, 0xBEB4B2u);
    EXPECT_EQ(p.lineY, 7);
    EXPECT_EQ(p.lineColour, 0xC8BEBCu);

    // Full: the right edge stops one pixel inside the shrunken rectangle.
    p = ProgressBarPicture(client, 0, 10, 10, 5);
    EXPECT_EQ(p.fill.right, 257);
    // Nothing yet, and a bar with an empty range, draw no fill.
    EXPECT_FALSE(ProgressBarPicture(client, 0, 10, 0, 5).filled);
    EXPECT_FALSE(ProgressBarPicture(client, 0, 0, 0, 5).filled);
    // A thin fill has no highlight.
    p = ProgressBarPicture(client, 0, 100, 1, 5);
    EXPECT_TRUE(p.filled);
    EXPECT_EQ(p.fill.right, 4);
    EXPECT_FALSE(p.highlight);
}

TEST(MessageLayout, ShortTextGivesA220WideWindowWithCentredText) {
    const MessageLayout m = LayoutMessage(40, 14, 0);
    EXPECT_EQ(m.windowWidth, 220);
    EXPECT_EQ(m.windowHeight, 134);
    EXPECT_EQ(m.text, (Rect{90, 55, 130, 69}));
    EXPECT_EQ(m.first, (Rect{76, 94, 144, 117}));
    EXPECT_FALSE(m.secondVisible);
    EXPECT_EQ(m.caption, "Message");
}

TEST(MessageLayout, LongTextWrapsAt440) {
    const MessageLayout m = LayoutMessage(900, 42, 1);
    EXPECT_EQ(m.windowWidth, 500);
    EXPECT_EQ(m.windowHeight, 162);
    EXPECT_EQ(m.text, (Rect{30, 55, 470, 97}));
    EXPECT_EQ(m.first, (Rect{162, 122, 230, 145}));
    EXPECT_EQ(m.second, (Rect{270, 122, 338, 145}));
    EXPECT_TRUE(m.secondVisible);
    EXPECT_EQ(m.caption, "Please select");
    // The buttons stay 40 pixels above the bottom.
    EXPECT_EQ(m.windowHeight - m.first.top, 40);
}

TEST(MessageLayout, WidthBoundaries) {
    struct Case {
        int oneLine, windowWidth, textLeft, textWidth;
    };
    const Case cases[] = {{159, 220, 30, 159}, {160, 220, 30, 160}, {161, 221, 30, 161},
                          {440, 500, 30, 440}, {441, 500, 30, 440}, {0, 220, 110, 0}};
    for (const Case& c : cases) {
        const MessageLayout m = LayoutMessage(c.oneLine, 14, 0);
        EXPECT_EQ(m.windowWidth, c.windowWidth) << c.oneLine;
        EXPECT_EQ(m.text.left, c.textLeft) << c.oneLine;
        EXPECT_EQ(m.text.width(), c.textWidth) << c.oneLine;
    }
}

}  // namespace
}  // namespace quorv::skin
