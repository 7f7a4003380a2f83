// The folder picker under Wine: the real folder browser driven from a
// second thread as a user would (OK, Cancel), and the browser's events on a
// stand-in browser window with a real edit box: Wine's browser of this kind
// shows no edit box and never reports a failed validation, so typing into
// it cannot be driven there.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "formats/error_log.h"
#include "platform/filesystem.h"
#include "platform/raii_win32.h"
#include "system/system.h"
#include "system/system_access.h"
#include "system/text_win32.h"
#include "tests/support/files_win32.h"
#include "tests/support/messages_win32.h"
#include "tests/support/temp_dir.h"
#include "tools/folder_picker_win32.h"

namespace quorv::win {
namespace {

using test::IsFolder;

BOOL CALLBACK FindDialogOfThread(HWND window, LPARAM found) {
    char name[16] = {};
    ::GetClassNameA(window, name, static_cast<int>(sizeof name));
    if (std::string(name) == "#32770" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

std::string TextOf(HWND window) {
    const LRESULT n = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    ::SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(n));
    return text;
}

bool SamePath(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

void Press(HWND browser, int id) {
    ::PostMessageA(browser, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(browser, id)));
}

// ---------------------------------------------------------------- the real browser

// A folder the browser's tree shows (the temporary folder lies in a hidden
// one): on the system drive's root, removed with everything in it.
struct VisibleFolder : test::TempDir {
    VisibleFolder() : TempDir("quorv-picker", test::SystemDriveRoot()) {}
};

struct PickRun {
    bool picked = false;
    bool browserSeen = false;
    std::vector<std::string> texts;  // the texts of the browser's children
};

// Runs PickFolder on this thread while `act` drives the browser from another.
PickRun RunPicker(std::string& folder, const std::function<void(HWND browser, PickRun& run)>& act) {
    PickRun run;
    const DWORD pickerThread = ::GetCurrentThreadId();
    std::thread driver([&] {
        HWND browser = nullptr;
        test::WaitFor([&] {
            ::EnumThreadWindows(pickerThread, &FindDialogOfThread, reinterpret_cast<LPARAM>(&browser));
            return browser != nullptr;
        }, 10000, 20);
        if (!browser) return;
        ::Sleep(300);  // let the initial selection settle
        run.browserSeen = true;
        for (HWND c = ::GetWindow(browser, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) run.texts.push_back(TextOf(c));
        act(browser, run);
        // Never leave the browser open: the test would wait for ever.
        test::WaitFor([browser] { return !::IsWindow(browser); }, 2000, 20);
        if (::IsWindow(browser)) Press(browser, IDCANCEL);
    });
    run.picked = PickFolder(folder, "Pick a test folder", nullptr);
    driver.join();
    return run;
}

bool HasText(const PickRun& run, const std::string& text) {
    for (const std::string& t : run.texts)
        if (SamePath(t, text)) return true;
    return false;
}

TEST(FolderPickerBrowserTest, OkReturnsTheFolderTheBrowserOpenedOn) {
    VisibleFolder dir;
    std::string folder = dir.path();
    const PickRun run = RunPicker(folder, [](HWND browser, PickRun&) { Press(browser, IDOK); });
    ASSERT_TRUE(run.browserSeen);
    EXPECT_TRUE(HasText(run, "Pick a test folder"));
    // The selection's path as the status text (and in the edit box where there is one).
    EXPECT_TRUE(HasText(run, dir.path()));
    EXPECT_TRUE(run.picked);
    EXPECT_TRUE(SamePath(folder, dir.path())) << folder;
}

TEST(FolderPickerBrowserTest, CancelLeavesTheFolderAsItWas) {
    test::TempDir dir;
    std::string folder = dir.path() + "\\not picked";
    const PickRun run = RunPicker(folder, [](HWND browser, PickRun&) { Press(browser, IDCANCEL); });
    ASSERT_TRUE(run.browserSeen);
    EXPECT_FALSE(run.picked);
    EXPECT_EQ(folder, dir.path() + "\\not picked");
}

// ---------------------------------------------------------------- the browser's events

// A stand-in browser: a window with an "Edit" child that records the
// status texts and selections the picker sends it.
std::vector<std::pair<UINT, std::string>> g_sent;
// When set, a selection asked for is made (and told to the session) once
// g_misses attempts have found nothing, as a browser does whose tree read a
// folder on the way that changed meanwhile.
detail::FolderPickerSession* g_selecting = nullptr;
int g_misses = 0;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The picker speaks to the browser in wide text (names of any script).
    if (message == BFFM_SETSTATUSTEXTW || message == BFFM_SETSELECTIONW) {
        g_sent.emplace_back(message, lParam ? NarrowFromWide(reinterpret_cast<const wchar_t*>(lParam)) : "");
        if (message == BFFM_SETSELECTIONW && g_selecting && g_misses-- <= 0) {
            PIDLIST_ABSOLUTE item = nullptr;
            if (SUCCEEDED(::SHParseDisplayName(reinterpret_cast<const wchar_t*>(lParam), nullptr, &item, 0, nullptr))) {
                CoTaskMemPtr<ITEMIDLIST> owned(item);
                g_selecting->OnEvent(window, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(owned.get()));
            }
        }
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

class FolderPickerEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &StandInProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuorvStandInBrowser";
        ::RegisterClassA(&wc);
        browser.reset(::CreateWindowExA(0, "QuorvStandInBrowser", "Browse", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                        nullptr, wc.hInstance, nullptr));
        ASSERT_TRUE(browser);
        ::CreateWindowExA(0, "Static", "Pick", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, browser.get(), nullptr, nullptr, nullptr);
        edit = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 30, 280, 20, browser.get(),
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        ::SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
        g_sent.clear();
        g_selecting = nullptr;
    }
    // An item id list of a folder.
    CoTaskMemPtr<ITEMIDLIST> Item(const std::string& path) {
        std::wstring wide(path.begin(), path.end());
        PIDLIST_ABSOLUTE item = nullptr;
        if (FAILED(::SHParseDisplayName(wide.c_str(), nullptr, &item, 0, nullptr))) item = ::ILCreateFromPathW(wide.c_str());
        return CoTaskMemPtr<ITEMIDLIST>(item);
    }
    int Event(detail::FolderPickerSession& s, UINT event, LPARAM lParam = 0) {
        return s.OnEvent(browser.get(), event, lParam);
    }
    void Type(const std::string& text) { ::SetWindowTextA(edit, text.c_str()); }
    std::vector<std::string> Sent(UINT message) {
        std::vector<std::string> texts;
        for (const auto& m : g_sent)
            if (m.first == message) texts.push_back(m.second);
        return texts;
    }

    ComApartment com;
    test::TempDir dir;
    WindowHandle browser;
    HWND edit = nullptr;
};

TEST_F(FolderPickerEventsTest, OpensOnTheFolderAndShowsEachSelection) {
    detail::FolderPickerSession session(dir.path());
    EXPECT_EQ(Event(session, BFFM_INITIALIZED), 0);
    // Nothing got selected: asked once more, never again.
    EXPECT_EQ(Sent(BFFM_SETSELECTIONW), (std::vector<std::string>{dir.path(), dir.path()}));

    const std::string sub = dir.path() + "\\Sub";
    ASSERT_TRUE(::CreateDirectoryA(sub.c_str(), nullptr));
    auto item = Item(sub);
    ASSERT_TRUE(item);
    EXPECT_EQ(Event(session, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item.get())), 0);
    EXPECT_TRUE(SamePath(TextOf(edit), sub)) << TextOf(edit);
    ASSERT_EQ(Sent(BFFM_SETSTATUSTEXTW).size(), 1u);
    EXPECT_TRUE(SamePath(Sent(BFFM_SETSTATUSTEXTW)[0], sub));

    // An item without a file-system path (the computer): the picker's folder, no status.
    CoTaskMemPtr<ITEMIDLIST> computer;
    {
        PIDLIST_ABSOLUTE p = nullptr;
        ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &p), S_OK);
        computer.reset(p);
    }
    Event(session, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(computer.get()));
    EXPECT_EQ(TextOf(edit), dir.path());
    EXPECT_EQ(Sent(BFFM_SETSTATUSTEXTW).size(), 1u);

    // A start folder longer than the browser's buffer is not handed to it.
    g_sent.clear();
    detail::FolderPickerSession longStart(dir.path() + "\\" + std::string(300, 'x'));
    Event(longStart, BFFM_INITIALIZED);
    EXPECT_TRUE(Sent(BFFM_SETSELECTIONW).empty());
}

TEST_F(FolderPickerEventsTest, FolderNotFoundAtTheFirstTryIsSelectedAtTheSecond) {
    for (int misses : {0, 1}) {
        g_sent.clear();
        detail::FolderPickerSession session(dir.path());
        g_selecting = &session;
        g_misses = misses;
        Event(session, BFFM_INITIALIZED);
        EXPECT_EQ(Sent(BFFM_SETSELECTIONW).size(), static_cast<std::size_t>(misses + 1));
        ASSERT_EQ(Sent(BFFM_SETSTATUSTEXTW).size(), 1u) << misses;
        EXPECT_TRUE(SamePath(Sent(BFFM_SETSTATUSTEXTW)[0], dir.path()));
        g_selecting = nullptr;
    }
}

TEST_F(FolderPickerEventsTest, TypedNewPathIsCreatedReadFromTheBoxAtItsRealLength) {
    detail::FolderPickerSession session(dir.path());
    const std::string typed = dir.path() + "\\Out\\2024";
    Type(typed);
    // The message's copy is cut short; the box holds the whole path.
    const std::string cut = typed.substr(0, 10);
    EXPECT_EQ(Event(session, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(cut.c_str())), 0);
    EXPECT_TRUE(session.typedAccepted());
    EXPECT_EQ(session.current(), typed);
    EXPECT_TRUE(IsFolder(dir.path() + "\\Out"));
    EXPECT_TRUE(IsFolder(typed));
    // The typed folder wins over whatever the tree had selected.
    auto other = Item(dir.path());
    std::string folder = "unchanged";
    EXPECT_TRUE(session.Finish(other.get(), folder));
    EXPECT_EQ(folder, typed);
}

TEST_F(FolderPickerEventsTest, TrailingBackslashAndRelativeNames) {
    detail::FolderPickerSession session(dir.path());
    Type(dir.path() + "\\Trail\\");
    EXPECT_EQ(Event(session, BFFM_VALIDATEFAILEDA), 0);
    EXPECT_EQ(session.current(), dir.path() + "\\Trail");
    EXPECT_TRUE(IsFolder(dir.path() + "\\Trail"));

    // A bare name is made in the selected folder.
    detail::FolderPickerSession relative(dir.path());
    auto item = Item(dir.path());
    Event(relative, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item.get()));
    Type("Made Here");
    EXPECT_EQ(Event(relative, BFFM_VALIDATEFAILEDA), 0);
    EXPECT_TRUE(SamePath(relative.current(), dir.path() + "\\Made Here")) << relative.current();
    EXPECT_TRUE(IsFolder(dir.path() + "\\Made Here"));
    // ... and refused when nothing with a path is selected, saying what to type.
    detail::FolderPickerSession nowhere(dir.path());
    Type("Lost");
    g_sent.clear();
    EXPECT_EQ(Event(nowhere, BFFM_VALIDATEFAILEDA), 1);
    EXPECT_FALSE(nowhere.typedAccepted());
    EXPECT_EQ(Sent(BFFM_SETSTATUSTEXTW), std::vector<std::string>{"Please type the full path of a folder."});
}

TEST_F(FolderPickerEventsTest, TooLongTypedPathKeepsTheBrowserOpenAndCreatesNothing) {
    detail::FolderPickerSession session(dir.path());
    const std::string longName(300, 'a');
    Type(dir.path() + "\\" + longName + "\\b");
    EXPECT_EQ(Event(session, BFFM_VALIDATEFAILEDA), 1);
    EXPECT_FALSE(session.typedAccepted());
    EXPECT_FALSE(IsFolder(dir.path() + "\\" + longName));
    EXPECT_EQ(Sent(BFFM_SETSTATUSTEXTW), std::vector<std::string>{"The path is too long."});
    std::string folder = "unchanged";
    EXPECT_FALSE(session.Finish(nullptr, folder));
    EXPECT_EQ(folder, "unchanged");
}

TEST_F(FolderPickerEventsTest, FolderThatCannotBeCreatedKeepsTheBrowserOpenAndIsLogged) {
    detail::FolderPickerSession session(dir.path());
    const std::string file = dir.WriteFile("in the way.txt", "x");
    const std::string log = ErrorLogFolder() + kErrorLogName;
    Type(file + "\\sub");
    EXPECT_EQ(Event(session, BFFM_VALIDATEFAILEDA), 1);
    EXPECT_FALSE(session.typedAccepted());
    std::string after;
    SystemFileSystem().ReadFile(log, after);
    const std::string expectedEnd = file + "\\ directory create failed.\r\n";
    ASSERT_GE(after.size(), expectedEnd.size());
    EXPECT_EQ(after.substr(after.size() - expectedEnd.size()), expectedEnd);
    // The user reads why in the status text.
    EXPECT_EQ(Sent(BFFM_SETSTATUSTEXTW), std::vector<std::string>{"The folder " + file + "\\ cannot be created."});
}

TEST_F(FolderPickerEventsTest, WideValidationTextWhenThereIsNoEditBox) {
    ::DestroyWindow(edit);
    detail::FolderPickerSession session(dir.path());
    const std::string typed = dir.path() + "\\Wide";
    const std::wstring wide(typed.begin(), typed.end());
    EXPECT_EQ(Event(session, BFFM_VALIDATEFAILEDW, reinterpret_cast<LPARAM>(wide.c_str())), 0);
    EXPECT_EQ(session.current(), typed);
    EXPECT_TRUE(IsFolder(typed));
}

}  // namespace
}  // namespace quorv::win
