// The main window end to end: its first start, its themes, size and
// maximized state across a restart, the exit question and the keys that
// must do nothing; screenshots of each look for review.
#include <gtest/gtest.h>

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

TEST(MainWindowTest, FirstStartShowsTheDefaultsAndWritesThem) {
    ProgramFolder folder("first-start");
    ASSERT_TRUE(folder.ok());
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
    EXPECT_FALSE(program.Maximized());

    // 800 x 600 pixels of client area, the window centred in the work area.
    const SIZE client = ClientSize(program);
    EXPECT_EQ(client.cx, 800);
    EXPECT_EQ(client.cy, 600);
    const RECT window = program.main().ScreenRect();
    const RECT work = WorkArea();
    EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);

    // Theme "Silver": the title bar and the background in its colours.
    EXPECT_TRUE(WaitUntil([&] { return ShownTheme(program) == kSilver; }, 3000))
        << std::hex << TitleBandPixel(program);
    const RECT onScreen = program.main().ClientOnScreen();
    EXPECT_EQ(ScreenPixel(POINT{onScreen.left + 2, onScreen.top + 200}), kBackgroundColour[kSilver]);
    EXPECT_TRUE(SaveScreenshot("main_silver", &window));

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

        EXPECT_TRUE(WaitUntil([&] { return ShownTheme(program) == kBlack; }, 3000))
            << std::hex << TitleBandPixel(program);

        // A drag of the lower right corner makes the window larger.
        const RECT before = program.main().ScreenRect();
        MouseDrag(POINT{before.right - 2, before.bottom - 2}, POINT{before.right + 98, before.bottom + 48});
        ASSERT_TRUE(program.Settle());
        resized = ClientSize(program);

        EXPECT_EQ(resized.cx, 900);
        EXPECT_EQ(resized.cy, 650);

        ASSERT_TRUE(program.MouseClick(IDM_MAXIMIZE));
        EXPECT_TRUE(WaitUntil([&] { return program.Maximized(); }));
        // The title bar is drawn across the whole width of the screen.
        EXPECT_TRUE(WaitUntil([&] { return ShownTheme(program) == kBlack; }, 3000))
            << std::hex << TitleBandPixel(program);
        const RECT maximized = program.main().ScreenRect();
        EXPECT_TRUE(SaveScreenshot("main_maximized", &maximized));
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
        EXPECT_TRUE(WaitUntil([&] { return program.Maximized(); }));
        EXPECT_TRUE(WaitUntil([&] { return ShownTheme(program) == kBlack; }, 3000))
            << std::hex << TitleBandPixel(program);
        ASSERT_TRUE(program.MouseClick(IDM_MAXIMIZE));
        EXPECT_TRUE(WaitUntil([&] { return !program.Maximized(); }));

        const SIZE restored = ClientSize(program);
        EXPECT_EQ(restored.cx, resized.cx);
        EXPECT_EQ(restored.cy, resized.cy);
        ASSERT_TRUE(program.Close(true));
    }
}

TEST(MainWindowTest, EscapeAsksBeforeClosing) {
    ProgramFolder folder("exit-question");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());

    ASSERT_TRUE(program.Focus(IDC_FILE_LIST));
    KeyPress(VK_ESCAPE);
    const MessageView question = program.WaitForMessage();
    ASSERT_TRUE(question.window);
    EXPECT_EQ(question.caption, "Please select");
    EXPECT_EQ(question.text, "Do you want to exit \"Quorvane 2\"?");
    EXPECT_EQ(question.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    const RECT shot = UnionOf({program.main().ScreenRect(), question.window.ScreenRect()});
    EXPECT_TRUE(SaveScreenshot("exit_question", &shot));

    // No: the window stays, and nothing has been written yet.
    ASSERT_TRUE(question.Press("&No"));
    ASSERT_TRUE(program.Settle());
    EXPECT_TRUE(WaitUntil([&] { return !question.window; }));
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
    EXPECT_TRUE(SaveScreenshot("theme_menu", &shot));
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !menu; }));

    int current = kSilver;
    for (int theme : {kSilver, kBlack, kOrange, kSilverWhite}) {
        if (theme != current) {
            ASSERT_TRUE(ChooseTheme(program, current, theme)) << kThemeNames[theme];
        }
        current = theme;
        EXPECT_TRUE(WaitUntil([&] { return ShownTheme(program) == theme; }, 3000))
            << kThemeNames[theme] << " " << std::hex << TitleBandPixel(program);
        const RECT client = program.main().ClientOnScreen();
        EXPECT_EQ(ScreenPixel(POINT{client.left + 2, client.top + 200}), kBackgroundColour[theme]) << kThemeNames[theme];
        std::string name = std::string("main_") + kThemeNames[theme];
        for (char& c : name) c = c == ' ' ? '_' : static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        const RECT window = program.main().ScreenRect();
        EXPECT_TRUE(SaveScreenshot(name, &window));
    }

    // The theme menu follows: only "Silver White" is marked now.
    menu = OpenMenu(program, IDC_THEME, kSilverWhite + 1, kSilverWhite);
    ASSERT_TRUE(menu);
    EXPECT_EQ(MarkedMenuItems(menu, kSilverWhite + 1, kSilverWhite), std::vector<int>{kSilverWhite});
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !menu; }));

    // The help menu, below its button.
    menu = OpenMenu(program, IDC_HELP_BUTTON, 5, kSilverWhite);
    ASSERT_TRUE(menu) << "the help menu is not on the screen";
    const RECT button = program.Control(IDC_HELP_BUTTON).ScreenRect();
    EXPECT_LE(std::abs(menu.ScreenRect().left - button.left), 3);
    EXPECT_LE(std::abs(menu.ScreenRect().top - button.bottom), 3);
    shot = UnionOf({program.main().ScreenRect(), menu.ScreenRect()});
    EXPECT_TRUE(SaveScreenshot("help_menu", &shot));
    KeyPress(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !menu; }));
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
