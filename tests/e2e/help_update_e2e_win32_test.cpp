// The help menu end to end: the About box whole, the manual opened from the
// menu and with F1, the maker's pages handed to the system's opener (a
// stand-in opener registered in the test prefix records them); and the
// online update against a small server of the test on 127.0.0.1 in its
// three answers: a newer version (open the download page and close), the
// newest, and no connection (refused, a site that keeps silent until the
// time-out, an answer that is no version file), the window usable while the
// site is asked.
#include <gtest/gtest.h>

#include "tests/e2e/driver/e2e_builder_win32.h"
#include "tests/e2e/driver/e2e_openers_win32.h"
#include "tests/e2e/e2e_cases.h"
#include "tests/support/http_server_win32.h"

namespace quorv::e2e {
namespace {

using Strings = std::vector<std::string>;

constexpr int kHelpItems = 5;
enum HelpItem { kAbout = 0, kManual, kWebsite, kEmail, kUpdate };

// Chooses an item of the help menu with the mouse, as a user does.
::testing::AssertionResult ChooseHelpItem(const Program& program, int item) {
    const Window menu = OpenMenu(program, IDC_HELP_BUTTON, kHelpItems, kSilver);
    if (!menu) return ::testing::AssertionFailure() << "the help menu is not on the screen";
    MouseClickAt(MenuItemCentre(menu, item, kHelpItems));
    if (!WaitFor([&] { return !menu; }, 5000)) return ::testing::AssertionFailure() << "the menu stays";
    return ::testing::AssertionSuccess();
}

// The folder with the program and the manual, as installed.
struct Installed {
    ProgramFolder folder{"help"};
    bool ok = false;
    Installed() {
        ok = folder.ok() &&
             ::CopyFileA(HostToWindowsPath(QUORV_E2E_MANUAL).c_str(), folder.At("quorv2.chm").c_str(), FALSE);
    }
};

TEST(HelpMenuTest, AboutManualPagesAndF1) {
    Openers openers;
    ASSERT_TRUE(openers.ok());
    Installed installed;
    ASSERT_TRUE(installed.ok);
    Program program(installed.folder);
    ASSERT_TRUE(program.running());

    // About...: the box with every line, and OK closes it.
    ASSERT_TRUE(ChooseHelpItem(program, kAbout));
    const Window about = program.WaitForWindowTitled("About Quorvane 2");
    ASSERT_TRUE(about);
    ASSERT_TRUE(program.Settle());
    Strings lines;
    for (const Window& child : about.Children())
        if (child.ClassName() == "Static" && !child.Text().empty()) lines.push_back(child.Text());
    EXPECT_EQ(lines, (Strings{"Quorvane 2", "Version 2.0.0",
                              "A batch file renamer: gather files, build renaming rules, preview, rename and undo.",
                              "Released under the MIT licence.",
                              "MP3 tags are read with id3lib, used under the GNU Lesser General Public Licence."}));
    const Window ok = about.ChildWithText("&OK");
    ASSERT_TRUE(ok);
    // Whole: every line fits the box, and so does the button.
    const RECT box = about.ClientOnScreen();
    for (const Window& child : about.Children()) {
        const RECT r = child.ScreenRect();
        EXPECT_TRUE(r.left >= box.left && r.right <= box.right && r.top >= box.top && r.bottom <= box.bottom)
            << child.Text();
    }
    EXPECT_TRUE(SaveSettledScreenshot(program, "about_box", UnionOf({program.main().ScreenRect(), about.ScreenRect()})));
    ASSERT_TRUE(ok.Click());
    EXPECT_TRUE(WaitFor([&] { return !about; }));
    ASSERT_TRUE(program.Settle());

    // The manual, the home page and the support page go to the system's opener.
    ASSERT_TRUE(ChooseHelpItem(program, kManual));
    ASSERT_EQ(openers.WaitForOpened(1).size(), 1u);
    ASSERT_TRUE(ChooseHelpItem(program, kWebsite));
    ASSERT_EQ(openers.WaitForOpened(2).size(), 2u);
    ASSERT_TRUE(ChooseHelpItem(program, kEmail));
    ASSERT_EQ(openers.WaitForOpened(3).size(), 3u);
    // F1, wherever the focus is, opens the manual too.
    ASSERT_TRUE(program.Focus(IDC_FILTER));
    ASSERT_TRUE(program.PressKey(VK_F1));
    const Strings opened = openers.WaitForOpened(4);
    const std::string manual = "\"" + installed.folder.At("quorv2.chm") + "\"";
    const auto same = [](const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; };
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_TRUE(same(opened[0], manual)) << opened[0];
    EXPECT_EQ(opened[1], "\"https://quorvane.org/\"");
    EXPECT_EQ(opened[2], "\"https://quorvane.org/support/\"");
    EXPECT_TRUE(same(opened[3], manual)) << opened[3];
    EXPECT_TRUE(Exists(installed.folder.At("quorv2.chm")));
    EXPECT_FALSE(DialogOpen(program));
    ASSERT_TRUE(program.Close(true));
}

// Runs "Online update" and takes the window it answers with.
MessageView AskForUpdate(const Program& program, int timeoutMs = kAnswerTimeout) {
    if (!ChooseHelpItem(program, kUpdate)) return MessageView{};
    return program.WaitForMessage(timeoutMs);
}

TEST(OnlineUpdateTest, ANewerVersionOpensTheDownloadPageAndCloses) {
    Openers openers;
    ASSERT_TRUE(openers.ok());
    test::LocalHttpServer server("9.1.0 https://quorvane.org/download/?from=2.0.0\r\n");
    ASSERT_TRUE(server.ok());
    TestUpdateAddress address(server.Address("/quorv2-version.txt"));
    ASSERT_TRUE(address.ok());
    ProgramFolder folder("update-newer");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());

    // No: nothing opens, the window stays.
    MessageView question = AskForUpdate(program);
    ASSERT_TRUE(question.window);
    EXPECT_EQ(question.caption, "Please select");
    EXPECT_EQ(question.text,
              "Quorvane 2 version 9.1.0 is available (this is version 2.0.0).\r\n"
              "Do you want to open the download page and close Quorvane 2?");
    EXPECT_EQ(question.buttons, (Strings{"&Yes", "&No"}));
    EXPECT_TRUE(SaveSettledScreenshot(program, "update_newer_question",
                                      UnionOf({program.main().ScreenRect(), question.window.ScreenRect()})));
    ASSERT_TRUE(question.Press("&No"));
    ASSERT_TRUE(WaitFor([&] { return !question.window; }));
    ASSERT_TRUE(program.Settle());
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(openers.Opened().empty());
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /quorv2-version.txt HTTP/1.1");

    // Yes: the download page opens and the program ends, its settings written.
    question = AskForUpdate(program);
    ASSERT_TRUE(question.window);
    ASSERT_TRUE(question.Press("&Yes"));
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_EQ(openers.WaitForOpened(1), Strings{"\"https://quorvane.org/download/?from=2.0.0\""});
    EXPECT_EQ(FileSize(folder.SettingsPath()), 38);
}

TEST(OnlineUpdateTest, TheSameOrAnOlderVersionIsTheNewest) {
    Openers openers;
    ASSERT_TRUE(openers.ok());
    ProgramFolder folder("update-newest");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());
    bool shot = false;
    for (const char* file : {"2.0.0 https://quorvane.org/download/", "1.9.9 https://quorvane.org/download/\n"}) {
        test::LocalHttpServer server(file);
        ASSERT_TRUE(server.ok());
        TestUpdateAddress address(server.Address("/quorv2-version.txt"));
        const MessageView message = AskForUpdate(program);
        ASSERT_TRUE(message.window) << file;
        EXPECT_EQ(message.caption, "Message") << file;
        EXPECT_EQ(message.text, "You have the newest version of Quorvane 2 (version 2.0.0).") << file;
        if (!shot) {
            EXPECT_TRUE(SaveSettledScreenshot(program, "update_newest",
                                              UnionOf({program.main().ScreenRect(), message.window.ScreenRect()})));
            shot = true;
        }
        ASSERT_TRUE(message.Press("&OK"));
        ASSERT_TRUE(WaitFor([&] { return !message.window; }));
        ASSERT_TRUE(program.Settle());
        EXPECT_EQ(server.Requests().size(), 1u) << file;
    }
    EXPECT_TRUE(openers.Opened().empty());
    EXPECT_TRUE(program.running());
    ASSERT_TRUE(program.Close(true));
}

TEST(OnlineUpdateTest, NoConnectionASilentSiteOrAnAnswerThatIsNoVersionFile) {
    ProgramFolder folder("update-none");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());
    const std::string noConnection =
        "Quorvane 2 could not connect to its web site to look for a newer version.\r\n"
        "Please check the connection to the Internet and try again later.";

    struct Case {
        const char* what;
        std::string body;
        int status;
        test::LocalHttpServer::Mode mode;
    };
    const Case cases[] = {
        {"a page of the site instead", "<html><body>Welcome</body></html>", 200, test::LocalHttpServer::Mode::Answer},
        {"not found", "2.1.0 https://quorvane.org/download/", 404, test::LocalHttpServer::Mode::Answer},
        {"a site that keeps silent", "", 200, test::LocalHttpServer::Mode::Silent},
    };
    bool shot = false;
    for (const Case& c : cases) {
        test::LocalHttpServer server(c.body, c.status, c.mode);
        ASSERT_TRUE(server.ok()) << c.what;
        TestUpdateAddress address(server.Address("/quorv2-version.txt"));
        ASSERT_TRUE(ChooseHelpItem(program, kUpdate)) << c.what;
        if (c.mode == test::LocalHttpServer::Mode::Silent) {
            // The window stays the user's while the site keeps silent: it
            // answers at once, and the menu chosen again asks nothing more.
            DWORD_PTR answer = 0;
            EXPECT_TRUE(::SendMessageTimeoutA(program.main().hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
            EXPECT_TRUE(ChooseHelpItem(program, kUpdate));
            EXPECT_TRUE(program.TypeInto(IDC_FILTER, "typed meanwhile"));
        }
        // The silent site: given up after the time-out of a few seconds.
        const MessageView message = program.WaitForMessage(30000);
        ASSERT_TRUE(message.window) << c.what;
        EXPECT_EQ(message.text, noConnection) << c.what;
        if (!shot) {
            EXPECT_TRUE(SaveSettledScreenshot(program, "update_no_connection",
                                              UnionOf({program.main().ScreenRect(), message.window.ScreenRect()})));
            shot = true;
        }
        ASSERT_TRUE(message.Press("&OK"));
        ASSERT_TRUE(WaitFor([&] { return !message.window; }));
        ASSERT_TRUE(program.Settle());
        EXPECT_EQ(server.Requests().size(), 1u) << c.what;
    }
    // An answer that comes while a dialog of the window is open waits until
    // the dialog is closed.
    {
        test::LocalHttpServer silent("", 200, test::LocalHttpServer::Mode::Silent);
        ASSERT_TRUE(silent.ok());
        TestUpdateAddress address(silent.Address("/quorv2-version.txt"));
        ASSERT_TRUE(ChooseHelpItem(program, kUpdate));
        ASSERT_TRUE(ChooseHelpItem(program, kAbout));
        const Window about = program.WaitForWindowTitled("About Quorvane 2");
        ASSERT_TRUE(about);
        const auto answer = [](const Window& w) { return w.Caption() == "Message"; };
        // The site is given up after its few seconds; the answer stays back.
        EXPECT_TRUE(WaitFor([&] { return silent.Requests().size() == 1; }));
        EXPECT_FALSE(program.WaitForWindow(answer, 9000));
        EXPECT_TRUE(about.Visible());
        ASSERT_TRUE(about.ChildWithText("&OK").Click());
        ASSERT_TRUE(program.WaitForWindow(answer, 5000));
        const MessageView message = program.WaitForMessage();
        ASSERT_TRUE(message.window);
        EXPECT_EQ(message.text, noConnection);
        ASSERT_TRUE(message.Press("&OK"));
        ASSERT_TRUE(WaitFor([&] { return !message.window; }));
        ASSERT_TRUE(program.Settle());
    }
    // Nothing listening at all.
    {
        TestUpdateAddress address("http://127.0.0.1:" + std::to_string(test::LocalHttpServer::ClosedPort()) + "/v.txt");
        const MessageView message = AskForUpdate(program);
        ASSERT_TRUE(message.window);
        EXPECT_EQ(message.text, noConnection);
        ASSERT_TRUE(message.Press("&OK"));
        ASSERT_TRUE(WaitFor([&] { return !message.window; }));
        ASSERT_TRUE(program.Settle());
    }
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
