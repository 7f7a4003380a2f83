// The themed list box on a real dialog under Wine: item height, drawing in
// the theme's colours, the horizontal extent, the model mirror (fill,
// selection both ways) and the remembered selection.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin/result_view_win32.h"
#include "tests/win32/controls_test_support_win32.h"

namespace quorv::win::test {
namespace {

class ThemedListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterResultView());
        ASSERT_NE(dialog.CreateModeless(IDD_CONTROLS_TEST, nullptr), nullptr);
        ::ShowWindow(dialog.hwnd(), SW_SHOW);
        Pump(0);
    }
    HWND Files() { return dialog.files.hwnd(); }
    // Client rectangle of item i.
    RECT ItemRect(HWND list, int i) {
        RECT r{};
        ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    int TextWidth(HWND list, const std::string& text) {
        WindowDc dc(list);
        SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    void Click(HWND list, int item, WPARAM keys = 0) {
        const RECT r = ItemRect(list, item);
        const LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
        ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        ::SendMessageA(list, WM_LBUTTONUP, keys, at);
    }
    static std::vector<std::string> Paths(int n) {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) paths.push_back("C:\\Photos\\2024\\holiday " + std::to_string(i) + ".jpg");
        return paths;
    }

    TestDialog dialog;
};

TEST_F(ThemedListTest, AttachOnlyToListBoxesAndSetsTheItemHeightFromTheFont) {
    const int expected = [&] {
        WindowDc dc(Files());
        SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(Files(), WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32A(dc.get(), "W", 1, &size);
        return static_cast<int>(size.cy) + 3;
    }();
    EXPECT_EQ(dialog.files.ItemHeight(), expected);
    EXPECT_EQ(::SendMessageA(Files(), LB_GETITEMHEIGHT, 0, 0), expected);
    ThemedList other;
    EXPECT_FALSE(other.Attach(dialog.Item(IDC_TEST_RESULT)));
    EXPECT_FALSE(other.Attach(nullptr));

    // A new font gives a new height; a fixed height wins over the font.
    Font big(::CreateFontA(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    ::SendMessageA(Files(), WM_SETFONT, reinterpret_cast<WPARAM>(big.get()), TRUE);
    EXPECT_GT(dialog.files.ItemHeight(), expected + 10);
    dialog.files.SetItemHeight(20);
    EXPECT_EQ(dialog.files.ItemHeight(), 20);
    MEASUREITEMSTRUCT measure{};
    dialog.files.MeasureItem(measure);
    EXPECT_EQ(measure.itemHeight, 20u);
    ::SendMessageA(Files(), WM_SETFONT, ::SendMessageA(dialog.hwnd(), WM_GETFONT, 0, 0), TRUE);
}

TEST_F(ThemedListTest, SelectedItemFillAndFrameFollowTheTheme) {
    dialog.files.SetItems(Paths(5));
    dialog.files.SetSelection({false, true, false, false, false});
    ::SetFocus(dialog.hwnd());  // no focus rectangle in the list
    const RECT selected = ItemRect(Files(), 1);
    const RECT plain = ItemRect(Files(), 3);
    {
        Printed pixels(Files(), kAsPainted);
        EXPECT_EQ(pixels.At(selected.left, (selected.top + selected.bottom) / 2), ThemedList::kInitialSelectionFrame);
        EXPECT_EQ(pixels.At(selected.left + 10, selected.top), ThemedList::kInitialSelectionFrame);
        EXPECT_EQ(pixels.At(selected.left + 2, selected.top + 2), ThemedList::kInitialSelectionFill);
        EXPECT_EQ(pixels.At(plain.left + 2, plain.top + 2), ThemedList::kInitialBackground);
        EXPECT_EQ(pixels.At(plain.left, plain.top), ThemedList::kInitialBackground);
        // The text is drawn 4 pixels in: some dark pixels to the right of that.
        int dark = 0;
        for (int x = plain.left + 4; x < plain.left + 60; ++x)
            for (int y = plain.top; y < plain.bottom; ++y)
                if (GetRValue(pixels.At(x, y)) < 128) ++dark;
        EXPECT_GT(dark, 10);
    }
    for (int theme : {10, 0, 3}) {
        dialog.files.SetTheme(theme);
        const Colour fill = GetThemeColour(theme, 3);
        const Colour frame = AdjustColour(GetThemeColour(theme, 4), 40);
        EXPECT_EQ(dialog.files.SelectionFill(), fill);
        EXPECT_EQ(dialog.files.SelectionFrame(), frame);
        Printed pixels(Files(), kAsPainted);
        EXPECT_EQ(pixels.At(selected.left, (selected.top + selected.bottom) / 2), frame) << theme;
        EXPECT_EQ(pixels.At(selected.left + 2, selected.top + 2), fill) << theme;
        EXPECT_EQ(pixels.At(plain.left + 2, plain.top + 2), ThemedList::kInitialBackground) << theme;
    }
    EXPECT_EQ(dialog.files.SelectionFill(), 0x6EC8FFu);             // "Orange" colour 3
    EXPECT_EQ(dialog.files.SelectionFrame(), AdjustColour(0x5677A6, 40));
}

TEST_F(ThemedListTest, EmptyListDrawsNothingButItsBackground) {
    dialog.files.SetItems({});
    ::SetFocus(dialog.Item(IDC_TEST_RULES));  // an empty list with the focus shows the system's focus mark
    Printed pixels(Files(), kAsPainted);
    RECT all{0, 0, pixels.width(), pixels.height()};
    EXPECT_EQ(pixels.Count(ThemedList::kInitialBackground, all), pixels.width() * pixels.height());
}

TEST_F(ThemedListTest, HorizontalExtentIsTheWidestTextPlusTen) {
    // A text exactly 300 pixels wide in the list's font, made of two letters.
    std::string text300;
    for (int a = 0; a < 80 && text300.empty(); ++a) {
        for (int b = 0; b < 80; ++b) {
            const std::string t = std::string(static_cast<std::size_t>(a), 'W') + std::string(static_cast<std::size_t>(b), 'i');
            const int w = TextWidth(Files(), t);
            if (w == 300) {
                text300 = t;
                break;
            }
            if (w > 300) break;
        }
    }
    ASSERT_FALSE(text300.empty()) << "no text of 300 pixels in this font";
    dialog.files.SetItems({"short", text300, "C:\\a"});
    EXPECT_EQ(dialog.files.HorizontalExtent(), 310);
    // Measured again from the control's own items.
    ::SendMessageA(Files(), LB_SETHORIZONTALEXTENT, 0, 0);
    dialog.files.UpdateHorizontalExtent();
    EXPECT_EQ(dialog.files.HorizontalExtent(), 310);
    dialog.files.DeleteItem(1);
    dialog.files.UpdateHorizontalExtent();
    EXPECT_EQ(dialog.files.HorizontalExtent(), TextWidth(Files(), "short") + 10);
    dialog.files.ResetContent();
    dialog.files.UpdateHorizontalExtent();
    EXPECT_EQ(dialog.files.HorizontalExtent(), 0);
}

TEST_F(ThemedListTest, MirrorsTheModelAndReadsSelectionsBack) {
    const std::vector<std::string> paths = Paths(5000);
    dialog.files.SetItems(paths);
    ASSERT_EQ(dialog.files.Count(), 5000);
    EXPECT_EQ(dialog.files.Text(0), paths[0]);
    EXPECT_EQ(dialog.files.Text(4999), paths[4999]);
    EXPECT_TRUE(dialog.files.SelectedIndices().empty());

    std::mt19937 random(7);
    for (int round = 0; round < 4; ++round) {
        std::vector<bool> mask(5000);
        for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = (random() % (round + 2)) == 0;
        dialog.files.SetSelection(mask);
        EXPECT_EQ(dialog.files.SelectionMask(), mask) << round;
        std::vector<int> expected;
        for (std::size_t i = 0; i < mask.size(); ++i)
            if (mask[i]) expected.push_back(static_cast<int>(i));
        EXPECT_EQ(dialog.files.SelectedIndices(), expected);
    }
    // A shorter mask leaves the rest unselected; select all and none.
    dialog.files.SetSelection({true, true});
    EXPECT_EQ(dialog.files.SelectedIndices(), (std::vector<int>{0, 1}));
    dialog.files.SelectAll();
    EXPECT_EQ(dialog.files.SelectedIndices().size(), 5000u);
    dialog.files.SelectAll(false);
    EXPECT_TRUE(dialog.files.SelectedIndices().empty());
    dialog.files.SetCaretIndex(42);
    EXPECT_EQ(dialog.files.CaretIndex(), 42);

    // A new fill replaces everything and selects nothing.
    dialog.files.SetSelection(std::vector<bool>(5000, true));
    dialog.files.SetItems({"x", "y"});
    EXPECT_EQ(dialog.files.Count(), 2);
    EXPECT_TRUE(dialog.files.SelectedIndices().empty());
}

TEST_F(ThemedListTest, SingleSelectionListSelectsTheFirstMarkedItem) {
    dialog.favourites.SetItems({"a.qvr", "b.qvr", "c.qvr"});
    dialog.favourites.SetSelection({false, true, true});
    EXPECT_EQ(dialog.favourites.CurrentSelection(), 1);
    EXPECT_EQ(dialog.favourites.SelectedIndices(), (std::vector<int>{1}));
    dialog.favourites.SetSelection({false, false, false});
    EXPECT_EQ(dialog.favourites.CurrentSelection(), -1);
    EXPECT_TRUE(dialog.favourites.SelectedIndices().empty());
}

TEST_F(ThemedListTest, UserSelectionsAreReadBackAndRemembered) {
    dialog.files.SetItems(Paths(20));
    EXPECT_EQ(dialog.files.RememberedSelection(), -1);
    Click(Files(), 3);
    EXPECT_EQ(dialog.files.SelectedIndices(), (std::vector<int>{3}));
    EXPECT_EQ(dialog.files.RememberedSelection(), 3);
    Click(Files(), 6, MK_CONTROL);
    EXPECT_EQ(dialog.files.SelectedIndices(), (std::vector<int>{3, 6}));
    EXPECT_EQ(dialog.files.RememberedSelection(), 6);
    Click(Files(), 8, MK_SHIFT);
    EXPECT_EQ(dialog.files.SelectedIndices(), (std::vector<int>{6, 7, 8}));
    // A key press moves the selection; the list remembers it after the system's handling.
    ::SetFocus(Files());
    PressKey(Files(), VK_DOWN);
    EXPECT_EQ(dialog.files.SelectedIndices(), (std::vector<int>{9}));
    EXPECT_EQ(dialog.files.RememberedSelection(), 9);
    // The list told the dialog about the user's changes.
    int changes = 0;
    for (const auto& c : dialog.commands)
        if (c.first == IDC_TEST_FILES && c.second == LBN_SELCHANGE) ++changes;
    EXPECT_GE(changes, 3);
    dialog.files.ResetContent();
    EXPECT_EQ(dialog.files.RememberedSelection(), -1);
    EXPECT_EQ(dialog.files.Count(), 0);
}

TEST_F(ThemedListTest, ScreenshotOfThemedListsWithSelections) {
    dialog.files.SetItems(Paths(40));
    dialog.files.SetSelection({false, true, true, false, true});
    dialog.files.SetTheme(6);
    dialog.rules.SetItems({"FILENAME PREFIX digit length:3", "FILENAME REPLACE \" \" with \"_\"", "FILEEXT LOWERCASE all"});
    dialog.rules.SetSelection({false, true});
    dialog.rules.SetTheme(6);
    dialog.favourites.SetItems({"Photos by date.qvr", "Music tags.qvr", "Numbering.qvr"});
    dialog.favourites.SetCurrentSelection(0);
    dialog.favourites.SetTheme(6);
    ::SetFocus(Files());
    ::UpdateWindow(dialog.hwnd());
    Pump(100);
    EXPECT_TRUE(Screenshot("themed_list"));
}

}  // namespace
}  // namespace quorv::win::test
