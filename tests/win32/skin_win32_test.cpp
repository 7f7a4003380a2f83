// The skin through real windows (under Wine and Xvfb): the message and
// question dialogs answered from the test, the wait window on its thread,
// the drawn controls driven by mouse and key messages and checked by their
// pixels, and screenshots of each kind of window for review.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/resource.h"
#include "platform/raii_win32.h"
#include "skin/mac_button_win32.h"
#include "skin/mac_check_box_win32.h"
#include "skin/message_dialog_win32.h"
#include "skin/paint_win32.h"
#include "skin/progress_bar_win32.h"
#include "skin/themed_dialog_win32.h"
#include "skin/title_bar_win32.h"
#include "skin/wait_window_win32.h"
#include "tests/support/messages_win32.h"
#include "tests/support/pixels_win32.h"
#include "tests/support/screenshot_win32.h"
#include "view/skin_geometry.h"
#include "view/theme.h"

namespace quorv::win {
namespace {

using quorv::test::Canvas;
using quorv::test::Printed;
using quorv::test::Pump;
using quorv::test::Screenshot;
using quorv::test::WaitFor;

// ---------------------------------------------------------------- helpers

class CommonControls : public ::testing::Environment {
public:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CommonControls);

HWND FindTopWindow(const char* caption) {
    HWND found = nullptr;
    WaitFor([&] {
        found = ::FindWindowA(nullptr, caption);
        return found != nullptr && ::IsWindowVisible(found);
    });
    return found;
}

HWND FindChild(HWND parent, const char* className, const char* text) {
    return ::FindWindowExA(parent, nullptr, className, text);
}

RECT ClientRectIn(HWND child, HWND parent) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A themed dialog on the empty popup template with drawn controls, counting
// the click commands it receives.
class DemoDialog : public ThemedDialog {
public:
    explicit DemoDialog(int theme) : ThemedDialog(theme) {}

    HWND Open() {
        HWND window = CreateModeless(IDD_EMPTY_POPUP, nullptr);
        return window;
    }
    int Clicks(int id) const {
        auto it = clicks_.find(id);
        return it == clicks_.end() ? 0 : it->second;
    }
    void ResetClicks() { clicks_.clear(); }

    std::function<void(DemoDialog&)> build;

protected:
    bool OnInitDialog() override {
        ::SetWindowTextA(hwnd(), "Quorvane 2 skin");
        if (build) build(*this);
        return false;
    }
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++clicks_[LOWORD(wParam)];
        return ThemedDialog::Route(message, wParam, lParam, result);
    }

private:
    std::map<int, int> clicks_;
};

struct DialogCloser {
    HWND window;
    ~DialogCloser() {
        if (window && ::IsWindow(window)) ::DestroyWindow(window);
    }
};

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))); }

// ------------------------------------------------------- message dialogs

struct DialogView {
    HWND window = nullptr;
    RECT frame{};
    RECT text{};
    std::string caption;
};

DialogView Inspect(const char* caption, const char* text) {
    DialogView v;
    v.window = FindTopWindow(caption);
    if (!v.window) return v;
    ::GetWindowRect(v.window, &v.frame);
    HWND label = FindChild(v.window, "Static", text);
    if (label) v.text = ClientRectIn(label, v.window);
    v.caption = WindowText(v.window);
    return v;
}

TEST(MessageDialog, OneWordGivesA220WideWindowWithCentredText) {
    std::thread shower([] { ShowMessage("Done.", 5); });
    const DialogView v = Inspect("Message", "Done.");
    ASSERT_NE(v.window, nullptr);
    const int width = v.frame.right - v.frame.left;
    const int height = v.frame.bottom - v.frame.top;
    EXPECT_EQ(width, 220);
    const int textWidth = v.text.right - v.text.left;
    EXPECT_GT(textWidth, 0);
    EXPECT_EQ(v.text.left, (220 - textWidth) / 2);
    EXPECT_EQ(v.text.top, 55);
    EXPECT_EQ(height, v.text.bottom - v.text.top + 120);
    // Centred on the screen.
    EXPECT_LE(std::abs((v.frame.left + v.frame.right) / 2 - ::GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    // One "&OK", 68 x 23, centred, 40 pixels above the bottom; "&No" hidden.
    HWND ok = FindChild(v.window, "Button", "&OK");
    ASSERT_NE(ok, nullptr);
    const RECT okRect = ClientRectIn(ok, v.window);
    EXPECT_EQ(okRect.right - okRect.left, 68);
    EXPECT_EQ(okRect.bottom - okRect.top, 23);
    EXPECT_EQ(okRect.left, (220 - 68) / 2);
    EXPECT_EQ(okRect.top, height - 40);
    HWND no = FindChild(v.window, "Button", "&No");
    ASSERT_NE(no, nullptr);
    EXPECT_FALSE(::IsWindowVisible(no));
    // The title bar across the client area and the Close button at its end.
    RECT client;
    ::GetClientRect(v.window, &client);
    HWND bar = ::GetDlgItem(v.window, IDC_TITLE_BAR);
    ASSERT_NE(bar, nullptr);
    const RECT barRect = ClientRectIn(bar, v.window);
    EXPECT_EQ(barRect.right - barRect.left, client.right);
    EXPECT_EQ(barRect.bottom - barRect.top, 26);
    HWND close = FindChild(v.window, "Button", "");
    ASSERT_NE(close, nullptr);
    const RECT closeRect = ClientRectIn(close, v.window);
    EXPECT_EQ(closeRect.left, client.right - 21);
    EXPECT_EQ(closeRect.top, 3);
    EXPECT_EQ(closeRect.right - closeRect.left, 18);
    Screenshot("message", v.window);
    ::PostMessageA(v.window, WM_KEYDOWN, VK_ESCAPE, 0);
    shower.join();
    EXPECT_EQ(::FindWindowA(nullptr, "Message"), nullptr);
}

TEST(MessageDialog, LongTextWrapsAt440AndTheWindowGrows) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "renamed ";
    text += "files.";
    std::thread shower([&text] { ShowMessage(text, 3); });
    const DialogView v = Inspect("Message", text.c_str());
    ASSERT_NE(v.window, nullptr);
    const int width = v.frame.right - v.frame.left;
    const int height = v.frame.bottom - v.frame.top;
    EXPECT_EQ(width, 500);
    EXPECT_EQ(v.text.left, 30);
    EXPECT_EQ(v.text.right - v.text.left, 440);
    // Several lines: taller than one line of the font (about 14 pixels).
    EXPECT_GT(v.text.bottom - v.text.top, 40);
    EXPECT_EQ(height, v.text.bottom - v.text.top + 120);
    HWND ok = FindChild(v.window, "Button", "&OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ClientRectIn(ok, v.window).top, height - 40);
    ::PostMessageA(v.window, WM_KEYDOWN, VK_ESCAPE, 0);
    shower.join();
}

// Runs AskYesNo on a thread; answer() acts on the dialog's window.
bool Ask(const std::string& question, int theme, const std::function<void(HWND)>& answer,
         const char* screenshot = nullptr) {
    std::atomic<int> result{-1};
    std::thread asker([&] { result = AskYesNo(question, theme) ? 1 : 0; });
    HWND window = FindTopWindow("Please select");
    if (!window) {
        asker.detach();
        ADD_FAILURE() << "no question window";
        return false;
    }
    if (screenshot) Screenshot(screenshot, window);
    answer(window);
    asker.join();
    return result == 1;
}

void ClickButton(HWND window, const char* text) {
    HWND button = FindChild(window, "Button", text);
    ASSERT_NE(button, nullptr) << text;
    ::PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    ::PostMessageA(button, WM_LBUTTONUP, 0, At(5, 5));
}

TEST(AskYesNo, YesNoEscapeAndClose) {
    const std::string question = "Do you want to exit \"Quorvane 2\"?";
    EXPECT_TRUE(Ask(question, 5, [](HWND w) {
        // The layout of a question: "&Yes" and "&No" 108 pixels apart.
        RECT frame;
        ::GetWindowRect(w, &frame);
        const int width = frame.right - frame.left;
        HWND yes = FindChild(w, "Button", "&Yes");
        HWND no = FindChild(w, "Button", "&No");
        ASSERT_NE(yes, nullptr);
        ASSERT_NE(no, nullptr);
        EXPECT_EQ(ClientRectIn(yes, w).left, (width - 176) / 2);
        EXPECT_EQ(ClientRectIn(no, w).left, (width - 176) / 2 + 108);
        EXPECT_TRUE(::IsWindowVisible(no));
        ClickButton(w, "&Yes");
    }, "question"));
    EXPECT_FALSE(Ask(question, 5, [](HWND w) { ClickButton(w, "&No"); }));
    EXPECT_FALSE(Ask(question, 5, [](HWND w) { ::PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0); }));
    EXPECT_FALSE(Ask(question, 5, [](HWND w) { ClickButton(w, ""); }));  // the Close button
    EXPECT_FALSE(Ask(question, 5, [](HWND w) { ::PostMessageA(w, WM_CLOSE, 0, 0); }));
    // Enter chooses the first button.
    EXPECT_TRUE(Ask(question, 5, [](HWND w) { ::PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0); }));
}

// ------------------------------------------------------------ wait window

HWND WaitBar(HWND window) { return ::FindWindowExW(window, nullptr, kProgressBarClass, nullptr); }

TEST(WaitWindow, TenStepsEndAtTen) {
    StartWait("Renaming in progress...", 10, 5);
    HWND window = FindTopWindow("Please Wait...");
    ASSERT_NE(window, nullptr);
    RECT frame;
    ::GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 300);
    EXPECT_EQ(frame.bottom - frame.top, 130);
    EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND bar = WaitBar(window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ClientRectIn(bar, window).left, 20);
    EXPECT_EQ(ClientRectIn(bar, window).top, 90);
    EXPECT_NE(FindChild(window, "Static", "Renaming in progress..."), nullptr);
    // The Close button is hidden.
    HWND close = FindChild(window, "Button", "");
    ASSERT_NE(close, nullptr);
    EXPECT_FALSE(::IsWindowVisible(close));

    for (int i = 0; i < 4; ++i) StepWait(-1);
    EXPECT_TRUE(WaitFor([bar] { return ::SendMessageA(bar, PBM_GETPOS, 0, 0) == 4; }));
    Screenshot("wait", window);
    for (int i = 0; i < 6; ++i) StepWait(-1);
    EXPECT_EQ(WaitPosition(), 10);
    EXPECT_TRUE(WaitFor([bar] { return ::SendMessageA(bar, PBM_GETPOS, 0, 0) == 10; }));
    // A position outside the range is ignored by the bar.
    StepWait(25);
    Pump(100);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 10);
    StopWait();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(WaitPosition(), -1);
}

TEST(WaitWindow, StoppedAtOnceLeavesNoHandles) {
    StartWait("warm-up", 5, 5);
    StopWait();
    DWORD before = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
    for (int i = 0; i < 20; ++i) {
        StartWait("Renaming in progress...", 100, i % kThemeCount);
        if (i % 2) StepWait(-1);
        StopWait();
    }
    DWORD after = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
    EXPECT_LE(after, before + 2) << before << " -> " << after;
    EXPECT_EQ(::FindWindowA(nullptr, "Please Wait..."), nullptr);
    // Steps and stops without a wait window do nothing.
    StepWait(-1);
    StopWait();
    EXPECT_EQ(WaitPosition(), -1);
    // Starting again while one runs replaces it.
    StartWait("first", 10, 5);
    StartWait("second", 10, 5);
    HWND window = FindTopWindow("Please Wait...");
    ASSERT_NE(window, nullptr);
    EXPECT_NE(FindChild(window, "Static", "second"), nullptr);
    StopWait();
    EXPECT_EQ(::FindWindowA(nullptr, "Please Wait..."), nullptr);
}

TEST(ProgressBar, PaintsFillAndHighlight) {
    DemoDialog dialog(5);
    ProgressBar bar;
    dialog.build = [&bar](DemoDialog& d) { bar.Create(d.hwnd(), RECT{20, 90, 280, 110}, 0, 10, 5); };
    DialogCloser closer{dialog.Open()};
    ASSERT_NE(closer.window, nullptr);
    bar.SetPosition(5);
    const Printed p(bar.hwnd());
    const skin::ProgressPicture picture = skin::ProgressBarPicture(Rect{0, 0, 260, 20}, 0, 10, 5, 5);
    EXPECT_EQ(p.At(100, 0), picture.bar);           // the outline
    EXPECT_EQ(p.At(200, 10), picture.background);   // not yet filled
    EXPECT_EQ(p.At(60, 14), picture.bar);           // the fill
    EXPECT_EQ(p.At(60, picture.highlightBand.top), picture.highlightColour);
    EXPECT_EQ(p.At(60, picture.lineY), picture.lineColour);
}

// ------------------------------------------------------------ check boxes

struct CheckBoxes {
    DemoDialog dialog{5};
    CMacCheckBox box;
    CMacCheckBox disabled;
    DialogCloser closer{nullptr};

    CheckBoxes() {
        dialog.build = [this](DemoDialog& d) {
            box.Create(d.hwnd(), 1003, "Case", RECT{20, 40, 100, 56}, d.NormalFont());
            disabled.Create(d.hwnd(), 1038, "Exclude", RECT{20, 60, 100, 76}, d.NormalFont());
            ::EnableWindow(disabled.hwnd(), FALSE);
        };
        closer.window = dialog.Open();
    }
};

TEST(CMacCheckBox, ClickInsideTogglesAndTellsTheParent) {
    CheckBoxes c;
    ASSERT_NE(c.closer.window, nullptr);
    HWND box = c.box.hwnd();
    ASSERT_EQ(CMacCheckBox::FromWindow(box), &c.box);
    EXPECT_FALSE(c.box.GetCheck());
    ::SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
    EXPECT_TRUE(c.box.pressed());
    EXPECT_EQ(::GetCapture(), box);
    ::SendMessageA(box, WM_LBUTTONUP, 0, At(5, 8));
    EXPECT_FALSE(c.box.pressed());
    EXPECT_TRUE(c.box.GetCheck());
    EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(::GetCapture(), box);
    Pump(50);  // the click is posted
    EXPECT_EQ(c.dialog.Clicks(1003), 1);
    // A double click counts as a press.
    ::SendMessageA(box, WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 8));
    ::SendMessageA(box, WM_LBUTTONUP, 0, At(5, 8));
    EXPECT_FALSE(c.box.GetCheck());
    Pump(50);
    EXPECT_EQ(c.dialog.Clicks(1003), 2);
}

TEST(CMacCheckBox, ReleaseOutsideKeepsTheStateAndDoesNotClick) {
    CheckBoxes c;
    ASSERT_NE(c.closer.window, nullptr);
    HWND box = c.box.hwnd();
    c.box.SetCheck(true);
    Pump(20);
    c.dialog.ResetClicks();
    ::SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
    ::SendMessageA(box, WM_MOUSEMOVE, MK_LBUTTON, At(-40, -30));
    EXPECT_FALSE(c.box.pressed());
    ::SendMessageA(box, WM_LBUTTONUP, 0, At(-40, -30));
    EXPECT_TRUE(c.box.GetCheck());
    EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(::GetCapture(), box);
    Pump(50);
    EXPECT_EQ(c.dialog.Clicks(1003), 0);
    // A release that no press on the box began is no click.
    ::SendMessageA(box, WM_LBUTTONUP, 0, At(5, 8));
    Pump(50);
    EXPECT_EQ(c.dialog.Clicks(1003), 0);
    EXPECT_TRUE(c.box.GetCheck());
}

TEST(CMacCheckBox, SpaceBarTogglesAndTellsTheParent) {
    CheckBoxes c;
    ASSERT_NE(c.closer.window, nullptr);
    HWND box = c.box.hwnd();
    ::SendMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(c.box.pressed());
    ::SendMessageA(box, WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(c.box.pressed());
    EXPECT_TRUE(c.box.GetCheck());
    Pump(50);
    EXPECT_EQ(c.dialog.Clicks(1003), 1);
}

TEST(CMacCheckBox, CheckStateAgreesWithTheSystemMessages) {
    CheckBoxes c;
    ASSERT_NE(c.closer.window, nullptr);
    HWND box = c.box.hwnd();
    ::SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(c.box.GetCheck());
    c.box.SetCheck(false);
    EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::IsDlgButtonChecked(c.closer.window, 1003), BST_UNCHECKED);
    ::CheckDlgButton(c.closer.window, 1003, BST_CHECKED);
    EXPECT_TRUE(c.box.GetCheck());
    // A box attached to a control that was already checked keeps the state.
    HWND raw = ::CreateWindowExA(0, "BUTTON", "raw", WS_CHILD | BS_AUTOCHECKBOX, 0, 80, 60, 16, c.closer.window,
                                 nullptr, nullptr, nullptr);
    ::SendMessageA(raw, BM_SETCHECK, BST_CHECKED, 0);
    CMacCheckBox attached;
    ASSERT_TRUE(attached.Attach(raw));
    EXPECT_TRUE(attached.GetCheck());
    EXPECT_FALSE(attached.Attach(raw));  // already attached
}

TEST(CMacCheckBox, DrawsTheBoxTickAndDisabledColours) {
    CheckBoxes c;
    ASSERT_NE(c.closer.window, nullptr);
    const skin::CheckBoxColours colours = skin::CheckBoxColoursFor(5);
    // 16 high: the box at (0, 2); its inside from (1, 3).
    {
        const Printed p(c.box.hwnd());
        EXPECT_EQ(p.At(0, 7), colours.frame);  // frame
        EXPECT_EQ(p.At(1, 6), colours.highlight);   // raised edge
        EXPECT_EQ(p.At(10, 6), colours.shadow);
        EXPECT_EQ(p.At(10, 3), colours.background);  // the corner pixel
        EXPECT_EQ(p.At(2, 7), colours.background);   // no tick
        EXPECT_EQ(p.At(15, 2), colours.background);  // background right of the box
    }
    c.box.SetCheck(true);
    {
        const Printed p(c.box.hwnd());
        EXPECT_EQ(p.At(2, 7), colours.tick);  // the tick
        EXPECT_EQ(p.At(3, 9), colours.shadow);
        EXPECT_EQ(p.At(12, 4), colours.dark);  // its single pixels
        EXPECT_EQ(p.At(13, 4), colours.shadow);
    }
    // Pressed: the edge is sunken.
    ::SendMessageA(c.box.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
    {
        const Printed p(c.box.hwnd());
        EXPECT_EQ(p.At(1, 6), colours.shadow);
        EXPECT_EQ(p.At(10, 10), colours.highlight);
    }
    ::SendMessageA(c.box.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(-40, -30));
    ::SendMessageA(c.box.hwnd(), WM_LBUTTONUP, 0, At(-40, -30));
    // Disabled and checked: frame and tick in colour 3.
    c.disabled.SetCheck(true);
    {
        const Printed p(c.disabled.hwnd());
        EXPECT_EQ(p.At(0, 7), colours.dark);
        EXPECT_EQ(p.At(2, 7), colours.dark);
    }
    // Another theme.
    c.dialog.SetTheme(10);
    EXPECT_EQ(c.box.theme(), 10);
    {
        const Printed p(c.box.hwnd());
        EXPECT_EQ(p.At(0, 7), skin::CheckBoxColoursFor(10).frame);
        EXPECT_EQ(p.At(15, 2), GetThemeColour(10, 1));
    }
}

// ---------------------------------------------------------------- buttons

struct Buttons {
    DemoDialog dialog{5};
    CMacButton wide;     // 60 x 24
    CMacButton narrow;   // 20 x 20
    CMacButton toggle;   // 40 x 24
    CMacButton latch;    // 40 x 24
    CMacButton extended; // 60 x 24, extends downwards
    DialogCloser closer{nullptr};

    Buttons() {
        dialog.build = [this](DemoDialog& d) {
            HWND w = d.hwnd();
            HFONT f = d.NormalFont();
            wide.Create(w, 3001, "", RECT{10, 40, 70, 64}, f);
            narrow.Create(w, 3002, "", RECT{80, 40, 100, 60}, f);
            toggle.Create(w, 3003, "", RECT{110, 40, 150, 64}, f);
            toggle.SetKind(skin::ButtonKind::Toggle);
            latch.Create(w, 3004, "", RECT{160, 40, 200, 64}, f);
            latch.SetKind(skin::ButtonKind::Latch);
            extended.Create(w, 3005, "", RECT{10, 70, 70, 94}, f);
            extended.SetExtendDownwards(true);
        };
        closer.window = dialog.Open();
    }
};

void ExpectBands(const Printed& p, int x, Colour start, Colour lightest, const char* what) {
    for (const skin::Band& band : skin::ButtonGradientBands(0, p.height(), start, lightest)) {
        EXPECT_EQ(p.At(x, band.top), band.colour) << what << " band at " << band.top;
    }
}

TEST(CMacButton, FaceGradientAndCorners) {
    Buttons b;
    ASSERT_NE(b.closer.window, nullptr);
    const Colour c1 = GetThemeColour(5, 1), c2 = GetThemeColour(5, 2), c3 = GetThemeColour(5, 3);
    const Colour outline = AdjustColour(GetThemeColour(5, 4), 70);
    {
        const Printed p(b.wide.hwnd());
        EXPECT_EQ(p.At(0, 0), c1);         // rounded corner: the dialog's background
        EXPECT_EQ(p.At(30, 0), outline);   // top edge
        EXPECT_EQ(p.At(30, 23), outline);  // bottom edge
        EXPECT_EQ(p.At(30, 1), c2);        // the light inner edge
        ExpectBands(p, 30, c2, c2, "resting");
    }
    {
        const Printed p(b.narrow.hwnd());
        EXPECT_EQ(p.At(0, 0), outline);  // square corners below 30 pixels
        EXPECT_EQ(p.At(19, 19), outline);
    }
    // Held down: the gradient starts from colour 3.
    ::SendMessageA(b.wide.hwnd(), BM_SETSTATE, TRUE, 0);
    {
        const Printed p(b.wide.hwnd());
        ExpectBands(p, 30, c3, c2, "pressed");
    }
    ::SendMessageA(b.wide.hwnd(), BM_SETSTATE, FALSE, 0);
    // Extending downwards: the face (colour 1, colour 3 pressed) reaches the
    // bottom edge instead of the outline.
    {
        const Printed p(b.extended.hwnd());
        EXPECT_EQ(p.At(30, 23), c1);
    }
    ::SendMessageA(b.extended.hwnd(), BM_SETSTATE, TRUE, 0);
    {
        const Printed p(b.extended.hwnd());
        EXPECT_EQ(p.At(30, 23), c3);
    }
    ::SendMessageA(b.extended.hwnd(), BM_SETSTATE, FALSE, 0);
}

TEST(CMacButton, HoverOutlineFollowsTheMouse) {
    Buttons b;
    ASSERT_NE(b.closer.window, nullptr);
    HWND w = b.wide.hwnd();
    ::SendMessageA(w, WM_MOUSEMOVE, 0, At(30, 12));
    EXPECT_EQ(b.wide.look(), skin::ButtonLook::MouseOver);
    EXPECT_EQ(::GetCapture(), w);
    {
        const Printed p(w);
        EXPECT_EQ(p.At(30, 1), GetThemeColour(5, 6));
    }
    ::SendMessageA(w, WM_MOUSEMOVE, 0, At(-20, 12));
    EXPECT_EQ(b.wide.look(), skin::ButtonLook::Normal);
    EXPECT_NE(::GetCapture(), w);
    {
        const Printed p(w);
        EXPECT_EQ(p.At(30, 1), GetThemeColour(5, 2));
    }
    // The capture taken by another window ends the hover.
    ::SendMessageA(w, WM_MOUSEMOVE, 0, At(30, 12));
    ::SetCapture(b.closer.window);
    EXPECT_EQ(b.wide.look(), skin::ButtonLook::Normal);
    ::ReleaseCapture();
}

TEST(CMacButton, ClicksOfPushToggleAndLatchButtons) {
    Buttons b;
    ASSERT_NE(b.closer.window, nullptr);
    const auto click = [](HWND w) {
        ::SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
        ::SendMessageA(w, WM_LBUTTONUP, 0, At(10, 10));
    };
    click(b.wide.hwnd());
    EXPECT_EQ(b.dialog.Clicks(3001), 1);
    EXPECT_EQ(b.wide.look(), skin::ButtonLook::Normal);
    // Released outside: no click.
    ::SendMessageA(b.wide.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    ::SendMessageA(b.wide.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(-30, 10));
    ::SendMessageA(b.wide.hwnd(), WM_LBUTTONUP, 0, At(-30, 10));
    EXPECT_EQ(b.dialog.Clicks(3001), 1);

    click(b.toggle.hwnd());
    EXPECT_EQ(b.toggle.look(), skin::ButtonLook::Latched);
    ::SetFocus(nullptr);  // no focus frame over the bands
    {
        const Printed p(b.toggle.hwnd());
        ExpectBands(p, 20, GetThemeColour(5, 3), GetThemeColour(5, 2), "latched");
    }
    click(b.toggle.hwnd());
    EXPECT_EQ(b.toggle.look(), skin::ButtonLook::Normal);
    EXPECT_EQ(b.dialog.Clicks(3003), 2);

    click(b.latch.hwnd());
    click(b.latch.hwnd());  // already latched: ignored, no click
    EXPECT_EQ(b.latch.look(), skin::ButtonLook::Latched);
    EXPECT_EQ(b.dialog.Clicks(3004), 1);
    // The keyboard presses a push button too.
    ::SendMessageA(b.wide.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(b.wide.hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(b.dialog.Clicks(3001), 2);
}

TEST(CMacButton, ThemeTooltipAndLookUp) {
    Buttons b;
    ASSERT_NE(b.closer.window, nullptr);
    EXPECT_EQ(CMacButton::FromWindow(b.wide.hwnd()), &b.wide);
    EXPECT_EQ(CMacButton::FromWindow(b.closer.window), nullptr);
    EXPECT_EQ(CMacCheckBox::FromWindow(b.wide.hwnd()), nullptr);
    EXPECT_FALSE(b.wide.Attach(b.narrow.hwnd()));  // already attached to another
    EXPECT_EQ(CMacButton::FromWindow(b.wide.hwnd()), &b.wide);
    EXPECT_EQ(::GetWindowLongPtrA(b.wide.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    // The dialog's theme reaches every drawn child.
    b.dialog.SetTheme(3);
    EXPECT_EQ(b.wide.theme(), 3);
    EXPECT_EQ(b.dialog.closeButton().theme(), 3);
    EXPECT_EQ(b.dialog.titleBar().theme(), 3);
    {
        const Printed p(b.wide.hwnd());
        EXPECT_EQ(p.At(0, 0), GetThemeColour(3, 1));
        EXPECT_EQ(p.At(30, 0), AdjustColour(GetThemeColour(3, 4), 70));
    }
    // Tooltip: one tool, the theme's colours.
    b.wide.AddTooltip("Preview");
    ASSERT_NE(b.wide.tooltip(), nullptr);
    EXPECT_EQ(::SendMessageA(b.wide.tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(static_cast<Colour>(::SendMessageA(b.wide.tooltip(), TTM_GETTIPBKCOLOR, 0, 0)), GetThemeColour(3, 2));
    EXPECT_EQ(static_cast<Colour>(::SendMessageA(b.wide.tooltip(), TTM_GETTIPTEXTCOLOR, 0, 0)),
              AdjustColour(GetThemeColour(3, 4), -50));
    EXPECT_EQ(::SendMessageA(b.wide.tooltip(), TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    b.wide.AddTooltip("Preview the new names");
    EXPECT_EQ(::SendMessageA(b.wide.tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    b.wide.SetTheme(10);
    EXPECT_EQ(static_cast<Colour>(::SendMessageA(b.wide.tooltip(), TTM_GETTIPTEXTCOLOR, 0, 0)), GetThemeColour(10, 4));
    // Icons come from the program's resources; a missing one is refused.
    EXPECT_TRUE(b.wide.SetIcon(IDI_PREVIEW));
    EXPECT_TRUE(b.wide.SetArrowIcon(IDI_DROP_DOWN));
    EXPECT_TRUE(b.wide.SetIcon32(IDI_PROGRAM));
    EXPECT_FALSE(b.wide.SetIcon(4242));
}

TEST(CMacButton, CaptionButtonOutline) {
    DemoDialog dialog(5);
    DialogCloser closer{dialog.Open()};
    ASSERT_NE(closer.window, nullptr);
    CMacButton& close = dialog.closeButton();
    ASSERT_NE(close.hwnd(), nullptr);
    EXPECT_EQ(::GetDlgCtrlID(close.hwnd()), IDC_CLOSE);
    const Printed p(close.hwnd());
    EXPECT_EQ(p.width(), 18);
    EXPECT_EQ(p.At(0, 9), AdjustColour(GetThemeColour(5, 3), -36));
    EXPECT_EQ(p.At(1, 9), GetThemeColour(5, 1));
    // A click on it closes as Escape does.
    ::SendMessageA(close.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(9, 9));
    ::SendMessageA(close.hwnd(), WM_LBUTTONUP, 0, At(9, 9));
    EXPECT_EQ(dialog.Clicks(IDC_CLOSE), 1);
}

// ---------------------------------------------------------------- title bar

TEST(TitleBar, BandsOfTheThemeAcrossTheWidth) {
    DemoDialog dialog(5);
    DialogCloser closer{dialog.Open()};
    ASSERT_NE(closer.window, nullptr);
    HWND bar = dialog.titleBar().hwnd();
    ASSERT_NE(bar, nullptr);
    char className[16] = {};
    ::GetClassNameA(bar, className, sizeof className);
    EXPECT_STREQ(className, "Static");
    EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(bar)), 0xFFFFu);
    for (int theme : {5, 1, 10}) {
        dialog.SetTheme(theme);
        const Printed p(bar);
        ASSERT_EQ(p.height(), 26);
        const std::vector<skin::Band> bands = skin::TitleBarBands(0, 26, theme);
        for (const skin::Band& band : bands) {
            EXPECT_EQ(p.At(p.width() - 2, band.top), band.colour) << theme << " " << band.top;
            EXPECT_EQ(p.At(p.width() - 2, band.top + 1), band.colour) << theme << " " << band.top;
        }
    }
    // A negative theme paints nothing.
    dialog.titleBar().SetTheme(-1);
    const Printed p(bar);
    EXPECT_EQ(p.At(p.width() - 2, 5), static_cast<Colour>(Printed::kUntouched));
}

TEST(TitleBar, CaptionColoursFollowActivation) {
    DemoDialog dialog(5);
    DialogCloser closer{dialog.Open()};
    ASSERT_NE(closer.window, nullptr);
    // Counts the pixels of a colour in the caption area.
    const auto count = [&](Colour colour) {
        const Printed p(dialog.titleBar().hwnd());
        int n = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 29; x < 160; ++x) n += p.At(x, y) == colour;
        return n;
    };
    ::SendMessageA(closer.window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(dialog.titleBar().active());
    EXPECT_GT(count(GetThemeColour(5, 7)), 20);  // white text
    ::SendMessageA(closer.window, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(dialog.titleBar().active());
    EXPECT_EQ(count(GetThemeColour(5, 7)), 0);
    EXPECT_GT(count(GetThemeColour(5, 3)), 20);  // colour 3 text
    EXPECT_GT(count(GetThemeColour(5, 4)), 20);  // colour 4 shadow
}

TEST(TitleBar, RepaintedAloneItLeavesTheCloseButtonAlone) {
    DemoDialog dialog(5);
    DialogCloser closer{dialog.Open()};
    ASSERT_NE(closer.window, nullptr);
    ::SetWindowPos(closer.window, HWND_TOP, 100, 100, 220, 120, SWP_SHOWWINDOW);
    Pump(200);
    RECT close;
    ::GetWindowRect(dialog.closeButton().hwnd(), &close);
    // Screen pixels: Wine copies a window's drawing to the screen while
    // this thread dispatches its messages.
    const auto screenPixel = [](int x, int y) {
        WindowDc screen(nullptr);
        return static_cast<Colour>(::GetPixel(screen.get(), x, y));
    };
    const int y = close.top + 9;
    const Colour outline = AdjustColour(GetThemeColour(5, 3), -36);
    ASSERT_EQ(screenPixel(close.left, y), outline);
    // The bar alone takes another theme and repaints; the button keeps its
    // picture of the first one.
    dialog.titleBar().SetTheme(10);
    ::UpdateWindow(dialog.titleBar().hwnd());
    Pump(200);
    RECT bar;
    ::GetWindowRect(dialog.titleBar().hwnd(), &bar);
    for (const skin::Band& band : skin::TitleBarBands(0, 26, 10)) {
        if (band.top <= y - bar.top && y - bar.top < band.bottom) EXPECT_EQ(screenPixel(close.left - 3, y), band.colour);
    }
    EXPECT_EQ(screenPixel(close.left, y), outline);
    EXPECT_EQ(screenPixel(close.left + 1, y), GetThemeColour(5, 1));
}

// -------------------------------------------------------- window and frame

TEST(ThemedDialog, DefaultThemeFrameAndBackground) {
    DemoDialog dialog(kDefaultTheme);
    EXPECT_EQ(dialog.theme(), 5);
    DialogCloser closer{dialog.Open()};
    ASSERT_NE(closer.window, nullptr);
    {
        WindowDc dc(closer.window);
        EXPECT_EQ(reinterpret_cast<HBRUSH>(::SendMessageA(closer.window, WM_CTLCOLORSTATIC,
                                                          reinterpret_cast<WPARAM>(dc.get()), 0)),
                  dialog.BackgroundBrush());
        EXPECT_EQ(reinterpret_cast<HBRUSH>(::SendMessageA(closer.window, WM_CTLCOLORDLG,
                                                          reinterpret_cast<WPARAM>(dc.get()), 0)),
                  dialog.BackgroundBrush());
    }
    LOGBRUSH brush{};
    ASSERT_TRUE(::GetObjectA(dialog.BackgroundBrush(), sizeof brush, &brush));
    EXPECT_EQ(brush.lbColor, GetThemeColour(5, 1));
    LOGFONTA font{};
    ASSERT_TRUE(::GetObjectA(dialog.NormalFont(), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    ASSERT_TRUE(::GetObjectA(dialog.BoldFont(), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
}

TEST(ThemedDialog, DoubleClickOnTheTopStripMaximizes) {
    DemoDialog dialog(5);
    DialogCloser closer{dialog.Open()};
    ASSERT_NE(closer.window, nullptr);
    ::SendMessageA(closer.window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(100, 24));
    EXPECT_EQ(dialog.Clicks(IDM_MAXIMIZE), 1);
    ::SendMessageA(closer.window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(100, 25));  // below the 25-pixel strip
    EXPECT_EQ(dialog.Clicks(IDM_MAXIMIZE), 1);
}

TEST(ThemedDialog, WindowFrameRings) {
    // A 40 x 30 window with a 4-pixel border: three rings, then colour 1 up
    // to the client area, which stays untouched.
    const Canvas canvas(40, 30, RGB(255, 0, 255));
    PaintWindowFrame(canvas.dc(), RECT{0, 0, 40, 30}, RECT{4, 4, 36, 26}, 5);
    const skin::FrameColours f = skin::WindowFrameColours(5);
    const auto at = [&canvas](int x, int y) { return static_cast<Colour>(canvas.At(x, y)); };
    EXPECT_EQ(at(20, 0), f.outer);
    EXPECT_EQ(at(20, 1), f.middle);
    EXPECT_EQ(at(20, 2), f.inner);
    EXPECT_EQ(at(39, 15), f.outer);
    EXPECT_EQ(at(38, 29), f.outer);
    EXPECT_EQ(at(1, 15), f.middle);
    EXPECT_EQ(at(20, 3), GetThemeColour(5, 1));
    EXPECT_EQ(at(36, 15), GetThemeColour(5, 1));
    EXPECT_EQ(at(20, 15), static_cast<Colour>(RGB(255, 0, 255)));
    EXPECT_EQ(at(4, 4), static_cast<Colour>(RGB(255, 0, 255)));
}

// ------------------------------------------------------------ screenshots

// A dialog with the kinds of drawn controls the main window uses.
struct Showcase {
    DemoDialog dialog;
    CMacButton preview, rename, undo, theme, help, remove, up, down, add, toggle;
    CMacCheckBox quickView, subdir, caseBox, exclude;
    ProgressBar bar;
    DialogCloser closer{nullptr};

    explicit Showcase(int themeIndex) : dialog(themeIndex) {
        dialog.build = [this, themeIndex](DemoDialog& d) {
            HWND w = d.hwnd();
            HFONT f = d.NormalFont();
            preview.Create(w, 1019, "&Preview", RECT{10, 34, 85, 57}, f);
            preview.SetIcon(IDI_PREVIEW);
            rename.Create(w, 1020, "&Rename", RECT{88, 34, 163, 57}, f);
            rename.SetIcon(IDI_RENAME);
            undo.Create(w, 1021, "&Undo", RECT{166, 34, 241, 57}, f);
            undo.SetIcon(IDI_UNDO);
            ::EnableWindow(undo.hwnd(), FALSE);
            theme.Create(w, 1048, "Theme", RECT{244, 34, 324, 57}, f);
            theme.SetIcon(IDI_THEME);
            theme.SetArrowIcon(IDI_DROP_DOWN);
            help.Create(w, 1047, "Help", RECT{327, 34, 397, 57}, f);
            help.SetIcon(IDI_ABOUT);
            help.SetArrowIcon(IDI_DROP_DOWN);
            remove.Create(w, 1005, "", RECT{10, 66, 34, 90}, f);
            remove.SetIcon(IDI_REMOVE_SELECTED);
            up.Create(w, 1042, "", RECT{37, 66, 61, 90}, f);
            up.SetIcon(IDI_MOVE_UP);
            down.Create(w, 1043, "", RECT{64, 66, 88, 90}, f);
            down.SetIcon(IDI_MOVE_DOWN);
            add.Create(w, 1007, "", RECT{91, 66, 115, 90}, f);
            add.SetIcon(IDI_ADD_RULE);
            toggle.Create(w, 3003, "Latched", RECT{124, 66, 204, 90}, f);
            toggle.SetKind(skin::ButtonKind::Toggle);
            quickView.Create(w, 1035, "QuickView", RECT{220, 66, 310, 82}, f);
            quickView.SetCheck(true);
            subdir.Create(w, 1027, "Subdir", RECT{220, 86, 310, 102}, f);
            caseBox.Create(w, 1003, "Case", RECT{316, 66, 396, 82}, f);
            exclude.Create(w, 1038, "Exclude", RECT{316, 86, 396, 102}, f);
            exclude.SetCheck(true);
            ::EnableWindow(exclude.hwnd(), FALSE);
            HWND label = ::CreateWindowExA(0, "STATIC", ThemeName(themeIndex), WS_CHILD | WS_VISIBLE, 10, 112, 200, 16,
                                           w, nullptr, nullptr, nullptr);
            ::SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
            bar.Create(w, RECT{10, 134, 396, 154}, 0, 10, themeIndex);
            bar.SetPosition(6);
        };
        closer.window = dialog.Open();
        if (!closer.window) return;
        const int width = 412, height = 170;
        ::SetWindowPos(closer.window, HWND_TOP, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                       (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_SHOWWINDOW);
        dialog.SetTheme(themeIndex);
        // One button in its mouse-over look, one latched.
        ::SendMessageA(toggle.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
        ::SendMessageA(toggle.hwnd(), WM_LBUTTONUP, 0, At(5, 5));
        ::SendMessageA(rename.hwnd(), WM_MOUSEMOVE, 0, At(20, 10));
        ::SetForegroundWindow(closer.window);
    }
};

TEST(Screenshots, ShowcaseInFourThemes) {
    const std::pair<int, const char*> themes[] = {
        {5, "showcase-silver"}, {0, "showcase-black"}, {3, "showcase-orange"}, {10, "showcase-silver-white"}};
    for (const auto& [index, name] : themes) {
        Showcase s(index);
        ASSERT_NE(s.closer.window, nullptr);
        EXPECT_EQ(s.preview.theme(), index);
        EXPECT_EQ(s.exclude.theme(), index);
        Screenshot(name, s.closer.window);
        ::ReleaseCapture();
    }
}

}  // namespace
}  // namespace quorv::win
