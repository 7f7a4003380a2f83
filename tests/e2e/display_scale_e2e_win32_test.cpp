// The program at the display's scale, end to end: the main window fits the
// work area with every control inside its client area and each control
// grown with the scale, a run shows its result lines and its status line, a
// stored size too large for the screen still opens a window whose title bar
// is on it, and screenshots of each kind of window named after the DPI.
//
// The ordinary test run is at 96 DPI; tests/e2e/display_scale.sh runs these
// cases again in a prefix of their own at 144 DPI (and at 120 and 192 when
// asked).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tests/e2e/driver/e2e_builder_win32.h"
#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

int DisplayDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// A length of the 96-DPI design at the display's DPI (halves away from zero).
int Px(int length) { return ::MulDiv(length, DisplayDpi(), 96); }

std::string Named(const std::string& what) { return "dpi" + std::to_string(DisplayDpi()) + "_" + what; }

RECT WorkArea() {
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The sizes (width, height) of the main window's controls at 96 DPI in a
// window of the first start (800 x 600 of client area), as the dialog
// template and the program place them with the fonts of the test prefix.
struct Size96 {
    int id;
    int width;
    int height;  // 0: the control reaches down to the bottom's margins
};
const Size96 kSizesAt96[] = {
    {IDC_PREVIEW, 79, 25},          {IDC_LOAD_BATCH, 89, 25},        {IDC_ADD_FILES, 82, 25},
    {IDC_SUBDIR, 58, 18},           {IDC_FILTER, 181, 23},           {IDC_CASE, 65, 16},
    {IDC_REMOVE_SELECTED, 25, 25},  {IDC_QUICKVIEW, 82, 18},         {IDC_SHELL_MENU, 81, 18},
    {IDC_FILE_FRAME, 779, 229},     {IDC_FILE_LIST, 519, 180},       {IDC_QUICKVIEW_FRAME, 245, 186},
    {IDC_BUILDER_FRAME, 425, 201},  {IDC_RULE_LIST, 382, 121},       {IDC_FAVOURITES, 341, 179},
    {IDC_RESULT_FRAME, 779, 0},     {IDC_RESULT_LIST, 770, 0},      {IDC_STATUS, 779, 16},
    {IDC_HELP_BUTTON, 72, 25},      {IDC_VALUE_LABEL, 63, 19},       {IDC_SAVE_RULES, 25, 25},
};

// What a control's side at 96 DPI should be at the display's DPI: within a
// tenth, as the template's font (and with it its dialog units) grows a
// little more or less than the DPI.
void ExpectGrown(int id, const char* side, int at96, int now) {
    const double expected = at96 * DisplayDpi() / 96.0;
    const double tolerance = std::max(3.0, expected * 0.1);
    EXPECT_LE(std::fabs(now - expected), tolerance)
        << "control " << id << " " << side << ": " << now << " pixels, " << at96 << " at 96 DPI";
}

TEST(DisplayScaleTest, MainWindowFitsAndEveryControlGrowsWithTheScale) {
    ProgramFolder folder("display-scale");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());
    const int dpi = DisplayDpi();
    std::printf("display at %d DPI\n", dpi);

    // The first start: 800 x 600 of client area at 96 DPI, grown with the
    // scale (a little more where the template's font grows more than the
    // DPI), unless the screen is smaller; the window in the work area.
    const RECT window = program.main().ScreenRect();
    const RECT work = WorkArea();
    EXPECT_TRUE(Inside(window, work)) << Show(window) << " in " << Show(work);
    const RECT client = program.main().ClientRect();
    std::printf("client area %ld x %ld\n", static_cast<long>(client.right), static_cast<long>(client.bottom));
    if (window.right - window.left < work.right - work.left && window.bottom - window.top < work.bottom - work.top) {
        EXPECT_GE(client.right, Px(800));
        EXPECT_GE(client.bottom, Px(600));
        EXPECT_LE(client.right, Px(880));
        EXPECT_LE(client.bottom, Px(660));
    }
    // Every control shown lies inside the client area.
    for (const Window& child : program.main().Children()) {
        if (!child.Visible()) continue;
        const RECT r = child.RectIn(program.main());
        EXPECT_TRUE(Inside(r, client)) << child.ClassName() << " " << child.Id() << " at " << Show(r);
    }
    // The title bar and its buttons.
    const RECT close = program.Control(IDC_CLOSE).RectIn(program.main());
    EXPECT_EQ(close.right - close.left, Px(18));
    EXPECT_EQ(close.left, client.right - Px(21));
    EXPECT_EQ(close.top, Px(3));
    // Each control about the scale times its size at 96 DPI.
    for (const Size96& s : kSizesAt96) {
        const RECT r = program.Control(s.id).RectIn(program.main());
        std::printf("  {%d, %ld, %ld},\n", s.id, static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
        ExpectGrown(s.id, "width", s.width, r.right - r.left);
        if (s.height > 0) ExpectGrown(s.id, "height", s.height, r.bottom - r.top);
    }
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("main"), window));
    ASSERT_TRUE(program.Close(true));
    // The settings keep the size in units of 96 DPI.
    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_LE(std::abs(Px(saved.width) - client.right), 1) << saved.width;
    EXPECT_LE(std::abs(Px(saved.height) - client.bottom), 1) << saved.height;
}

TEST(DisplayScaleTest, ARunShowsItsResultLinesAndStatusLine) {
    ProgramFolder folder("display-scale-run");
    ASSERT_TRUE(folder.ok());
    const std::vector<std::string> files =
        MakeFiles(folder, "data", {"Holiday photo.jpg", "notes.txt", "Report 2026.doc"});
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {"FILENAME PREFIX \"new_\""}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_TRUE(program.Click(IDC_PREVIEW));
    const std::string result = program.ResultText();
    EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 3) << result;
    EXPECT_EQ(program.Status(), ReadyStatus(3));
    // The result list shows three lines of text and the status line one,
    // both inside the client area.
    const RECT client = program.main().ClientRect();
    const RECT results = program.Control(IDC_RESULT_LIST).RectIn(program.main());
    const RECT status = program.Control(IDC_STATUS).RectIn(program.main());
    EXPECT_TRUE(Inside(results, client)) << Show(results);
    EXPECT_TRUE(Inside(status, client)) << Show(status);
    EXPECT_GE(results.bottom - results.top, 3 * Px(15)) << Show(results);
    EXPECT_GE(status.bottom - status.top, Px(14)) << Show(status);
    EXPECT_LE(results.bottom, status.top);
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("run"), program.main().ScreenRect()));

    // The rules builder with a choice open.
    const Window action = program.Control(IDC_ACTION);
    ASSERT_TRUE(RunSteps(program, {Target("FILENAME"), Action("INSERT")}));
    ASSERT_TRUE(action.Send(CB_SHOWDROPDOWN, TRUE, 0));
    ASSERT_TRUE(program.Settle());
    const RECT frame = BuilderFrameOnScreen(program);
    const RECT open = UnionOf({frame, program.Control(IDC_ACTION).ScreenRect(),
                               RECT{frame.left, frame.top, frame.right, frame.bottom + Px(120)}});
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("builder"), open));
    ASSERT_TRUE(action.Send(CB_SHOWDROPDOWN, FALSE, 0));
    ASSERT_TRUE(program.Settle());
    ASSERT_TRUE(program.Close(true));
}

TEST(DisplayScaleTest, TooLargeAStoredSizeStillOpensOnTheScreen) {
    ProgramFolder folder("display-scale-large");
    ASSERT_TRUE(folder.ok());
    SettingsRecord settings;
    settings.width = 3000;  // a large monitor's window, now on a laptop
    settings.height = 2000;
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());
    const RECT window = program.main().ScreenRect();
    const RECT work = WorkArea();
    EXPECT_TRUE(Inside(window, work)) << Show(window) << " in " << Show(work);
    // The title bar and its buttons are on the screen.
    const RECT close = program.Control(IDC_CLOSE).ScreenRect();
    EXPECT_TRUE(Inside(close, work)) << Show(close);
    for (const Window& child : program.main().Children()) {
        if (!child.Visible()) continue;
        EXPECT_TRUE(Inside(child.RectIn(program.main()), program.main().ClientRect())) << child.Id();
    }
    ASSERT_TRUE(program.Close(true));
}

TEST(DisplayScaleTest, ScreenshotsOfAMessageAMenuAndTheWaitWindow) {
    ProgramFolder folder("display-scale-shots");
    ASSERT_TRUE(folder.ok());
    // Enough files for a screenshot while the run goes on.
    std::vector<std::string> files;
    const std::string data = folder.MakeFolder("data");
    for (int i = 0; i < 1500; ++i) {
        files.push_back(data + "\\file" + std::to_string(10000 + i) + ".txt");
        ASSERT_TRUE(WriteBytes(files.back(), ""));
    }
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {"FILENAME PREFIX \"new_\""}));
    Program program(folder);
    ASSERT_TRUE(program.running());

    // The exit question.
    ASSERT_TRUE(program.Focus(IDC_FILE_LIST));
    ASSERT_TRUE(program.PressKey(VK_ESCAPE));
    const MessageView question = program.WaitForMessage();
    ASSERT_TRUE(question.window);
    const RECT box = question.window.ScreenRect();
    const RECT yes = question.window.ChildWithText("&Yes").ScreenRect();
    EXPECT_EQ(yes.right - yes.left, Px(68));
    EXPECT_EQ(yes.bottom - yes.top, Px(23));
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("message"), box));
    ASSERT_TRUE(question.Press("&No"));
    ASSERT_TRUE(program.Settle());

    // The theme menu, its items 24 pixels high at 96 DPI and 130 wide.
    ASSERT_TRUE(program.MouseClick(IDC_THEME));
    const Window menu = program.WaitForMenu();
    ASSERT_TRUE(menu);
    ASSERT_TRUE(WaitFor([&] { return menu.Visible(); }));
    const RECT menuClient = menu.ClientRect();
    EXPECT_GE(menuClient.right, Px(130));
    EXPECT_GE(menuClient.bottom, 11 * Px(24));
    const RECT button = program.Control(IDC_THEME).ScreenRect();
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("menu"), UnionOf({button, menu.ScreenRect()})));
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(program.Settle());
    ASSERT_TRUE(WaitFor([&] { return !menu; }));

    // The wait window of a long run: 300 x 130 pixels at 96 DPI.
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_TRUE(program.Control(IDC_RENAME).Click());
    const Window wait = program.WaitForWindowTitled("Please Wait...", 20000);
    ASSERT_TRUE(wait) << "no wait window";
    const RECT r = wait.ScreenRect();
    EXPECT_EQ(r.right - r.left, Px(300));
    EXPECT_EQ(r.bottom - r.top, Px(130));
    EXPECT_TRUE(Screenshot(Named("wait"), r));
    ASSERT_TRUE(program.WaitIdle());
    ASSERT_TRUE(program.Close(true));
}

// The about box (every line whole, inside the box), the help menu with its
// icons and the quick preview of a picture, with their screenshots.
TEST(DisplayScaleTest, TheAboutBoxTheHelpMenuAndTheQuickPreview) {
    ProgramFolder folder("display-scale-about");
    ASSERT_TRUE(folder.ok());
    const std::string picture = folder.At("landscape.jpg");
    ASSERT_TRUE(::CopyFileA((HostToWindowsPath(QUORV_E2E_PICTURES) + "\\landscape.jpg").c_str(), picture.c_str(),
                            FALSE));
    ASSERT_TRUE(folder.WriteHandoff({picture}));
    Program program(folder);
    ASSERT_TRUE(program.running());

    // The quick preview: the pane 4 pixels in from the frame's sides and
    // bottom and 16 down from its top, at the scale.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0}));
    const RECT frame = program.Control(IDC_QUICKVIEW_FRAME).ScreenRect();
    const Window pane = program.main().Descendant("QuorvQuickPreview");
    ASSERT_TRUE(pane);
    const RECT paneRect = pane.ScreenRect();
    EXPECT_EQ(paneRect.left - frame.left, Px(4));
    EXPECT_EQ(paneRect.top - frame.top, Px(16));
    EXPECT_EQ(frame.right - paneRect.right, Px(4));
    EXPECT_EQ(frame.bottom - paneRect.bottom, Px(4));
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("quickview"), frame));

    // The help menu below its button: 130 pixels wide at 96 DPI. The pointer
    // first rests on the status line, away from every button, until no
    // tooltip shows: the pointer left where the case before clicked may
    // have started another button's tooltip, which is not the one checked.
    const auto visibleTip = [](const Window& w) { return w.ClassName() == "tooltips_class32" && w.Visible(); };
    const RECT status = program.Control(IDC_STATUS).ScreenRect();
    ::SetCursorPos((status.left + status.right) / 2, (status.top + status.bottom) / 2);
    ::Sleep(700);
    ASSERT_TRUE(WaitFor([&] { return !program.WaitForWindow(visibleTip, 0); }, 3000));
    ASSERT_TRUE(program.MouseClick(IDC_HELP_BUTTON));
    const Window menu = program.WaitForMenu();
    ASSERT_TRUE(menu);
    ASSERT_TRUE(WaitFor([&] { return menu.Visible(); }));
    EXPECT_GE(menu.ClientRect().right, Px(130));
    // The button's tooltip stays away while its menu is open (the mouse
    // rests on the button longer than a tooltip waits).
    const Window tip = program.WaitForWindow(visibleTip, 1500);
    EXPECT_FALSE(tip) << "a tooltip over the open menu: " << Show(tip.ScreenRect());
    if (tip) Screenshot(Named("helpmenu_tooltip"));
    const RECT button = program.Control(IDC_HELP_BUTTON).ScreenRect();
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("helpmenu"), UnionOf({button, menu.ScreenRect()})));
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(program.Settle());
    ASSERT_TRUE(WaitFor([&] { return !menu; }));

    // The about box: on the screen, every line of text inside it.
    ASSERT_TRUE(program.main().Post(WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0));
    const Window about = program.WaitForWindowTitled("About Quorvane 2");
    ASSERT_TRUE(about) << "no about box";
    ASSERT_TRUE(program.Settle());
    const RECT box = about.ScreenRect();
    EXPECT_TRUE(Inside(box, WorkArea())) << Show(box);
    const RECT client = about.ClientRect();
    int lines = 0;
    for (const Window& child : about.Children()) {
        if (!child.Visible()) continue;
        ++lines;
        EXPECT_TRUE(Inside(child.RectIn(about), client)) << child.ClassName() << " " << Show(child.RectIn(about));
    }
    EXPECT_GT(lines, 2);
    EXPECT_TRUE(SaveSettledScreenshot(program, Named("about"), box));
    ASSERT_TRUE(about.Post(WM_CLOSE, 0, 0));
    ASSERT_TRUE(WaitFor([&] { return !about; }));
    ASSERT_TRUE(program.Close(true));
}

// The window made as small as it goes opens the same size at the next
// start (its smallest size grows with the template's font at some scales),
// and the settings file keeps that size in units of 96 DPI.
TEST(DisplayScaleTest, TheSmallestWindowKeepsItsSizeAcrossARestart) {
    ProgramFolder folder("display-scale-smallest");
    ASSERT_TRUE(folder.ok());
    RECT smallest{};
    {
        Program program(folder);
        ASSERT_TRUE(program.running());
        const RECT window = program.main().ScreenRect();
        MouseDrag(POINT{window.right - 2, window.bottom - 2}, POINT{window.right - Px(300), window.bottom - Px(200)});
        ASSERT_TRUE(program.Settle());
        smallest = program.main().ScreenRect();
        EXPECT_LE(smallest.right - smallest.left, window.right - window.left);
        // Never below 800 x 600 of the design.
        EXPECT_GE(smallest.right - smallest.left, Px(800));
        EXPECT_GE(smallest.bottom - smallest.top, Px(600));
        ASSERT_TRUE(program.Close(true));
    }
    Program again(folder);
    ASSERT_TRUE(again.running());
    const RECT reopened = again.main().ScreenRect();
    EXPECT_EQ(reopened.right - reopened.left, smallest.right - smallest.left) << Show(reopened);
    EXPECT_EQ(reopened.bottom - reopened.top, smallest.bottom - smallest.top) << Show(reopened);
    ASSERT_TRUE(again.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
