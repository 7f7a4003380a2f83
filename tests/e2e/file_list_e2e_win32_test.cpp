// The file list end to end: files arriving through the handoff file, the
// open dialog and the folder browser; the name filter with its Case and
// Exclude boxes; removing, moving, sorting and selecting by button and key.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "tests/e2e/e2e_cases.h"
#include "tests/support/clipboard_win32.h"

namespace quorv::e2e {
namespace {

using Strings = std::vector<std::string>;

Strings Sorted(Strings names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Sets a check box by clicking it when it shows the other state.
bool SetBox(const Program& program, int id, bool checked) {
    if (program.Checked(id) == checked) return true;
    return program.Click(id) && WaitFor([&] { return program.Checked(id) == checked; });
}

TEST(FileListTest, HandoffFileIsConsumedAtStart) {
    ProgramFolder folder("handoff");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "data", {"a.txt", "b.txt"});
    // Entries as they stand, a duplicate and an empty one included; text
    // after the last line end is no entry.
    const std::string bytes = files[0] + "\r\n" + files[1] + "\r\n" + files[0] + "\r\n\r\nC:\\no-line-end.txt";
    ASSERT_TRUE(WriteBytes(folder.HandoffPath(), bytes));
    // A read-only, hidden handoff file goes all the same.
    ASSERT_TRUE(::SetFileAttributesA(folder.HandoffPath().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    Program program(folder);
    ASSERT_TRUE(program.running());
    EXPECT_EQ(program.Items(IDC_FILE_LIST), (Strings{files[0], files[1], files[0], ""}));
    EXPECT_FALSE(Exists(folder.HandoffPath()));
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    // The horizontal extent follows the widest entry.
    EXPECT_GT(program.Control(IDC_FILE_LIST).HorizontalExtent(), 10);
    ASSERT_TRUE(program.Close(true));
}

struct FilterRow {
    const char* filter;
    bool matchCase;
    bool exclude;
    Strings shown;
};

TEST(FileListTest, FilterShowsTheNamesItMatches) {
    ProgramFolder folder("filter");
    ASSERT_TRUE(folder.ok());
    const Strings all = {"photo.jpg", "SUNSET.JPG", "photo.jpeg", "aphoto.jpg", "abcde", "notes.txt", "Photo2.png"};
    ASSERT_TRUE(folder.WriteHandoff(MakeFiles(folder, "data", all)));
    Program program(folder);
    ASSERT_TRUE(program.running());

    // Each row types its filter, then sets its boxes: a box clicked while
    // the filter is not empty filters again on its own.
    const FilterRow rows[] = {
        {"", false, false, all},
        {"", false, true, all},  // Exclude with an empty filter hides nothing
        {"oto", false, true, {"SUNSET.JPG", "abcde", "notes.txt"}},
        {"oto", false, false, {"photo.jpg", "photo.jpeg", "aphoto.jpg", "Photo2.png"}},
        {"photo", true, false, {"photo.jpg", "photo.jpeg", "aphoto.jpg"}},
        {"Photo", true, false, {"Photo2.png"}},
        {"photo", false, false, {"photo.jpg", "photo.jpeg", "aphoto.jpg", "Photo2.png"}},
        {"*.jpg", false, false, {"photo.jpg", "SUNSET.JPG", "aphoto.jpg"}},
        {"*.jpg", true, false, {"photo.jpg", "aphoto.jpg"}},
        {"*.jpg", true, true, {"SUNSET.JPG", "photo.jpeg", "abcde", "notes.txt", "Photo2.png"}},
        {"*.jpg", false, true, {"photo.jpeg", "abcde", "notes.txt", "Photo2.png"}},
        {"*.*", false, false, {}},  // the text after the asterisk is compared as it is
        {"*", false, false, all},
        {"*", false, true, {}},
        {"ph*", false, false, {"photo.jpg", "photo.jpeg", "Photo2.png"}},
        {"PH*", true, false, {}},
        {"ph*.jpg", false, false, {"photo.jpg"}},
        {"abc*cde", false, false, {"abcde"}},  // the two ends may overlap
        {"data", false, false, {}},            // the folder never matches
    };
    for (const FilterRow& row : rows) {
        ASSERT_TRUE(program.TypeInto(IDC_FILTER, row.filter)) << row.filter;
        ASSERT_EQ(program.Text(IDC_FILTER), row.filter);
        ASSERT_TRUE(SetBox(program, IDC_CASE, row.matchCase));
        ASSERT_TRUE(SetBox(program, IDC_EXCLUDE, row.exclude));
        ASSERT_TRUE(program.Settle());
        EXPECT_EQ(Names(program.Items(IDC_FILE_LIST)), row.shown)
            << "filter \"" << row.filter << "\" case " << row.matchCase << " exclude " << row.exclude;
    }
    // Filtering leaves the status line as it was.
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    ASSERT_TRUE(program.Close(true));

    // The boxes are kept.
    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_FALSE(saved.caseSensitive);
    EXPECT_FALSE(saved.exclude);
}

TEST(FileListTest, RemoveMoveSortAndSelectByButtonAndKey) {
    ProgramFolder folder("list-commands");
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.WriteHandoff(MakeFiles(folder, "data", {"c.txt", "a.txt", "B.txt", "d.txt"})));
    Program program(folder);
    ASSERT_TRUE(program.running());
    const Window list = program.Control(IDC_FILE_LIST);
    const auto shown = [&] { return Names(list.Items()); };
    ASSERT_EQ(shown(), (Strings{"c.txt", "a.txt", "B.txt", "d.txt"}));

    // Sort by name, letter case ignored.
    ASSERT_TRUE(program.Click(IDC_SORT));
    EXPECT_EQ(shown(), (Strings{"a.txt", "B.txt", "c.txt", "d.txt"}));
    // With an empty filter, Exclude filters nothing again: the order stays.
    ASSERT_TRUE(SetBox(program, IDC_EXCLUDE, true));
    EXPECT_EQ(shown(), (Strings{"a.txt", "B.txt", "c.txt", "d.txt"}));
    ASSERT_TRUE(SetBox(program, IDC_EXCLUDE, false));

    // Move the focused entry down and up again; the selection follows it.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0}, 0));
    ASSERT_TRUE(program.Click(IDC_FILE_DOWN));
    EXPECT_EQ(shown(), (Strings{"B.txt", "a.txt", "c.txt", "d.txt"}));
    EXPECT_EQ(list.Selection(), std::vector<int>{1});
    ASSERT_TRUE(program.Click(IDC_FILE_DOWN));
    EXPECT_EQ(shown(), (Strings{"B.txt", "c.txt", "a.txt", "d.txt"}));
    ASSERT_TRUE(program.Click(IDC_FILE_UP));
    ASSERT_TRUE(program.Click(IDC_FILE_UP));
    EXPECT_EQ(shown(), (Strings{"a.txt", "B.txt", "c.txt", "d.txt"}));
    EXPECT_EQ(list.Selection(), std::vector<int>{0});
    // Typing a filter shows the gathered order again.
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, "t"));
    EXPECT_EQ(shown(), (Strings{"c.txt", "a.txt", "B.txt", "d.txt"}));

    // Select all and invert by button.
    ASSERT_TRUE(program.Click(IDC_SELECT_ALL));
    EXPECT_EQ(list.Selection(), (std::vector<int>{0, 1, 2, 3}));
    ASSERT_TRUE(program.Click(IDC_INVERT_SELECTION));
    EXPECT_EQ(list.Selection(), std::vector<int>{});
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0, 2}));
    ASSERT_TRUE(program.Click(IDC_INVERT_SELECTION));
    EXPECT_EQ(list.Selection(), (std::vector<int>{1, 3}));

    // And by key, in the list and in the filter box alike.
    for (int control : {IDC_FILE_LIST, IDC_FILTER}) {
        ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {2}));
        ASSERT_TRUE(program.Focus(control)) << control;
        ASSERT_TRUE(program.PressKey('A', kCtrl));
        EXPECT_EQ(list.Selection(), (std::vector<int>{0, 1, 2, 3})) << control;
        ASSERT_TRUE(program.PressKey('I', kCtrl));
        EXPECT_EQ(list.Selection(), std::vector<int>{}) << control;
        ASSERT_TRUE(program.PressKey('I', kCtrl));
        EXPECT_EQ(list.Selection(), (std::vector<int>{0, 1, 2, 3})) << control;
    }
    EXPECT_EQ(program.Text(IDC_FILTER), "t");

    // Delete in the filter box edits the text; no entry goes.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0, 1}));
    ASSERT_TRUE(program.Focus(IDC_FILTER));
    ASSERT_TRUE(program.PressKey(VK_HOME));
    ASSERT_TRUE(program.PressKey(VK_DELETE));
    EXPECT_EQ(program.Text(IDC_FILTER), "");
    EXPECT_EQ(shown(), (Strings{"c.txt", "a.txt", "B.txt", "d.txt"}));

    // Delete in the file list removes the selected entries.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {1, 3}));
    ASSERT_TRUE(program.Focus(IDC_FILE_LIST));
    ASSERT_TRUE(program.PressKey(VK_DELETE));
    EXPECT_EQ(shown(), (Strings{"c.txt", "B.txt"}));
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    // So does the remove button; a rebuild shows they are gone for good.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0}));
    ASSERT_TRUE(program.Click(IDC_REMOVE_SELECTED));
    EXPECT_EQ(shown(), (Strings{"B.txt"}));
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, "."));
    EXPECT_EQ(shown(), (Strings{"B.txt"}));
    // Remove all empties the list.
    ASSERT_TRUE(program.Click(IDC_REMOVE_ALL));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(program.Status(), kFileListNullStatus);
    // The files themselves stay.
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"B.txt", "a.txt", "c.txt", "d.txt"}));
    ASSERT_TRUE(program.Close(true));
}

TEST(FileListTest, TheListKeepsTheUsersPlaceAfterEachCommand) {
    // 300 entries in reverse order of their names (so that Sort changes
    // the order), the view scrolled to row 100 and an entry near it focused.
    ProgramFolder folder("list-place");
    ASSERT_TRUE(folder.ok());
    Strings names;
    for (int i = 299; i >= 0; --i) names.push_back("f" + std::to_string(1000 + i) + ".txt");
    ASSERT_TRUE(folder.WriteHandoff(MakeFiles(folder, "data", names)));
    Program program(folder);
    ASSERT_TRUE(program.running());
    const Window list = program.Control(IDC_FILE_LIST);
    ASSERT_EQ(list.Count(), 300);
    const auto top = [&] { return static_cast<int>(::SendMessageA(list.hwnd(), LB_GETTOPINDEX, 0, 0)); };

    struct Case {
        const char* what;
        int command;
        int focused;
        int topAfter;
    };
    const Case cases[] = {
        {"move up", IDC_FILE_UP, 105, 100},
        {"move down", IDC_FILE_DOWN, 105, 100},
        {"remove", IDC_REMOVE_SELECTED, 105, 100},
        {"invert", IDC_INVERT_SELECTION, 105, 100},
        {"sort", IDC_SORT, 105, 100},
        // The focused entry would leave the view: it is scrolled in, by one row.
        {"move up from the top row", IDC_FILE_UP, 100, 99},
    };
    int count = 300;
    for (const Case& c : cases) {
        ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {c.focused}, c.focused)) << c.what;
        ::SendMessageA(list.hwnd(), LB_SETTOPINDEX, 100, 0);
        ASSERT_EQ(top(), 100) << c.what;
        const std::string focusedName = list.Items()[static_cast<std::size_t>(c.focused)];
        ASSERT_TRUE(program.Click(c.command)) << c.what;
        if (c.command == IDC_REMOVE_SELECTED) --count;
        EXPECT_EQ(list.Count(), count) << c.what;
        EXPECT_EQ(top(), c.topAfter) << c.what;
        // The moved entry is where the command put it.
        const int movedTo = c.command == IDC_FILE_UP ? c.focused - 1 : c.command == IDC_FILE_DOWN ? c.focused + 1 : -1;
        if (movedTo >= 0) {
            EXPECT_EQ(list.Items()[static_cast<std::size_t>(movedTo)], focusedName) << c.what;
        }
    }
    ASSERT_TRUE(program.Close(true));
}

TEST(FileListTest, CopyAndMoveKeysLeaveATextSelectionToItsField) {
    ProgramFolder folder("list-edit-keys");
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.WriteHandoff(MakeFiles(folder, "data", {"a.txt", "b.txt"})));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, "txt"));
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0, 1}));
    const Window filter = program.Control(IDC_FILTER);
    ASSERT_TRUE(test::SetClipboardText(L"before"));

    // With text selected in the filter box, Ctrl+C copies the text and
    // Ctrl+M leaves it as it is; neither asks for a folder.
    ASSERT_TRUE(program.Focus(IDC_FILTER));
    filter.Ask(EM_SETSEL, 0, 2);
    ASSERT_TRUE(program.PressKey('C', kCtrl));
    EXPECT_EQ(test::ClipboardText(), std::optional<std::wstring>(L"tx"));
    ASSERT_TRUE(program.PressKey('M', kCtrl));
    EXPECT_FALSE(program.OtherWindowOpen());
    EXPECT_EQ(program.Text(IDC_FILTER), "txt");
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"a.txt", "b.txt"}));

    // Without a selection the keys are the files' copy and move again.
    filter.Ask(EM_SETSEL, 3, 3);
    for (char key : {'C', 'M'}) {
        ASSERT_TRUE(program.PressKey(key, kCtrl)) << key;
        const FolderBrowser browser = program.WaitForFolderBrowser();
        ASSERT_TRUE(browser.window()) << key;
        ASSERT_TRUE(browser.Cancel()) << key;
        ASSERT_TRUE(WaitFor([&] { return !browser.window(); })) << key;
        ASSERT_TRUE(program.Settle());
    }
    EXPECT_EQ(test::ClipboardText(), std::optional<std::wstring>(L"tx"));
    ASSERT_TRUE(program.Close(true));
}

TEST(FileListTest, AddFilesThroughTheOpenDialog) {
    ProgramFolder folder("add-files");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "pick", {"one.txt", "two.txt", "three.txt"});
    const std::string pick = folder.At("pick");
    SettingsRecord settings;
    settings.lastFolder = pick;
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());

    // One file, by its name in the folder the dialog opens on.
    ASSERT_TRUE(program.Click(IDC_ADD_FILES));
    FileDialog dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    ASSERT_TRUE(dialog.EnterName("one.txt"));
    ASSERT_TRUE(dialog.Ok());
    ASSERT_TRUE(program.Settle());
    EXPECT_TRUE(WaitFor([&] { return !dialog.window(); }));
    EXPECT_EQ(program.Items(IDC_FILE_LIST), Strings{files[0]});
    EXPECT_EQ(program.Status(), kRuleListNullStatus);

    // Two more at once.
    ASSERT_TRUE(program.Click(IDC_ADD_FILES));
    dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    ASSERT_TRUE(dialog.EnterName("\"two.txt\" \"three.txt\""));
    ASSERT_TRUE(dialog.Ok());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(Sorted(program.Items(IDC_FILE_LIST)), Sorted(files));

    // A file already listed, given in other letters: the old entry goes and
    // the new one comes last.
    ASSERT_TRUE(program.Click(IDC_ADD_FILES));
    dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    ASSERT_TRUE(dialog.EnterName(pick + "\\ONE.TXT"));
    ASSERT_TRUE(dialog.Ok());
    ASSERT_TRUE(program.Settle());
    const Strings listed = program.Items(IDC_FILE_LIST);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(::lstrcmpiA(listed.back().c_str(), files[0].c_str()), 0) << listed.back();
    EXPECT_EQ(std::count_if(listed.begin(), listed.end(),
                            [&](const std::string& p) { return ::lstrcmpiA(p.c_str(), files[0].c_str()) == 0; }),
              1);

    // Cancel adds nothing.
    ASSERT_TRUE(program.Click(IDC_ADD_FILES));
    dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    ASSERT_TRUE(dialog.Cancel());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.Items(IDC_FILE_LIST), listed);
    ASSERT_TRUE(program.Close(true));

    // The last folder is the folder of the file added last, not the one
    // file's path the dialog gave back.
    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_EQ(::lstrcmpiA(saved.lastFolder.c_str(), (pick + "\\").c_str()), 0) << saved.lastFolder;
}

// A selection that does not fit the dialog's first buffer (65,536
// characters) is not dropped: the buffer grows while the user selects, or
// when OK is pressed on typed names, and every file arrives.
TEST(FileListTest, AddFilesSelectionLargerThanTheFirstBuffer) {
    constexpr int kMany = 420;
    ProgramFolder folder("add-many");
    ASSERT_TRUE(folder.ok());
    Strings names;
    std::size_t characters = 0;
    // Long names, so that few files (few selection changes for the dialog to
    // work through) overflow the buffer.
    const std::string stem(190, 'n');
    for (int i = 0; i < kMany; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%04d", i);
        names.push_back(number + stem + ".txt");
        characters += names.back().size() + 1;
    }
    ASSERT_GT(characters, 65536u + 10000u);
    const Strings files = MakeFiles(folder, "many", names);
    SettingsRecord settings;
    settings.lastFolder = folder.At("many");
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());

    ASSERT_TRUE(program.Click(IDC_ADD_FILES));
    FileDialog dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    // Select every file in the dialog's list as a user does: the first,
    // then Shift+End.
    const Window filesView = dialog.window().Descendant("SysListView32");
    ASSERT_TRUE(filesView);
    ASSERT_TRUE(WaitFor([&] { return filesView.Ask(LVM_GETITEMCOUNT, 0, 0, 0) >= kMany; }, 30000));
    const RECT area = filesView.ClientOnScreen();
    MouseClickAt(POINT{area.left + 60, area.top + 8});
    ASSERT_TRUE(WaitFor([&] { return filesView.Ask(LVM_GETSELECTEDCOUNT, 0, 0, 0) == 1; }));
    KeyPress(VK_END, kShift);
    EXPECT_TRUE(WaitFor([&] { return filesView.Ask(LVM_GETSELECTEDCOUNT, 0, 0, 0) >= kMany; }, 60000));
    ASSERT_TRUE(dialog.Ok());
    EXPECT_TRUE(WaitFor([&] { return !dialog.window(); }, 60000));
    ASSERT_TRUE(program.Settle());
    const Strings listed = program.Items(IDC_FILE_LIST);
    EXPECT_EQ(listed.size(), files.size());
    EXPECT_EQ(Sorted(listed), Sorted(files));

    // The same names typed into the name box (no selection changes on the
    // way): the buffer grows when OK is pressed.
    ASSERT_TRUE(program.Click(IDC_REMOVE_ALL));
    ASSERT_EQ(program.Control(IDC_FILE_LIST).Count(), 0);
    std::string typed;
    for (const std::string& name : names) typed += "\"" + name + "\" ";
    ASSERT_TRUE(program.Click(IDC_ADD_FILES));
    dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    ASSERT_TRUE(dialog.EnterName(typed));
    ASSERT_TRUE(dialog.Ok());
    EXPECT_TRUE(WaitFor([&] { return !dialog.window(); }, 60000));
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(Sorted(program.Items(IDC_FILE_LIST)), Sorted(files));
    ASSERT_TRUE(program.Close(true));
}

TEST(FileListTest, AddDirThroughTheFolderBrowser) {
    ProgramFolder folder("add-dir");
    ASSERT_TRUE(folder.ok());
    const std::string scan = folder.MakeFolder("scan");
    MakeFiles(folder, "scan", {"x1.txt", "x2.txt"});
    MakeFiles(folder, "scan\\sub", {"y1.txt"});
    MakeFiles(folder, "scan\\sub\\deeper", {"z1.txt"});
    SettingsRecord settings;
    settings.lastFolder = scan;
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());

    // The browser opens on the last folder: OK takes its files.
    ASSERT_TRUE(program.Click(IDC_ADD_DIR));
    FolderBrowser browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    EXPECT_TRUE(WaitFor([&] { return ::lstrcmpiA(browser.Status().c_str(), scan.c_str()) == 0; }))
        << browser.Status();
    ASSERT_TRUE(browser.Ok());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(Sorted(Names(program.Items(IDC_FILE_LIST))), (Strings{"x1.txt", "x2.txt"}));
    EXPECT_EQ(program.Status(), kRuleListNullStatus);

    // With Subdir, the same folder again: every file once, the sub-folders' too.
    ASSERT_TRUE(SetBox(program, IDC_SUBDIR, true));
    ASSERT_TRUE(program.Click(IDC_ADD_DIR));
    browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    ASSERT_TRUE(browser.Ok());
    ASSERT_TRUE(program.Settle());
    const Strings scanned = program.Items(IDC_FILE_LIST);
    EXPECT_EQ(Sorted(Names(scanned)), (Strings{"x1.txt", "x2.txt", "y1.txt", "z1.txt"}));
    // Depth first: a sub-folder's files come together.
    const auto at = [&](const std::string& name) {
        return std::find(scanned.begin(), scanned.end(), folder.At(name)) - scanned.begin();
    };
    EXPECT_EQ(std::abs(at("scan\\sub\\y1.txt") - at("scan\\sub\\deeper\\z1.txt")), 1);

    Strings expected = scanned;
    // Cancel adds nothing.
    ASSERT_TRUE(program.Click(IDC_ADD_DIR));
    browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    ASSERT_TRUE(browser.Cancel());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.Items(IDC_FILE_LIST), expected);
    ASSERT_TRUE(program.Close(true));

    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_EQ(::lstrcmpiA(saved.lastFolder.c_str(), (scan + "\\").c_str()), 0) << saved.lastFolder;
    EXPECT_TRUE(saved.subdir);
}

}  // namespace
}  // namespace quorv::e2e
