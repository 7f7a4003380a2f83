// The context menu end to end: the extension's menu item chosen for real
// files starts the program of the install folder, which lists them and
// deletes the handoff file; the "ShellMenu" box registers and unregisters
// the extension, and tells when the DLL is missing.
#include <gtest/gtest.h>

#include "shell/shell_ids_win32.h"
#include "tests/e2e/driver/e2e_builder_win32.h"
#include "tests/e2e/driver/e2e_shell_win32.h"
#include "tests/e2e/driver/e2e_unicode_win32.h"
#include "tests/e2e/e2e_cases.h"
#include "tests/win32/shell_test_support.h"

namespace quorv::e2e {
namespace {

using Strings = std::vector<std::string>;

const std::wstring kClassKey = L"CLSID\\" QUORV_SHELL_CLSID_KEY;
const std::wstring kHandlerKey = L"*\\shellex\\ContextMenuHandlers\\Quorvane Shell";
const std::wstring kProgIdKey = L"QuorvShell.QuorvaneShell";

// The folder without its trailing backslash, as the installation stores it.
std::wstring InstallFolderOf(const ProgramFolder& folder) {
    const std::string path = folder.path();
    return Widen(path.substr(0, path.size() - 1));
}

// No registration of the extension (the keys that unregistration removes).
void ForgetRegistration() {
    test::DeleteTree(HKEY_CLASSES_ROOT, kClassKey);
    test::DeleteTree(HKEY_CLASSES_ROOT, kHandlerKey);
    test::DeleteTree(HKEY_CLASSES_ROOT, kProgIdKey);
    test::DeleteTree(HKEY_CLASSES_ROOT, kProgIdKey + L".1");
}

::testing::AssertionResult RegisteredFor(const std::string& dll) {
    const auto server = test::ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", nullptr);
    if (!server) return ::testing::AssertionFailure() << "no InprocServer32";
    if (::lstrcmpiW(server->c_str(), Widen(dll).c_str()) != 0)
        return ::testing::AssertionFailure() << "InprocServer32 names " << Narrow(*server);
    if (test::ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel") !=
        std::optional<std::wstring>(L"Apartment"))
        return ::testing::AssertionFailure() << "no apartment threading";
    if (test::ReadString(HKEY_CLASSES_ROOT, kHandlerKey, nullptr) != std::optional<std::wstring>(QUORV_SHELL_CLSID_KEY))
        return ::testing::AssertionFailure() << "no context-menu handler entry";
    if (test::ReadString(HKEY_CLASSES_ROOT, kProgIdKey + L"\\CurVer", nullptr) !=
        std::optional<std::wstring>(L"QuorvShell.QuorvaneShell.1"))
        return ::testing::AssertionFailure() << "no version-independent ProgID";
    return ::testing::AssertionSuccess();
}

bool Unregistered() {
    return !test::KeyExists(HKEY_CLASSES_ROOT, kClassKey) && !test::KeyExists(HKEY_CLASSES_ROOT, kHandlerKey) &&
           !test::KeyExists(HKEY_CLASSES_ROOT, kProgIdKey);
}

// What a click showed.
struct Shown {
    bool shown = false;
    std::string caption;
    std::string text;
};

// Clicks the "ShellMenu" box; the message it shows, if any, read and answered.
Shown ClickShellMenu(const Program& program) {
    Shown result;
    if (!program.Click(IDC_SHELL_MENU)) return result;
    if (DialogOpen(program)) {
        const MessageView message = program.WaitForMessage();
        if (message.window) {
            result = Shown{true, message.caption, message.text};
            message.Press("&OK");
            WaitFor([&] { return !message.window; });
        }
    }
    program.Settle();
    return result;
}

TEST(ShellTest, MenuItemHandsTheFilesToANewWindow) {
    ProgramFolder folder("shell-menu", ProgramParts{true, false});
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "picked", {"first.txt", "second file.txt", "third.jpg"});
    test::InstallFolderValue install;
    install.Set(InstallFolderOf(folder));

    std::vector<std::wstring> wide;
    for (const std::string& file : files) wide.push_back(Widen(file));
    ASSERT_TRUE(ChooseMenuItem(Widen(folder.At("QuorvShell.dll")), wide));
    StartedProgram program(Widen(folder.ProgramPath()));
    ASSERT_TRUE(program.running()) << "no window of " << folder.ProgramPath();
    const Window list = program.Control(IDC_FILE_LIST);
    EXPECT_TRUE(WaitFor([&] { return list.Count() == 3; }));
    EXPECT_EQ(list.Items(), files);
    EXPECT_FALSE(Exists(folder.HandoffPath()));
    EXPECT_EQ(program.Control(IDC_STATUS).Text(), kRuleListNullStatus);
    const RECT shot = program.main().ScreenRect();
    EXPECT_TRUE(SaveSettledScreenshot(program.main(), "shell_handoff", shot));
    EXPECT_TRUE(program.Close());
}

TEST(ShellTest, UnicodeNamesReachTheWindow) {
    ProgramFolder folder("shell-unicode", ProgramParts{true, false});
    ASSERT_TRUE(folder.ok());
    const std::wstring data = Widen(folder.At("data"));
    const std::vector<std::wstring> files = {data + L"\\\u5199\u771f_\u6771\u4eac.txt",
                                             data + L"\\\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.txt",
                                             data + L"\\party \U0001F389.txt"};
    for (const std::wstring& file : files) ASSERT_TRUE(MakeFolders(data) && WriteBytes(file, "x"));
    test::InstallFolderValue install;
    install.Set(InstallFolderOf(folder));

    ASSERT_TRUE(ChooseMenuItem(Widen(folder.At("QuorvShell.dll")), files));
    StartedProgram program(Widen(folder.ProgramPath()));
    ASSERT_TRUE(program.running());
    const Window list = program.Control(IDC_FILE_LIST);
    EXPECT_TRUE(WaitFor([&] { return list.Count() == 3; }));
    EXPECT_EQ(WideItems(list), files);
    EXPECT_FALSE(Exists(folder.HandoffPath()));
    EXPECT_TRUE(program.Close());
}

TEST(ShellTest, ShellMenuBoxRegistersAndUnregisters) {
    ProgramFolder folder("shell-box", ProgramParts{true, false});
    ASSERT_TRUE(folder.ok());
    ForgetRegistration();
    const std::string dll = folder.At("QuorvShell.dll");
    {
        Program program(folder);
        ASSERT_TRUE(program.running());
        ASSERT_FALSE(program.Checked(IDC_SHELL_MENU));

        Shown message = ClickShellMenu(program);
        EXPECT_FALSE(message.shown) << message.text;
        EXPECT_TRUE(program.Checked(IDC_SHELL_MENU));
        EXPECT_TRUE(RegisteredFor(dll));

        message = ClickShellMenu(program);
        EXPECT_FALSE(message.shown) << message.text;
        EXPECT_FALSE(program.Checked(IDC_SHELL_MENU));
        EXPECT_TRUE(Unregistered());
        // The keys other programs share stay.
        EXPECT_TRUE(test::KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
        EXPECT_TRUE(test::KeyExists(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers"));

        message = ClickShellMenu(program);
        EXPECT_TRUE(program.Checked(IDC_SHELL_MENU));
        ASSERT_TRUE(program.Close(true));
    }
    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_TRUE(saved.shellMenu);

    // Started with the box checked: registered again, without a message.
    ForgetRegistration();
    Program program(folder);
    ASSERT_TRUE(program.running());
    EXPECT_FALSE(DialogOpen(program));
    EXPECT_TRUE(program.Checked(IDC_SHELL_MENU));
    EXPECT_TRUE(RegisteredFor(dll));
    const Shown message = ClickShellMenu(program);
    EXPECT_FALSE(message.shown) << message.text;
    EXPECT_TRUE(Unregistered());
    ASSERT_TRUE(program.Close(true));
}

TEST(ShellTest, ShellMenuBoxWithoutTheDllShowsTheLoadMessage) {
    ProgramFolder folder("shell-no-dll");
    ASSERT_TRUE(folder.ok());
    ForgetRegistration();
    const std::string dll = folder.At("QuorvShell.dll");
    const std::string loadMessage = "Unable to load " + dll + ", Error ID:126";
    Program program(folder);
    ASSERT_TRUE(program.running());

    // Ticking without the DLL: the message, and the box ends clear.
    Shown message = ClickShellMenu(program);
    ASSERT_TRUE(message.shown);
    EXPECT_EQ(message.caption, "Message");
    EXPECT_EQ(message.text, loadMessage);
    EXPECT_FALSE(program.Checked(IDC_SHELL_MENU));
    EXPECT_TRUE(Unregistered());

    // With the DLL: registered. The DLL gone again: clearing the box shows
    // the message and the box ends checked.
    ASSERT_TRUE(::CopyFileA(Build().shellExtension.c_str(), dll.c_str(), FALSE));
    message = ClickShellMenu(program);
    EXPECT_FALSE(message.shown) << message.text;
    ASSERT_TRUE(program.Checked(IDC_SHELL_MENU));
    EXPECT_TRUE(RegisteredFor(dll));
    ASSERT_TRUE(::DeleteFileA(dll.c_str()));
    message = ClickShellMenu(program);
    ASSERT_TRUE(message.shown);
    EXPECT_EQ(message.text, loadMessage);
    EXPECT_TRUE(program.Checked(IDC_SHELL_MENU));
    EXPECT_TRUE(RegisteredFor(dll));

    // The DLL back: clearing unregisters.
    ASSERT_TRUE(::CopyFileA(Build().shellExtension.c_str(), dll.c_str(), FALSE));
    message = ClickShellMenu(program);
    EXPECT_FALSE(message.shown) << message.text;
    EXPECT_FALSE(program.Checked(IDC_SHELL_MENU));
    EXPECT_TRUE(Unregistered());
    ASSERT_TRUE(program.Close(true));
    ForgetRegistration();
}

}  // namespace
}  // namespace quorv::e2e
