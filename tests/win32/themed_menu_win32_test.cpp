// The themed popup menu under Wine: measuring, drawing of items,
// separators, ticks and icons in the theme's colours, and a real popup
// opened at a button's corner, drawn by its owner and chosen from.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "skin/result_view_win32.h"
#include "tests/win32/controls_test_support_win32.h"

namespace quorv::win::test {
namespace {

const char* const kThemeNames[] = {"Black", "Sky",   "Lime",      "Orange",     "Licorice",    "Silver",
                                   "Blue",  "Green", "Dark Blue", "Dark Green", "Silver White"};

DRAWITEMSTRUCT ItemToDraw(const ThemedMenu& menu, UINT id, HDC dc, RECT rect, UINT action, UINT state) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemID = id;
    d.itemAction = action;
    d.itemState = state;
    d.hwndItem = reinterpret_cast<HWND>(menu.handle());
    d.hDC = dc;
    d.rcItem = rect;
    d.itemData = reinterpret_cast<ULONG_PTR>(&menu);
    return d;
}

// A 16 by 16 icon of one colour.
IconHandle SolidIcon(COLORREF colour) {
    WindowDc screen(nullptr);
    Bitmap colourBits(::CreateCompatibleBitmap(screen.get(), 16, 16));
    Bitmap mask(::CreateBitmap(16, 16, 1, 1, nullptr));
    {
        DcHandle dc(::CreateCompatibleDC(screen.get()));
        SelectGuard s(dc.get(), colourBits.get());
        Brush brush(::CreateSolidBrush(colour));
        const RECT all{0, 0, 16, 16};
        ::FillRect(dc.get(), &all, brush.get());
        SelectGuard m(dc.get(), mask.get());
        ::PatBlt(dc.get(), 0, 0, 16, 16, BLACKNESS);  // all opaque
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colourBits.get();
    info.hbmMask = mask.get();
    return IconHandle(::CreateIconIndirect(&info));
}

TEST(ThemedMenuTest, MeasuresItemsSeparatorsAndWidth) {
    ThemedMenu menu;
    menu.AppendThemedItem(7001, "About...");
    menu.AppendSeparator();
    menu.AppendThemedItem(7002, "A much longer entry text");
    MEASUREITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = 7001;
    item.itemData = reinterpret_cast<ULONG_PTR>(&menu);
    ASSERT_TRUE(menu.MeasureItem(item));
    EXPECT_EQ(item.itemHeight, 24u);
    const UINT measuredWidth = item.itemWidth;
    item.itemID = 0;  // the separator
    ASSERT_TRUE(menu.MeasureItem(item));
    EXPECT_EQ(item.itemHeight, 12u);
    EXPECT_EQ(item.itemWidth, measuredWidth);  // every item is as wide as the menu

    // Measured: the widest text in the menu font + 22, + 26 once an item has an icon.
    Font font(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    menu.SetFont(font.get());
    const int textWidth = [&] {
        WindowDc dc(nullptr);
        SelectGuard f(dc.get(), font.get());
        SIZE size{};
        const std::string t = "A much longer entry text";
        ::GetTextExtentPoint32A(dc.get(), t.data(), static_cast<int>(t.size()), &size);
        return static_cast<int>(size.cx);
    }();
    EXPECT_EQ(menu.MenuWidth(), textWidth + 22);
    IconHandle icon = SolidIcon(RGB(255, 0, 0));
    menu.SetItemIcon(7001, icon.get());
    EXPECT_EQ(menu.MenuWidth(), textWidth + 26);
    // The main window's menus: 130 pixels.
    menu.SetWidth(130);
    item.itemID = 7002;
    ASSERT_TRUE(menu.MeasureItem(item));
    EXPECT_EQ(item.itemWidth, 130u);

    // Items of another menu, and other kinds of control, are not this menu's.
    ThemedMenu other;
    other.AppendThemedItem(7002, "x");
    item.itemData = reinterpret_cast<ULONG_PTR>(&other);
    EXPECT_FALSE(menu.MeasureItem(item));
    item.itemData = reinterpret_cast<ULONG_PTR>(&menu);
    item.CtlType = ODT_LISTBOX;
    EXPECT_FALSE(menu.MeasureItem(item));

    // Without any text: the system's menu-button width.
    ThemedMenu empty;
    empty.AppendThemedItem(1, "");
    EXPECT_EQ(empty.MenuWidth(), ::GetSystemMetrics(SM_CXMENUSIZE));
}

TEST(ThemedMenuTest, DrawsSelectionFrameFillAndBackgroundInTheTheme) {
    ThemedMenu menu;
    menu.AppendThemedItem(7100, "Black");
    menu.SetTheme(10);
    const Colour background = GetThemeColour(10, 2);
    const Colour fill = GetThemeColour(10, 3);
    const Colour frame = AdjustColour(GetThemeColour(10, 4), 40);
    Canvas canvas(130, 24);
    const RECT rect{0, 0, 130, 24};
    menu.DrawItem(ItemToDraw(menu, 7100, canvas.dc(), rect, ODA_DRAWENTIRE, ODS_SELECTED));
    EXPECT_EQ(canvas.At(0, 0), frame);
    EXPECT_EQ(canvas.At(129, 12), frame);
    EXPECT_EQ(canvas.At(1, 1), fill);
    EXPECT_EQ(canvas.At(15, 12), fill);  // left of the text, no tick (unchecked)
    // Deselected: the background again, no frame.
    menu.DrawItem(ItemToDraw(menu, 7100, canvas.dc(), rect, ODA_SELECT, 0));
    EXPECT_EQ(canvas.At(0, 0), background);
    EXPECT_EQ(canvas.At(1, 1), background);
    // Selected through a selection change.
    menu.DrawItem(ItemToDraw(menu, 7100, canvas.dc(), rect, ODA_SELECT, ODS_SELECTED));
    EXPECT_EQ(canvas.At(0, 0), frame);
    EXPECT_EQ(canvas.At(1, 1), fill);
    // The text is black, 22 pixels in.
    int dark = 0, darkLeft = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 130; ++x)
            if (GetRValue(canvas.At(x, y)) < 100) (x < 22 ? darkLeft : dark)++;
    EXPECT_GT(dark, 10);
    EXPECT_EQ(darkLeft, 0);
    // Another theme changes all three.
    menu.SetTheme(1);
    menu.DrawItem(ItemToDraw(menu, 7100, canvas.dc(), rect, ODA_DRAWENTIRE, 0));
    EXPECT_EQ(canvas.At(1, 1), GetThemeColour(1, 2));
}

TEST(ThemedMenuTest, TickOfSevenLinesForACheckedItem) {
    ThemedMenu menu;
    menu.AppendThemedItem(7105, "Silver");
    menu.SetTheme(5);
    const Colour background = GetThemeColour(5, 2);
    const Colour frame = AdjustColour(GetThemeColour(5, 4), 40);
    Canvas canvas(130, 24);
    menu.DrawItem(ItemToDraw(menu, 7105, canvas.dc(), RECT{0, 0, 130, 24}, ODA_DRAWENTIRE, ODS_CHECKED));
    // The 14 by 14 box at left + 4, centred: rows 5 to 18.
    const int boxLeft = 4, boxTop = 5;
    EXPECT_EQ(canvas.At(boxLeft, boxTop), frame);
    EXPECT_EQ(canvas.At(boxLeft + 13, boxTop + 13), frame);
    EXPECT_EQ(canvas.At(boxLeft + 1, boxTop + 1), background);
    const int tops[7] = {6, 7, 8, 7, 6, 5, 4};
    for (int k = 0; k < 7; ++k) {
        const int x = boxLeft + 4 + k;
        for (int dy = 0; dy < 3; ++dy) EXPECT_EQ(canvas.At(x, boxTop + tops[k] + dy), frame) << k << "," << dy;
        EXPECT_EQ(canvas.At(x, boxTop + tops[k] - 1), background) << k;
        EXPECT_EQ(canvas.At(x, boxTop + tops[k] + 3), background) << k;
    }
    // Unchecked: no box.
    menu.DrawItem(ItemToDraw(menu, 7105, canvas.dc(), RECT{0, 0, 130, 24}, ODA_DRAWENTIRE, 0));
    EXPECT_EQ(canvas.At(boxLeft, boxTop), background);
}

TEST(ThemedMenuTest, IconsAtLeftPlusFourAndSeparators) {
    ThemedMenu menu;
    menu.AppendThemedItem(7001, "About...");
    menu.AppendSeparator();
    menu.AppendThemedItem(7002, "User manual");
    IconHandle icon = SolidIcon(RGB(255, 0, 0));
    menu.SetItemIcon(7001, icon.get());
    menu.SetTheme(5);
    const Colour background = GetThemeColour(5, 2);
    Canvas canvas(130, 24);
    menu.DrawItem(ItemToDraw(menu, 7001, canvas.dc(), RECT{0, 0, 130, 24}, ODA_DRAWENTIRE, 0));
    EXPECT_EQ(canvas.At(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(19, 19), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(3, 12), background);
    EXPECT_EQ(canvas.At(20, 12), background);
    // A checked item without an icon in a menu with icons gets the tick box.
    menu.DrawItem(ItemToDraw(menu, 7002, canvas.dc(), RECT{0, 0, 130, 24}, ODA_DRAWENTIRE, ODS_CHECKED));
    EXPECT_EQ(canvas.At(4, 5), AdjustColour(GetThemeColour(5, 4), 40));

    // The separator: background, and an etched line 5 pixels down, 6 in from each side.
    Canvas line(130, 12);
    menu.DrawItem(ItemToDraw(menu, 0, line.dc(), RECT{0, 0, 130, 12}, ODA_DRAWENTIRE, 0));
    EXPECT_EQ(line.At(60, 2), background);
    EXPECT_EQ(line.At(60, 5), ::GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(line.At(60, 6), ::GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(line.At(3, 5), background);
    // A taller separator rectangle draws in its bottom 12 pixels.
    Canvas tall(130, 20);
    menu.DrawItem(ItemToDraw(menu, 0, tall.dc(), RECT{0, 0, 130, 20}, ODA_DRAWENTIRE, 0));
    EXPECT_EQ(tall.At(60, 13), ::GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(tall.At(60, 2), RGB(0, 0, 0));  // above the 12 pixels: untouched
}

TEST(ThemedMenuTest, CheckOnlyKeepsOneThemeChecked) {
    ThemedMenu menu;
    for (UINT k = 0; k < 11; ++k) menu.AppendThemedItem(7100 + k, kThemeNames[k]);
    menu.CheckOnly(7100, 7110, 7105);
    menu.CheckOnly(7100, 7110, 7110);
    for (UINT k = 0; k < 11; ++k) EXPECT_EQ(menu.IsChecked(7100 + k), k == 10) << k;
    // Typed letters: one match is chosen, of several the first is highlighted.
    EXPECT_EQ(menu.MenuChar('O', menu.handle()), MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_EQ(menu.MenuChar('l', menu.handle()), MAKELRESULT(2, MNC_SELECT));
    EXPECT_EQ(menu.MenuChar('x', menu.handle()), 0);
    ThemedMenu other;
    EXPECT_EQ(menu.MenuChar('O', other.handle()), 0);
    ASSERT_NE(menu.ItemText(7108), nullptr);
    EXPECT_EQ(*menu.ItemText(7108), "Dark Blue");
    EXPECT_EQ(menu.ItemText(7200), nullptr);
}

// The open popup: found as the system's menu window, seen, then chosen from
// with the keyboard.
struct PopupVisit {
    HWND popup = nullptr;
    RECT rect{};
    bool shot = false;
};
PopupVisit* g_visit = nullptr;

void CALLBACK VisitPopup(HWND owner, UINT, UINT_PTR id, DWORD) {
    HWND popup = ::FindWindowA("#32768", nullptr);
    if (!popup || !::IsWindowVisible(popup)) return;
    if (!g_visit->popup) {
        // First visit: note the popup and go to the second item.
        g_visit->popup = popup;
        ::GetWindowRect(popup, &g_visit->rect);
        ::PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
        return;
    }
    // Second visit: the item is highlighted; keep a picture, then choose it.
    ::KillTimer(owner, id);
    ::UpdateWindow(popup);
    // Taken from another thread: this one stays inside the menu's own loop.
    std::thread shooter([] { g_visit->shot = Screenshot("themed_menu"); });
    shooter.join();
    ::PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
}

TEST(ThemedMenuTest, PopupOpensAtTheButtonCornerAndSendsTheChosenCommand) {
    ASSERT_TRUE(RegisterResultView());
    TestDialog dialog;
    ASSERT_NE(dialog.CreateModeless(IDD_CONTROLS_TEST, nullptr), nullptr);
    ::ShowWindow(dialog.hwnd(), SW_SHOW);
    ::SetForegroundWindow(dialog.hwnd());
    Pump(50);
    ThemedMenu menu;
    Font font(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    menu.SetFont(font.get());
    menu.SetWidth(130);
    for (UINT k = 0; k < 11; ++k) menu.AppendThemedItem(7100 + k, kThemeNames[k]);
    menu.CheckOnly(7100, 7110, 7105);
    menu.SetTheme(5);
    dialog.menus.push_back(&menu);

    const POINT corner = ThemedMenu::BelowLeft(dialog.Item(IDC_TEST_FAVOURITES));
    RECT listRect{};
    ::GetWindowRect(dialog.Item(IDC_TEST_FAVOURITES), &listRect);
    EXPECT_EQ(corner.x, listRect.left);
    EXPECT_EQ(corner.y, listRect.bottom);

    PopupVisit visit;
    g_visit = &visit;
    ::SetTimer(dialog.hwnd(), 77, 100, &VisitPopup);
    menu.Track(dialog.hwnd(), corner);
    g_visit = nullptr;
    ASSERT_NE(visit.popup, nullptr) << "the popup never showed";
    EXPECT_TRUE(visit.shot);
    EXPECT_EQ(visit.rect.left, corner.x);
    EXPECT_EQ(visit.rect.top, corner.y);
    // Eleven items of 24 pixels, at least 130 wide, each measured and drawn by the owner.
    EXPECT_GE(visit.rect.right - visit.rect.left, 130);
    EXPECT_GE(visit.rect.bottom - visit.rect.top, 11 * 24);
    EXPECT_LE(visit.rect.bottom - visit.rect.top, 11 * 24 + 12);
    EXPECT_GE(dialog.menuMeasures, 11);
    EXPECT_GE(dialog.menuDraws, 11);
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& c : dialog.commands)
            if (c.first == 7101) return true;
        return false;
    }));

    // A typed letter reaches the owner as WM_MENUCHAR and chooses "Orange".
    ::PostMessageA(dialog.hwnd(), WM_CHAR, 'o', 0);
    menu.Track(dialog.hwnd(), corner);
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& c : dialog.commands)
            if (c.first == 7103) return true;
        return false;
    }));
}

}  // namespace
}  // namespace quorv::win::test
