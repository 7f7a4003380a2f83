// The main window's resize rules and key table, without a window.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/resource.h"
#include "view/main_layout.h"
#include "view/skin_geometry.h"

namespace quorv {
namespace {

// Template rectangles of the controls the rules move, in pixels, as a
// 800 x 600 window with the program's font lays them out (any numbers do:
// the rules are relative).
std::map<int, Rect> Template() {
    return {
        {IDC_FILE_FRAME, {8, 55, 662, 268}},     {IDC_STATUS, {8, 546, 662, 561}},
        {IDC_COMMAND_LINE, {8, 54, 662, 55}},    {IDC_RESULT_FRAME, {8, 458, 662, 544}},
        {IDC_FAVOURITES_FRAME, {375, 273, 662, 460}}, {IDC_RESULT_LIST, {12, 473, 658, 543}},
        {IDC_FAVOURITES, {380, 289, 657, 455}},  {IDC_QUICKVIEW_FRAME, {447, 93, 657, 265}},
        {IDC_CASE, {602, 67, 654, 81}},          {IDC_EXCLUDE, {602, 80, 654, 94}},
        {IDC_FILE_LIST, {12, 98, 444, 265}},     {IDC_FILTER, {458, 72, 597, 93}},
        {IDC_ADD_RULE, {321, 291, 342, 314}},
    };
}

TEST(MainWindowLayout, RightAndBottomEdgesFollowTheClientArea) {
    LayoutInput in;
    in.clientWidth = 1000;
    in.clientHeight = 700;
    in.quickView = true;
    in.initial = Template();
    const std::map<int, Rect> out = MainWindowLayout(in);
    struct Case {
        int id;
        Rect expected;
    };
    const Case cases[] = {
        // Stretched to 12 and 16: the left edge stays.
        {IDC_FILE_FRAME, {8, 55, 988, 268}},
        {IDC_COMMAND_LINE, {8, 54, 988, 55}},
        {IDC_FAVOURITES_FRAME, {375, 273, 988, 460}},
        {IDC_FAVOURITES, {380, 289, 984, 455}},
        // Moved to 17: the width stays.
        {IDC_QUICKVIEW_FRAME, {773, 93, 983, 265}},
        {IDC_CASE, {931, 67, 983, 81}},
        {IDC_EXCLUDE, {931, 80, 983, 94}},
        // The file list leaves room for the QuickView frame (210 wide) plus 22.
        {IDC_FILE_LIST, {12, 98, 768, 265}},
        // The filter box ends the width of "Exclude" (52) plus 20 from the edge.
        {IDC_FILTER, {458, 72, 928, 93}},
        // The status line sits 2 above the bottom; the result list and its
        // frame end its height (15) plus 11 and plus 6 above the bottom.
        {IDC_STATUS, {8, 683, 988, 698}},
        {IDC_RESULT_FRAME, {8, 458, 988, 679}},
        {IDC_RESULT_LIST, {12, 473, 984, 674}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(1u, out.count(c.id)) << c.id;
        const Rect& r = out.at(c.id);
        EXPECT_EQ(c.expected, r) << c.id << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    // The rule builder keeps its template place: it is not moved at all.
    EXPECT_EQ(0u, out.count(IDC_ADD_RULE));
}

TEST(MainWindowLayout, FileListTakesTheQuickViewRoomWhenItIsOff) {
    LayoutInput in;
    in.clientWidth = 1000;
    in.clientHeight = 700;
    in.quickView = false;
    in.initial = Template();
    EXPECT_EQ(983, MainWindowLayout(in).at(IDC_FILE_LIST).right);
}

TEST(MainWindowLayout, PaneTitleBarAndCaptionButtons) {
    EXPECT_EQ((Rect{777, 109, 979, 261}), QuickPreviewPane(Rect{773, 93, 983, 265}));
    EXPECT_EQ((Rect{0, 0, 784, 26}), skin::TitleBarBand(784));
    EXPECT_EQ((Rect{763, 3, 781, 21}), skin::CaptionButton(784, skin::kCloseFromRight));
    EXPECT_EQ((Rect{742, 3, 760, 21}), skin::CaptionButton(784, skin::kMaximizeFromRight));
    EXPECT_EQ((Rect{721, 3, 739, 21}), skin::CaptionButton(784, skin::kMinimizeFromRight));
}

TEST(KeyCommands, TheWindowsKeysWhateverHasTheFocus) {
    struct Case {
        int key;
        bool ctrl;
        int focus;
        KeyCommand expected;
    };
    const Case cases[] = {
        {'A', true, IDC_FILTER, KeyCommand::SelectAllFiles},
        {'I', true, IDC_RULE_LIST, KeyCommand::InvertSelection},
        {'C', true, IDC_FILTER, KeyCommand::CopyFiles},  // not the edit box's copy
        {'M', true, IDC_FILE_LIST, KeyCommand::MoveFiles},
        {'A', false, IDC_FILE_LIST, KeyCommand::None},
        {'X', true, IDC_FILE_LIST, KeyCommand::None},
        {0x2E, false, IDC_FILE_LIST, KeyCommand::RemoveFiles},
        {0x2E, false, IDC_RULE_LIST, KeyCommand::DeleteRules},
        {0x2E, false, IDC_FILTER, KeyCommand::None},  // edits text as usual
        {0x2E, false, IDC_FAVOURITES, KeyCommand::None},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, KeyCommandFor(c.key, c.ctrl, c.focus)) << c.key << " " << c.focus;
}

TEST(WaitSteps, EveryFileOfShortRunsTheCrossingsOfLongOnesAndAlwaysTheLast) {
    // Up to kWaitSteps files: each one.
    for (std::size_t count : {std::size_t{1}, std::size_t{3}, kWaitSteps})
        for (std::size_t i = 0; i < count; ++i) EXPECT_TRUE(WaitStepShown(i, count)) << i << " of " << count;
    // Longer runs: kWaitSteps steps, evenly spread, the last file among them.
    for (std::size_t count : {kWaitSteps + 1, std::size_t{10000}, std::size_t{100000}}) {
        std::size_t shown = 0;
        std::size_t widestGap = 0;
        std::size_t previous = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (!WaitStepShown(i, count)) continue;
            ++shown;
            widestGap = std::max(widestGap, i - previous);
            previous = i;
        }
        EXPECT_EQ(shown, kWaitSteps) << count;
        EXPECT_TRUE(WaitStepShown(count - 1, count)) << count;
        EXPECT_LE(widestGap, count / kWaitSteps + 1) << count;
    }
    EXPECT_FALSE(WaitStepShown(0, 0));
    EXPECT_FALSE(WaitStepShown(5, 5));
}

}  // namespace
}  // namespace quorv
