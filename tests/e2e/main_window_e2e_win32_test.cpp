// The main window end to end: its first start, its themes, size and
// maximized state across a restart, the exit question and the keys that
// must do nothing; screenshots of each look for review.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

RECT WorkArea() {
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

SIZE ClientSize(const Program& program) {
    const RECT r = program.main().ClientRect();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The resize rules, checked on the real controls: right edges kept at
// fixed distances from the client area's right edge, bottom edges from
// its bottom, the title bar and its buttons along the top.
void ExpectLayout(const Program& program) {
    const SIZE size = ClientSize(program);
    const int w = size.cx;
    const int h = size.cy;
    const auto rect = [&](int id) { return program.Control(id).RectIn(program.main()); };
    for (int id : {IDC_FILE_FRAME, IDC_STATUS, IDC_COMMAND_LINE, IDC_RESULT_FRAME, IDC_FAVOURITES_FRAME})
        EXPECT_EQ(rect(id).right, w - 12) << "control " << id << " at " << w << " x " << h;
    for (int id : {IDC_RESULT_LIST, IDC_FAVOURITES})
        EXPECT_EQ(rect(id).right, w - 16) << "control " << id << " at " << w << " x " << h;
    for (int id : {IDC_QUICKVIEW_FRAME, IDC_CASE, IDC_EXCLUDE})
        EXPECT_EQ(rect(id).right, w - 17) << "control " << id << " at " << w << " x " << h;
    const RECT quickView = rect(IDC_QUICKVIEW_FRAME);
    EXPECT_EQ(rect(IDC_FILE_LIST).right, w - ((quickView.right - quickView.left) + 22));
    const RECT exclude = rect(IDC_EXCLUDE);
    EXPECT_EQ(rect(IDC_FILTER).right, w - ((exclude.right - exclude.left) + 20));
    const RECT status = rect(IDC_STATUS);
    const int statusHeight = status.bottom - status.top;
    EXPECT_EQ(status.bottom, h - 2);
    EXPECT_EQ(rect(IDC_RESULT_FRAME).bottom, h - (statusHeight + 6));
    EXPECT_EQ(rect(IDC_RESULT_LIST).bottom, h - (statusHeight + 11));
    // The title bar band: the control under the middle of the top strip
    // (its id, 0xFFFF, is shared with the unnamed statics).
    const Window bandWindow(::ChildWindowFromPointEx(program.main().hwnd(), POINT{w / 2, 10}, CWP_SKIPINVISIBLE));
    ASSERT_TRUE(bandWindow);
    const RECT band = bandWindow.RectIn(program.main());
    EXPECT_EQ(band.left, 0);
    EXPECT_EQ(band.top, 0);
    EXPECT_EQ(band.right, w);
    EXPECT_EQ(band.bottom, 26);
    const struct {
        int id;
        int fromRight;
    } buttons[] = {{IDC_CLOSE, 21}, {IDM_MAXIMIZE, 42}, {IDM_MINIMIZE, 63}};
    for (const auto& b : buttons) {
        const RECT r = program.Control(b.id).RectIn(program.main());
        EXPECT_EQ(r.left, w - b.fromRight) << "caption button " << b.id;
        EXPECT_EQ(r.top, 3) << "caption button " << b.id;
        EXPECT_EQ(r.right - r.left, 18) << "caption button " << b.id;
        EXPECT_EQ(r.bottom - r.top, 18) << "caption button " << b.id;
    }
}

TEST(MainWindowTest, FirstStartShowsTheDefaultsAndWritesThem) {
    // As installed: the program, the extension and the favourite rules.
    ProgramFolder folder("first-start", ProgramParts{true, true});
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(Exists(folder.At("QuorvShell.dll")));
    Program program(folder);
    ASSERT_TRUE(program.running());

    EXPECT_EQ(program.main().Text(), "Quorvane 2");
    EXPECT_EQ(program.Status(), kFileListNullStatus);
    EXPECT_TRUE(program.Checked(IDC_QUICKVIEW));
    EXPECT_FALSE(program.Checked(IDC_CASE));
    EXPECT_FALSE(program.Checked(IDC_EXCLUDE));
    EXPECT_FALSE(program.Checked(IDC_SUBDIR));
    EXPECT_FALSE(program.Checked(IDC_SHELL_MENU));
    EXPECT_FALSE(program.Enabled(IDC_UNDO));
    EXPECT_EQ(program.Control(IDC_FILE_LIST).Count(), 0);
    EXPECT_EQ(program.ResultText(), "");
    // The favourites list holds the titles of the rule files in "favorite".
    std::vector<std::string> titles;
    for (const std::string& name : NamesIn(folder.At("favorite"))) titles.push_back(name.substr(0, name.size() - 4));
    ASSERT_FALSE(titles.empty());
    std::vector<std::string> listed = program.Items(IDC_FAVOURITES);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, titles);
    EXPECT_FALSE(program.Maximized());

    // 800 x 600 pixels of client area, the window centred in the work area.
    const SIZE client = ClientSize(program);
    EXPECT_EQ(client.cx, 800);
    EXPECT_EQ(client.cy, 600);
    const RECT window = program.main().ScreenRect();
    const RECT work = WorkArea();
    EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);
    ExpectLayout(program);

    // Theme "Silver": the title bar and the background in its colours.
    EXPECT_TRUE(WaitFor([&] { return ShownTheme(program) == kSilver; }, 3000))
        << std::hex << TitleBandPixel(program);
    const RECT onScreen = program.main().ClientOnScreen();
    EXPECT_EQ(ScreenPixel(POINT{onScreen.left + 2, onScreen.top + 200}), kBackgroundColour[kSilver]);
    EXPECT_TRUE(Screenshot("first_start", window));

    ASSERT_TRUE(program.Close(true));
    EXPECT_EQ(program.ExitCode(), 0u);
    // The settings of a first run: 38 bytes of defaults.
    const std::string settings = ReadBytes(folder.SettingsPath());
    EXPECT_EQ(settings.size(), 38u);
    EXPECT_EQ(settings, SettingsBytes(SettingsRecord{}));
}

TEST(MainWindowTest, ThemeSizeAndMaximizedStateSurviveARestart) {
    ProgramFolder folder("restart");
    ASSERT_TRUE(folder.ok());
    SIZE resized{};
    {
        Program program(folder);
        ASSERT_TRUE(program.running());
        ASSERT_TRUE(ChooseTheme(program, kSilver, kBlack));

        EXPECT_TRUE(WaitFor([&] { return ShownTheme(program) == kBlack; }, 3000))
            << std::hex << TitleBandPixel(program);

        // A drag of the lower right corner makes the window larger.
        const RECT before = program.main().ScreenRect();
        MouseDrag(POINT{before.right - 2, before.bottom - 2}, POINT{before.right + 98, before.bottom + 48});
        ASSERT_TRUE(program.Settle());
        resized = ClientSize(program);

        EXPECT_EQ(resized.cx, 900);
        EXPECT_EQ(resized.cy, 650);

        ASSERT_TRUE(program.MouseClick(IDM_MAXIMIZE));
        EXPECT_TRUE(WaitFor([&] { return program.Maximized(); }));
        // The title bar is drawn across the whole width of the screen.
        EXPECT_TRUE(WaitFor([&] { return ShownTheme(program) == kBlack; }, 3000))
            << std::hex << TitleBandPixel(program);
        ExpectLayout(program);
        const RECT maximized = program.main().ScreenRect();
        EXPECT_TRUE(Screenshot("main_maximized", maximized));
        ASSERT_TRUE(program.Close(true));
    }
    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_EQ(saved.theme, kBlack);
    EXPECT_EQ(saved.width, resized.cx);
    EXPECT_EQ(saved.height, resized.cy);
    EXPECT_TRUE(saved.maximized);
    {
        Program program(folder);
        ASSERT_TRUE(program.running());
        EXPECT_TRUE(WaitFor([&] { return program.Maximized(); }));
        ASSERT_TRUE(program.Settle());
        EXPECT_TRUE(program.Maximized());
        EXPECT_TRUE(WaitFor([&] { return ShownTheme(program) == kBlack; }, 3000))
            << std::hex << TitleBandPixel(program);
        ASSERT_TRUE(program.MouseClick(IDM_MAXIMIZE));
        EXPECT_TRUE(WaitFor([&] { return !program.Maximized(); }));

        const SIZE restored = ClientSize(program);
        EXPECT_EQ(restored.cx, resized.cx);
        EXPECT_EQ(restored.cy, resized.cy);
        ASSERT_TRUE(program.Close(true));
    }
}

TEST(MainWindowTest, TitleBandMovesAndMaximizesTheWindow) {
    ProgramFolder folder("title-band");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());

    // A drag in the title band moves the window. The first movement hands
    // the drag to the system, which moves the window from there on: by the
    // way from the first step (1/8 of the drag) to the end.
    const RECT before = program.main().ScreenRect();
    const RECT client = program.main().ClientOnScreen();
    MouseDrag(POINT{client.left + 300, client.top + 12}, POINT{client.left + 220, client.top + 76}, 8);
    ASSERT_TRUE(program.Settle());
    const RECT moved = program.main().ScreenRect();
    EXPECT_EQ(moved.left - before.left, -80 + 10);
    EXPECT_EQ(moved.top - before.top, 64 - 8);
    EXPECT_EQ(moved.right - moved.left, before.right - before.left);

    // The window cannot be made smaller than 800 x 600.
    MouseDrag(POINT{moved.right - 2, moved.bottom - 2}, POINT{moved.right - 300, moved.bottom - 200});
    ASSERT_TRUE(program.Settle());
    const RECT smallest = program.main().ScreenRect();
    EXPECT_EQ(smallest.right - smallest.left, 800);
    EXPECT_EQ(smallest.bottom - smallest.top, 600);
    ExpectLayout(program);

    // A double click in the band maximizes the window, another restores it.
    const RECT band = program.main().ClientOnScreen();
    MouseClickAt(POINT{band.left + 300, band.top + 12}, kNoModifier, true);
    ASSERT_TRUE(program.Settle());
    EXPECT_TRUE(WaitFor([&] { return program.Maximized(); }));
    ASSERT_TRUE(program.Settle());
    // Maximized, the band does not drag the window.
    const RECT full = program.main().ScreenRect();
    MouseDrag(POINT{300, 12}, POINT{350, 60});
    ASSERT_TRUE(program.Settle());
    const RECT after = program.main().ScreenRect();
    EXPECT_TRUE(::EqualRect(&full, &after));
    MouseClickAt(POINT{300, 12}, kNoModifier, true);
    ASSERT_TRUE(program.Settle());
    EXPECT_TRUE(WaitFor([&] { return !program.Maximized(); }));
    ASSERT_TRUE(program.Settle());
    const RECT restored = program.main().ScreenRect();
    EXPECT_TRUE(::EqualRect(&smallest, &restored));
    ASSERT_TRUE(program.Close(true));
}

TEST(MainWindowTest, EscapeAsksBeforeClosing) {
    ProgramFolder folder("exit-question");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());

    ASSERT_TRUE(program.Focus(IDC_FILE_LIST));
    ASSERT_TRUE(program.PressKey(VK_ESCAPE));
    const MessageView question = program.WaitForMessage();
    ASSERT_TRUE(question.window);
    EXPECT_EQ(question.caption, "Please select");
    EXPECT_EQ(question.text, "Do you want to exit \"Quorvane 2\"?");
    EXPECT_EQ(question.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    const RECT shot = UnionOf({program.main().ScreenRect(), question.window.ScreenRect()});
    EXPECT_TRUE(Screenshot("exit_question", shot));

    // No: the window stays, and nothing has been written yet.
    ASSERT_TRUE(question.Press("&No"));
    ASSERT_TRUE(program.Settle());
    EXPECT_TRUE(WaitFor([&] { return !question.window; }));
    EXPECT_TRUE(program.running());
    EXPECT_FALSE(program.OtherWindowOpen());
    EXPECT_FALSE(Exists(folder.SettingsPath()));

    // Yes: the window goes and the settings are written.
    ASSERT_TRUE(program.Close(true));
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_EQ(FileSize(folder.SettingsPath()), 38);
}

TEST(MainWindowTest, EnterDoesNothing) {
    ProgramFolder folder("enter");
    ASSERT_TRUE(folder.ok());
    const std::vector<std::string> files = MakeFiles(folder, "data", {"one.txt", "two.txt"});
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {"FILENAME PREFIX \"new_\""}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_EQ(program.Status(), ReadyStatus(2));

    // Enter in the file list and in the filter box: no run, no message, no end.
    for (int control : {IDC_FILE_LIST, IDC_FILTER}) {
        ASSERT_TRUE(program.Focus(control));
        ASSERT_TRUE(program.PressKey(VK_RETURN));
        EXPECT_TRUE(program.running()) << control;
        EXPECT_FALSE(program.OtherWindowOpen()) << control;
        EXPECT_EQ(program.ResultText(), "") << control;
        EXPECT_EQ(program.Status(), ReadyStatus(2)) << control;
        EXPECT_FALSE(program.Enabled(IDC_UNDO)) << control;
        EXPECT_EQ(program.Items(IDC_FILE_LIST), files) << control;
    }
    EXPECT_EQ(NamesIn(folder.At("data")), (std::vector<std::string>{"one.txt", "two.txt"}));
    ASSERT_TRUE(program.Close(true));
}

TEST(MainWindowTest, ScreenshotsOfThemesAndMenus) {
    ProgramFolder folder("themes");
    ASSERT_TRUE(folder.ok());
    const std::vector<std::string> files =
        MakeFiles(folder, "Holiday", {"IMG_0001.JPG", "IMG_0002.JPG", "notes from the trip.txt"});
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Photo numbers", {"FILENAME PREFIX digit length:3", "FILEEXT LOWERCASE all"}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {1}));
    ASSERT_TRUE(program.Click(IDC_PREVIEW));
    ASSERT_FALSE(program.ResultText().empty());

    // The theme menu marks the current theme only.
    Window menu = OpenMenu(program, IDC_THEME, kSilverWhite + 1, kSilver);
    ASSERT_TRUE(menu) << "the theme menu is not on the screen";
    EXPECT_EQ(MarkedMenuItems(menu, kSilverWhite + 1, kSilver), std::vector<int>{kSilver});
    RECT shot = UnionOf({program.main().ScreenRect(), menu.ScreenRect()});
    EXPECT_TRUE(Screenshot("theme_menu", shot));
    ASSERT_TRUE(program.PressKey(VK_ESCAPE));
    ASSERT_TRUE(WaitFor([&] { return !menu; }));

    int current = kSilver;
    for (int theme : {kSilver, kBlack, kOrange, kSilverWhite}) {
        if (theme != current) {
            ASSERT_TRUE(ChooseTheme(program, current, theme)) << kThemeNames[theme];
        }
        current = theme;
        EXPECT_TRUE(WaitFor([&] { return ShownTheme(program) == theme; }, 3000))
            << kThemeNames[theme] << " " << std::hex << TitleBandPixel(program);
        const RECT client = program.main().ClientOnScreen();
        EXPECT_EQ(ScreenPixel(POINT{client.left + 2, client.top + 200}), kBackgroundColour[theme]) << kThemeNames[theme];
        std::string name = std::string("main_") + kThemeNames[theme];
        for (char& c : name) c = c == ' ' ? '_' : static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        const RECT window = program.main().ScreenRect();
        EXPECT_TRUE(Screenshot(name, window));
    }

    // The theme menu follows: only "Silver White" is marked now.
    menu = OpenMenu(program, IDC_THEME, kSilverWhite + 1, kSilverWhite);
    ASSERT_TRUE(menu);
    EXPECT_EQ(MarkedMenuItems(menu, kSilverWhite + 1, kSilverWhite), std::vector<int>{kSilverWhite});
    ASSERT_TRUE(program.PressKey(VK_ESCAPE));
    ASSERT_TRUE(WaitFor([&] { return !menu; }));

    // The help menu, below its button.
    menu = OpenMenu(program, IDC_HELP_BUTTON, 5, kSilverWhite);
    ASSERT_TRUE(menu) << "the help menu is not on the screen";
    const RECT button = program.Control(IDC_HELP_BUTTON).ScreenRect();
    EXPECT_LE(std::abs(menu.ScreenRect().left - button.left), 3);
    EXPECT_LE(std::abs(menu.ScreenRect().top - button.bottom), 3);
    shot = UnionOf({program.main().ScreenRect(), menu.ScreenRect()});
    EXPECT_TRUE(Screenshot("help_menu", shot));
    ASSERT_TRUE(program.PressKey(VK_ESCAPE));
    ASSERT_TRUE(WaitFor([&] { return !menu; }));
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
