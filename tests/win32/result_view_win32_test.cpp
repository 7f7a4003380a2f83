// The result view on a real dialog under Wine: the whole text through the
// window text messages, wrapping at the window width, keyboard and mouse
// selection, Copy, scrolling, the context menu, and what it draws.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "skin/result_view_win32.h"
#include "system/text_win32.h"
#include "tests/win32/controls_test_support_win32.h"

namespace quorv::win::test {
namespace {

std::string ResultLines(int count) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 112);
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(100000 + i);
        text += "\"C:\\Users\\Photographer\\Pictures\\2024\\holiday " + n + ".jpg\"  has been changed to  \"C:\\Out\\" + n +
                "_holiday.jpg\"\r\n";
    }
    return text;
}

class ResultViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterResultView());
        ASSERT_NE(dialog.CreateModeless(IDD_CONTROLS_TEST, nullptr), nullptr);
        ::ShowWindow(dialog.hwnd(), SW_SHOW);
        view = dialog.Item(IDC_TEST_RESULT);
        ASSERT_NE(view, nullptr);
        object = ResultView::FromWindow(view);
        ASSERT_NE(object, nullptr);
        Pump(0);
    }
    void SetText(const std::string& text) { ASSERT_TRUE(::SetWindowTextA(view, text.c_str())); }
    std::pair<DWORD, DWORD> Selection() {
        DWORD b = 0, e = 0;
        ::SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&b), reinterpret_cast<LPARAM>(&e));
        return {b, e};
    }
    // Client point of the boundary before byte `offset` of row `row`.
    POINT PointOf(std::size_t row, std::size_t offset) {
        const TextRow r = object->Row(row);
        const std::string& text = object->Text();
        WindowDc dc(view);
        SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(view, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32A(dc.get(), text.data() + r.start, static_cast<int>(offset - r.start), &size);
        const int y = static_cast<int>(row - object->TopRow()) * object->LineHeight() + object->LineHeight() / 2;
        return POINT{ResultView::kMargin + size.cx, y};
    }
    int TextWidth(const std::string& text) {
        WindowDc dc(view);
        SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageA(view, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // The boundary of a one-line text nearest to x.
    DWORD NearestOffset(const std::string& line, int x) {
        for (std::size_t k = 0; k < line.size(); ++k) {
            const int left = TextWidth(line.substr(0, k));
            const int w = TextWidth(line.substr(0, k + 1)) - left;
            if (x < left + (w + 1) / 2) return static_cast<DWORD>(k);
        }
        return static_cast<DWORD>(line.size());
    }
    void Mouse(UINT message, POINT p, WPARAM keys = 0) { ::SendMessageA(view, message, keys, MAKELPARAM(p.x, p.y)); }

    TestDialog dialog;
    HWND view = nullptr;
    ResultView* object = nullptr;
};

TEST_F(ResultViewTest, TheWholeTextGoesInAndComesOutAtAnyLength) {
    const std::string text = ResultLines(100000);
    ASSERT_GT(text.size(), 10u * 1000 * 1000);
    SetText(text);
    EXPECT_EQ(static_cast<std::size_t>(::GetWindowTextLengthA(view)), text.size());
    std::string back(text.size() + 1, '\0');
    const int copied = ::GetWindowTextA(view, &back[0], static_cast<int>(back.size()));
    back.resize(static_cast<std::size_t>(copied));
    EXPECT_TRUE(back == text);
    // A short buffer gets what fits and a terminator.
    char small[11];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(::SendMessageA(view, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 10);
    EXPECT_EQ(std::string(small), text.substr(0, 10));
    // Every line at least one row, the empty last line included.
    EXPECT_GE(static_cast<std::size_t>(::SendMessageA(view, EM_GETLINECOUNT, 0, 0)), 100001u);
    SetText("");
    EXPECT_EQ(::GetWindowTextLengthA(view), 0);
    EXPECT_EQ(::SendMessageA(view, EM_GETLINECOUNT, 0, 0), 1);
}

// The wide text messages: the length counted, the whole text into a buffer
// that holds it, and the beginning into one that does not (never a
// character cut in half, always terminated).
TEST_F(ResultViewTest, WideTextMessagesAnswerTheWholeTextOrItsBeginning) {
    const std::wstring expected = L"Caf\u00e9 r\u00e9sum\u00e9\r\nna\u00efve \u00c0 la carte";
    SetText(NarrowFromWide(expected));
    const LRESULT length = ::SendMessageW(view, WM_GETTEXTLENGTH, 0, 0);
    ASSERT_EQ(static_cast<std::size_t>(length), expected.size());
    std::wstring whole(expected.size() + 1, L'x');
    EXPECT_EQ(::SendMessageW(view, WM_GETTEXT, whole.size(), reinterpret_cast<LPARAM>(&whole[0])), length);
    EXPECT_EQ(std::wstring(whole.c_str()), expected);
    for (std::size_t room : {std::size_t{1}, std::size_t{4}, std::size_t{5}, expected.size() - 1}) {
        std::wstring part(room + 4, L'x');
        EXPECT_EQ(static_cast<std::size_t>(::SendMessageW(view, WM_GETTEXT, room + 1, reinterpret_cast<LPARAM>(&part[0]))),
                  room);
        EXPECT_EQ(std::wstring(part.c_str()), expected.substr(0, room)) << room;
        EXPECT_EQ(part[room + 1], L'x') << "written past the buffer at " << room;
    }
}

TEST_F(ResultViewTest, WrapsAtTheWindowWidthAndKeepsTheTopLine) {
    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(dialog.hwnd(), WM_GETFONT, 0, 0));
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(view, WM_GETFONT, 0, 0)), dialogFont);
    const std::string text = ResultLines(200);
    SetText(text);
    const std::size_t wide = object->RowCount();
    EXPECT_GE(wide, 201u);
    // Rows never hold more than fits (blanks may hang past the edge).
    RECT client{};
    ::GetClientRect(view, &client);
    for (std::size_t r = 0; r < 30; ++r) {
        const TextRow row = object->Row(r);
        std::size_t end = row.end;
        while (end > row.start && text[end - 1] == ' ') --end;
        POINT p = PointOf(r, end);
        EXPECT_LE(p.x, client.right) << r;
    }
    ::SendMessageA(view, EM_LINESCROLL, 0, 50);
    const std::size_t topOffset = object->Row(object->TopRow()).start;
    RECT window{};
    ::GetWindowRect(view, &window);
    ::SetWindowPos(view, nullptr, 0, 0, (window.right - window.left) / 3, window.bottom - window.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    const std::size_t narrow = object->RowCount();
    EXPECT_GT(narrow, wide + 200);
    // The first visible character stays in the first visible row.
    const TextRow top = object->Row(object->TopRow());
    EXPECT_LE(top.start, topOffset);
    EXPECT_GT(top.end, topOffset);

    // A bigger font: fewer characters a row, taller rows.
    const int oldHeight = object->LineHeight();
    Font big(::CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    ::SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(big.get()), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(view, WM_GETFONT, 0, 0)), big.get());
    EXPECT_GT(object->LineHeight(), oldHeight);
    EXPECT_GT(object->RowCount(), narrow);
    ::SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
}

TEST_F(ResultViewTest, KeyboardMovesAndSelects) {
    const std::string text = "first line\r\nsecond line\r\nthird";
    SetText(text);
    ::SetFocus(view);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
    for (int i = 0; i < 10; ++i) PressKey(view, VK_RIGHT);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{10}, DWORD{10}));
    PressKey(view, VK_RIGHT);  // over CR LF in one step
    EXPECT_EQ(Selection(), std::make_pair(DWORD{12}, DWORD{12}));
    PressKey(view, VK_END, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{12}, DWORD{23}));
    PressKey(view, 'C', false, true);
    EXPECT_EQ(ClipboardText(), "second line");
    PressKey(view, VK_LEFT);  // collapses to the start
    EXPECT_EQ(Selection(), std::make_pair(DWORD{12}, DWORD{12}));
    PressKey(view, VK_RIGHT, false, true);  // next word
    EXPECT_EQ(Selection(), std::make_pair(DWORD{19}, DWORD{19}));
    PressKey(view, VK_DOWN, true);  // same column on the next line ("third" is shorter: its end)
    EXPECT_EQ(Selection(), std::make_pair(DWORD{19}, DWORD{30}));
    PressKey(view, VK_UP);
    PressKey(view, VK_UP);
    // The column of "second |" kept across the short last line, on the first line.
    EXPECT_EQ(Selection().first, NearestOffset("first line", TextWidth("second ")));
    PressKey(view, VK_HOME);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
    PressKey(view, VK_END, true, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{30}));
    PressKey(view, VK_HOME, false, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
    PressKey(view, 'A', false, true);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{30}));
    PressKey(view, VK_INSERT, false, true);
    EXPECT_EQ(ClipboardText(), text);
    // Typing changes nothing: the view is read-only.
    ::SendMessageA(view, WM_CHAR, 'x', 0);
    EXPECT_EQ(object->Text(), text);
}

TEST_F(ResultViewTest, MouseClicksDragsAndDoubleClicks) {
    SetText("first line\r\nsecond line\r\nthird");
    Mouse(WM_LBUTTONDOWN, PointOf(1, 12 + 3), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, PointOf(1, 12 + 3));
    EXPECT_EQ(::GetFocus(), view);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{15}, DWORD{15}));
    Mouse(WM_LBUTTONDOWN, PointOf(0, 2), MK_LBUTTON | MK_SHIFT);
    Mouse(WM_LBUTTONUP, PointOf(0, 2), MK_SHIFT);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{15}));
    EXPECT_EQ(object->Selection().caret, 2u);
    // Drag from "first" to inside "third".
    Mouse(WM_LBUTTONDOWN, PointOf(0, 1), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, PointOf(1, 15), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, PointOf(2, 25 + 2), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, PointOf(2, 25 + 2));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{27}));
    EXPECT_EQ(object->SelectedText(), "irst line\r\nsecond line\r\nth");
    // Moving without the button changes nothing.
    Mouse(WM_MOUSEMOVE, PointOf(0, 0));
    EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{27}));
    // A double click selects the word under it.
    Mouse(WM_LBUTTONDOWN, PointOf(1, 12 + 2), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, PointOf(1, 12 + 2));
    Mouse(WM_LBUTTONDBLCLK, PointOf(1, 12 + 2), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, PointOf(1, 12 + 2));
    EXPECT_EQ(object->SelectedText(), "second");
    // Below the last row: the last row.
    Mouse(WM_LBUTTONDOWN, POINT{0, 2000}, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, POINT{0, 2000});
    EXPECT_EQ(Selection(), std::make_pair(DWORD{25}, DWORD{25}));
}

TEST_F(ResultViewTest, ScrollBarWheelAndCaretScrolling) {
    SetText(ResultLines(1000));
    const std::size_t page = object->VisibleRows();
    const std::size_t rows = object->RowCount();
    ASSERT_GT(rows, page * 3);
    EXPECT_EQ(::SendMessageA(view, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    ::SendMessageA(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(object->TopRow(), page);
    ::SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(object->TopRow(), page + 1);
    ::SendMessageA(view, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(object->TopRow(), rows - page);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(view, SB_VERT, &si));
    EXPECT_EQ(static_cast<std::size_t>(si.nMax), rows - 1);
    EXPECT_EQ(static_cast<std::size_t>(si.nPos), rows - page);
    EXPECT_EQ(si.nPage, page);
    ::SendMessageA(view, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(object->TopRow(), 0u);
    ::SendMessageA(view, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(object->TopRow(), 0u);

    UINT lines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(object->TopRow(), lines);
    // Half notches add up.
    ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(object->TopRow(), lines);
    ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(object->TopRow(), 2 * lines);
    ::SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA * 5)), 0);
    EXPECT_EQ(object->TopRow(), 0u);

    // The caret pulls the view along.
    ::SetFocus(view);
    PressKey(view, VK_END, false, true);
    EXPECT_EQ(object->TopRow(), rows - page);
    PressKey(view, VK_PRIOR);
    EXPECT_EQ(object->TopRow(), rows - 2 * page);
    ::SendMessageA(view, EM_SETSEL, 0, 0);
    EXPECT_EQ(object->TopRow(), 0u);
    ::SendMessageA(view, EM_LINESCROLL, 0, 10);
    EXPECT_EQ(object->TopRow(), 10u);
    ::SendMessageA(view, EM_SCROLLCARET, 0, 0);
    EXPECT_EQ(object->TopRow(), 0u);
}

TEST_F(ResultViewTest, SelectionMessagesOfAnEditBox) {
    const std::string text = ResultLines(1000);
    SetText(text);
    ::SendMessageA(view, EM_SETSEL, 5, 2);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{5}));
    EXPECT_EQ(object->Selection().caret, 2u);
    ::SendMessageA(view, EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, static_cast<DWORD>(text.size())));
    // Beyond 65535 the return value gives up; the pointers do not.
    EXPECT_EQ(::SendMessageA(view, EM_GETSEL, 0, 0), -1);
    ::SendMessageA(view, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Selection(), std::make_pair(static_cast<DWORD>(text.size()), static_cast<DWORD>(text.size())));
    // An offset between CR and LF is moved before the pair.
    const std::size_t lf = text.find('\n');
    ::SendMessageA(view, EM_SETSEL, lf, lf);
    EXPECT_EQ(Selection().first, lf - 1);
    ::SendMessageA(view, EM_SETSEL, 3, 9);
    ::SendMessageA(view, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), text.substr(3, 6));
}

// Chooses from the context menu with keys posted before it opens.
void ChooseFromContextMenu(HWND view, std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys) ::PostMessageA(view, WM_KEYDOWN, key, 0);
    RECT r{};
    ::GetWindowRect(view, &r);
    ::SendMessageA(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view), MAKELPARAM(r.left + 20, r.top + 10));
}

TEST_F(ResultViewTest, ContextMenuSelectsAllAndCopies) {
    SetText("one\r\ntwo");
    ::SetFocus(dialog.Item(IDC_TEST_FILES));
    // Up from nothing: the last entry, "Select All".
    ChooseFromContextMenu(view, {VK_UP, VK_RETURN});
    EXPECT_EQ(::GetFocus(), view);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{8}));
    ::SendMessageA(view, EM_SETSEL, 5, 8);
    ChooseFromContextMenu(view, {VK_DOWN, VK_RETURN});
    EXPECT_EQ(ClipboardText(), "two");
    // Escape closes it and does nothing.
    ::SendMessageA(view, EM_SETSEL, 0, 0);
    ChooseFromContextMenu(view, {VK_ESCAPE});
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(ResultViewTest, DrawsTextSelectionAndTheParentsColours) {
    SetText("first line\r\nsecond line\r\nthird");
    ::SendMessageA(view, EM_SETSEL, 0, 10);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF background = dialog.staticBackground;
    const int h = object->LineHeight();
    ::SetFocus(view);
    {
        Printed pixels(view, kAsPainted);
        const RECT row0{0, 0, pixels.width(), h};
        const RECT row1{0, h, pixels.width(), 2 * h};
        EXPECT_GT(pixels.Count(highlight, row0), 10 * h);
        EXPECT_EQ(pixels.Count(highlight, row1), 0);
        EXPECT_EQ(pixels.At(pixels.width() - 2, h + 1), background);
        EXPECT_EQ(pixels.At(pixels.width() - 2, 3 * h + 2), background);
        // Text in the parent's text colour on row 1.
        EXPECT_GT(pixels.Count(dialog.staticText, row1), 10);
    }
    // Without the focus the selection is hidden, as in an edit box.
    ::SetFocus(dialog.Item(IDC_TEST_FILES));
    {
        Printed pixels(view, kAsPainted);
        EXPECT_EQ(pixels.Count(highlight, RECT{0, 0, pixels.width(), h}), 0);
    }
}

TEST_F(ResultViewTest, ScreenshotOfALongResultScrolledWithASelection) {
    SetText(ResultLines(100000));
    ::SetFocus(view);
    ::SendMessageA(view, EM_LINESCROLL, 0, 120000);
    const TextRow row = object->Row(object->TopRow() + 1);
    ::SendMessageA(view, EM_SETSEL, row.start + 10, row.start + 250);
    ::UpdateWindow(dialog.hwnd());
    Pump(100);
    EXPECT_TRUE(Screenshot("result_view"));
}

}  // namespace
}  // namespace quorv::win::test
