// Every window of the program at the display's scale, in this process (it
// carries the program's manifest and resources, so it is as aware of the
// display's DPI as the program): no caption of a button, check box, group
// box or static text is cut, measured with the control's own font against
// the room the control gives its text; and a window moved to a screen of
// another DPI (WM_DPICHANGED, sent here as Windows sends it: Wine has one
// DPI for all its screens) rescales itself and comes back to the same
// places.
//
// The ordinary test run is at 96 DPI and also checks 144 DPI through
// WM_DPICHANGED; the display scale runs (tests/e2e/display_scale.sh) run
// the same cases with the prefix's DPI at 144.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/about_dialog_win32.h"
#include "app/main_window_win32.h"
#include "app/resource.h"
#include "platform/raii_win32.h"
#include "skin/dpi_win32.h"
#include "skin/mac_button_win32.h"
#include "skin/mac_check_box_win32.h"
#include "skin/message_dialog_win32.h"
#include "skin/paint_win32.h"
#include "skin/result_view_win32.h"
#include "skin/wait_window_win32.h"
#include "system/system.h"
#include "system/system_access.h"
#include "tests/support/messages_win32.h"
#include "view/main_layout.h"
#include "view/scale.h"
#include "view/settings_file.h"
#include "view/skin_geometry.h"

namespace quorv::win {
namespace {

using quorv::test::Pump;
using quorv::test::WaitFor;

class ProgramSetUp : public ::testing::Environment {
public:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);
        ::OleInitialize(nullptr);
        RegisterResultView();
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ProgramSetUp);

// The texts the rule builder shows in its value label.
const char* const kValueLabels[] = {"with", "position:", "start:", "length:", "format:", "property:"};

// The longest message the program shows from a run (a whole path wraps).
const char kLongMessage[] =
    "The file \"C:\\Users\\Someone\\Pictures\\Holiday 2024\\IMG_0001 - the beach at sunset.jpg\" could not be "
    "renamed because another program has it open. Close that program and try again.";

// The program's main window, made as the program makes it (without its
// modal loop), and gone with this object.
class OpenMainWindow {
public:
    OpenMainWindow() : window_(SystemServices()) {
        // The window reads and writes its settings beside this program.
        ::DeleteFileA((GetProgramFolder() + kSettingsFileName).c_str());
        hwnd_ = window_.CreateModeless(IDD_MAIN, nullptr);
        Pump(100);
    }
    ~OpenMainWindow() {
        if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
        Pump(20);
        ::DeleteFileA((GetProgramFolder() + kSettingsFileName).c_str());
    }
    HWND hwnd() const { return hwnd_; }
    MainWindow& window() { return window_; }

private:
    MainWindow window_;
    HWND hwnd_ = nullptr;
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, static_cast<int>(sizeof name));
    return name;
}

RECT RectIn(HWND child, HWND parent) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The size a text takes in a window's own font: on one line, or its height
// when wrapped within width (width > 0).
SIZE TextSize(HWND control, const std::string& text, UINT format, int width = 0) {
    WindowDc dc(control);
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextNarrow(dc.get(), text, r, format | DT_CALCRECT | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The captions cut in a window: one line per control whose text does not
// fit the room it gets (none when every caption is whole).
std::vector<std::string> CutCaptions(HWND window, Scale scale) {
    std::vector<std::string> cut;
    const auto check = [&](HWND control, const std::string& text, const SIZE& need, const RECT& room) {
        const int width = room.right - room.left;
        const int height = room.bottom - room.top;
        if (need.cx <= width && need.cy <= height) return;
        char line[512];
        std::snprintf(line, sizeof line, "\"%s\" (%s %d): needs %ld x %ld, has %d x %d", text.c_str(),
                      ClassOf(control).c_str(), ::GetDlgCtrlID(control), static_cast<long>(need.cx),
                      static_cast<long>(need.cy), width, height);
        cut.emplace_back(line);
    };
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        const std::string text = WindowText(child);
        if (text.empty()) continue;
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        if (const CMacButton* button = CMacButton::FromWindow(child)) {
            // An icon button (one-letter caption, as wide as its icon) shows
            // no text at all.
            const RECT room = button->TextRoom();
            if (button->iconResource() != 0 && room.right - room.left <= 0) continue;
            check(child, text, TextSize(child, text, 0), room);
        } else if (const CMacCheckBox* box = CMacCheckBox::FromWindow(child)) {
            check(child, text, TextSize(child, text, 0), box->TextRoom());
        } else if (ClassOf(child) == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) {
            // The frame's caption sits a little in from its left edge, and
            // the frame goes on beyond it.
            RECT room{};
            ::GetClientRect(child, &room);
            room.right -= 2 * scale.Px(8);
            check(child, text, TextSize(child, text, 0), room);
        } else if (ClassOf(child) == "Static") {
            const UINT kind = static_cast<UINT>(style & SS_TYPEMASK);
            if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP) continue;
            RECT room{};
            ::GetClientRect(child, &room);
            const UINT format = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            if (kind == SS_LEFTNOWORDWRAP) {
                check(child, text, TextSize(child, text, format), room);
                continue;
            }
            // Wrapped: all its lines fit the height, and no word is wider
            // than a line.
            SIZE need = TextSize(child, text, format, room.right);
            need.cx = 0;
            for (std::size_t start = 0; start < text.size();) {
                std::size_t end = text.find(' ', start);
                if (end == std::string::npos) end = text.size();
                need.cx = std::max(need.cx, TextSize(child, text.substr(start, end - start), format).cx);
                start = end + 1;
            }
            check(child, text, need, room);
        }
    }
    return cut;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += "\n  " + line;
    return all;
}

// What Windows sends a window moved to a screen of another DPI, with the
// rectangle it suggests: the window's own, grown or shrunk from its
// top-left corner.
void MoveToDpi(HWND window, int fromDpi, int toDpi) {
    RECT r{};
    ::GetWindowRect(window, &r);
    RECT suggested{r.left, r.top, r.left + ::MulDiv(r.right - r.left, toDpi, fromDpi),
                   r.top + ::MulDiv(r.bottom - r.top, toDpi, fromDpi)};
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(toDpi, toDpi), reinterpret_cast<LPARAM>(&suggested));
    Pump(50);
}

// The DPI the display has, and the other one the cases check (144 at 96,
// else 96).
int DisplayDpi() { return WindowScale(::GetDesktopWindow()).dpi(); }
int OtherDpi() { return DisplayDpi() == 96 ? 144 : 96; }

// Checks the captions of a window at the display's DPI and at the other one.
void ExpectWholeCaptions(const char* what, HWND window, const std::function<void()>& more = {}) {
    ASSERT_TRUE(window) << what;
    const int dpis[] = {DisplayDpi(), OtherDpi()};
    for (int i = 0; i < 2; ++i) {
        if (i == 1) MoveToDpi(window, dpis[0], dpis[1]);
        const std::vector<std::string> cut = CutCaptions(window, Scale(dpis[i]));
        EXPECT_TRUE(cut.empty()) << what << " at " << dpis[i] << " DPI:" << Joined(cut);
        if (more) more();
    }
}

TEST(DisplayScaleCaptions, MainWindow) {
    OpenMainWindow main;
    ASSERT_TRUE(main.hwnd());
    HWND label = ::GetDlgItem(main.hwnd(), IDC_VALUE_LABEL);
    ExpectWholeCaptions("the main window", main.hwnd(), [&] {
        // Each text the rule builder's value label shows.
        for (const char* text : kValueLabels) {
            SetWindowTextNarrow(label, text);
            ::ShowWindow(label, SW_SHOW);
            const std::vector<std::string> cut = CutCaptions(main.hwnd(), WindowScale(main.hwnd()));
            EXPECT_TRUE(cut.empty()) << "the value label at " << main.window().scale().dpi() << " DPI:" << Joined(cut);
        }
    });
}

TEST(DisplayScaleCaptions, MessagesAndQuestions) {
    struct Case {
        const char* text;
        MessageDialog::Kind kind;
    };
    const Case cases[] = {
        {"Done.", MessageDialog::kMessage},
        {kLongMessage, MessageDialog::kMessage},
        {"Do you want to exit \"Quorvane 2\"?", MessageDialog::kQuestion},
        {kLongMessage, MessageDialog::kQuestion},
    };
    for (const Case& c : cases) {
        MessageDialog dialog(c.text, c.kind, kDefaultTheme);
        HWND window = dialog.CreateModeless(IDD_EMPTY_POPUP, nullptr);
        ExpectWholeCaptions(c.text, window);
        if (window) ::DestroyWindow(window);
    }
}

TEST(DisplayScaleCaptions, AboutBoxShowsEveryLineWhole) {
    AboutDialog about(kDefaultTheme);
    HWND window = about.CreateModeless(IDD_EMPTY_POPUP, nullptr);
    ExpectWholeCaptions("the about box", window, [&] {
        // Every line of the box has a window of its own, inside the box.
        RECT client{};
        ::GetClientRect(window, &client);
        int lines = 0;
        for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) != "Static" || WindowText(child).empty()) continue;
            ++lines;
            const RECT r = RectIn(child, window);
            EXPECT_LE(r.bottom, client.bottom) << WindowText(child);
            EXPECT_LE(r.right, client.right) << WindowText(child);
        }
        EXPECT_EQ(lines, kAboutLineCount);
    });
    ::DestroyWindow(window);
}

TEST(DisplayScaleCaptions, WaitWindow) {
    StartWait("Renaming in progress...", 10, kDefaultTheme);
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        window = ::FindWindowA(nullptr, "Please Wait...");
        return window && ::IsWindowVisible(window);
    }));
    ExpectWholeCaptions("the wait window", window);
    StopWait();
}

// ---------------------------------------------------------------- WM_DPICHANGED

LONG FontHeight(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

// The main window moved to a screen of 150 % and back (at 96 DPI; from the
// display's DPI to the other one and back elsewhere).
TEST(DisplayScaleChange, MainWindowRescalesItselfAndComesBack) {
    OpenMainWindow main;
    HWND window = main.hwnd();
    ASSERT_TRUE(window);
    const int from = DisplayDpi();
    const int to = OtherDpi();
    ASSERT_EQ(main.window().scale().dpi(), from);
    // Where every control is at the display's DPI.
    std::vector<std::pair<HWND, RECT>> before;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        before.emplace_back(child, RectIn(child, window));
    RECT windowBefore{};
    ::GetWindowRect(window, &windowBefore);
    RECT clientBefore{};
    ::GetClientRect(window, &clientBefore);
    const LONG fontBefore = FontHeight(::GetDlgItem(window, IDC_PREVIEW));
    const int itemBefore = static_cast<int>(::SendMessageW(::GetDlgItem(window, IDC_FILE_LIST), LB_GETITEMHEIGHT, 0, 0));

    MoveToDpi(window, from, to);
    const Scale s(to);
    EXPECT_EQ(main.window().scale().dpi(), to);
    // The client area grows or shrinks with the DPI (within the pixel the
    // rounding takes; Wine keeps the frame of the display's DPI), at the
    // place Windows suggests.
    RECT moved{};
    ::GetWindowRect(window, &moved);
    EXPECT_EQ(moved.left, windowBefore.left);
    EXPECT_EQ(moved.top, windowBefore.top);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_LE(std::abs(client.right - ::MulDiv(clientBefore.right, to, from)), 1) << client.right;
    EXPECT_LE(std::abs(client.bottom - ::MulDiv(clientBefore.bottom, to, from)), 1) << client.bottom;
    // The title bar and its buttons at the new scale.
    const RECT band = RectIn(main.window().titleBar().hwnd(), window);
    EXPECT_EQ(band.bottom, s.Px(26));
    EXPECT_EQ(band.right, client.right);
    const struct {
        int id;
        int fromRight;
    } buttons[] = {{IDC_CLOSE, 21}, {IDM_MAXIMIZE, 42}, {IDM_MINIMIZE, 63}};
    for (const auto& b : buttons) {
        const RECT r = RectIn(::GetDlgItem(window, b.id), window);
        EXPECT_EQ(r.left, client.right - s.Px(b.fromRight)) << b.id;
        EXPECT_EQ(r.top, s.Px(3)) << b.id;
        EXPECT_EQ(r.right - r.left, s.Px(18)) << b.id;
        EXPECT_EQ(r.bottom - r.top, s.Px(18)) << b.id;
    }
    // The template's controls that keep their places are where the
    // template puts them at the new scale; the others follow the resize
    // rules at the new scale.
    // (Not the combo boxes: they take the height of their font.)
    for (int id : {IDC_PREVIEW, IDC_ADD_FILES, IDC_SUBDIR, IDC_VALUE_LABEL, IDC_RULE_LIST, IDC_SAVE_RULES}) {
        HWND control = ::GetDlgItem(window, id);
        const auto old = std::find_if(before.begin(), before.end(), [&](const auto& p) { return p.first == control; });
        ASSERT_NE(old, before.end());
        const Rect expected = s.From(FromRECT(old->second), Scale(from));
        EXPECT_EQ(FromRECT(RectIn(control, window)), expected) << id << ": " << Show(RectIn(control, window));
    }
    EXPECT_EQ(RectIn(::GetDlgItem(window, IDC_FILE_FRAME), window).right, client.right - s.Px(12));
    EXPECT_EQ(RectIn(::GetDlgItem(window, IDC_FAVOURITES), window).right, client.right - s.Px(16));
    EXPECT_EQ(RectIn(::GetDlgItem(window, IDC_STATUS), window).bottom, client.bottom - s.Px(2));
    // The fonts, the lists' items and the drawn controls at the new scale.
    EXPECT_EQ(FontHeight(::GetDlgItem(window, IDC_PREVIEW)), s.Px(-12));
    EXPECT_EQ(FontHeight(::GetDlgItem(window, IDC_FILTER)), s.Px(-12));
    const int itemAfter = static_cast<int>(::SendMessageW(::GetDlgItem(window, IDC_FILE_LIST), LB_GETITEMHEIGHT, 0, 0));
    if (to > from) {
        EXPECT_GT(itemAfter, itemBefore);
    } else {
        EXPECT_LT(itemAfter, itemBefore);
    }
    EXPECT_EQ(CMacButton::FromWindow(::GetDlgItem(window, IDC_PREVIEW))->scale(), s);
    EXPECT_EQ(CMacCheckBox::FromWindow(::GetDlgItem(window, IDC_CASE))->scale(), s);

    // Back at the display's DPI: every control where it was, the fonts as
    // they were.
    MoveToDpi(window, to, from);
    RECT back{};
    ::GetWindowRect(window, &back);
    EXPECT_EQ(back.right - back.left, windowBefore.right - windowBefore.left);
    EXPECT_EQ(back.bottom - back.top, windowBefore.bottom - windowBefore.top);
    for (const auto& [control, r] : before) {
        const RECT now = RectIn(control, window);
        EXPECT_TRUE(::EqualRect(&r, &now))
            << ClassOf(control) << " " << ::GetDlgCtrlID(control) << ": " << Show(r) << " now " << Show(now);
    }
    EXPECT_EQ(FontHeight(::GetDlgItem(window, IDC_PREVIEW)), fontBefore);
    EXPECT_EQ(static_cast<int>(::SendMessageW(::GetDlgItem(window, IDC_FILE_LIST), LB_GETITEMHEIGHT, 0, 0)),
              itemBefore);
}

// However the window is maximized or restored, the Maximize button shows
// what a press does next.
TEST(DisplayScaleChange, MaximizeButtonFollowsTheWindowsState) {
    OpenMainWindow main;
    HWND window = main.hwnd();
    ASSERT_TRUE(window);
    ::ShowWindow(window, SW_SHOW);
    Pump(100);
    const CMacButton* maximize = CMacButton::FromWindow(::GetDlgItem(window, IDM_MAXIMIZE));
    ASSERT_NE(maximize, nullptr);
    EXPECT_EQ(maximize->iconResource(), IDI_MAXIMIZE);
    const struct {
        const char* how;
        std::function<void()> maximizeIt;
        std::function<void()> restoreIt;
    } ways[] = {
        {"the system menu or its keys",
         [&] { ::SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0); },
         [&] { ::SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0); }},
        {"the button", [&] { ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_MAXIMIZE, BN_CLICKED), 0); },
         [&] { ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_MAXIMIZE, BN_CLICKED), 0); }},
        {"a double click in the title band",
         [&] { ::SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 10)); },
         [&] { ::SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 10)); }},
        {"another program", [&] { ::ShowWindow(window, SW_MAXIMIZE); }, [&] { ::ShowWindow(window, SW_RESTORE); }},
    };
    for (const auto& way : ways) {
        way.maximizeIt();
        Pump(50);
        EXPECT_TRUE(::IsZoomed(window)) << way.how;
        EXPECT_EQ(maximize->iconResource(), IDI_RESTORE) << way.how;
        way.restoreIt();
        Pump(50);
        EXPECT_FALSE(::IsZoomed(window)) << way.how;
        EXPECT_EQ(maximize->iconResource(), IDI_MAXIMIZE) << way.how;
    }
}

}  // namespace
}  // namespace quorv::win
