// Names in any script and long paths in the window: files named in
// Japanese, Greek, Cyrillic and with an emoji listed, previewed, renamed,
// undone, copied and moved, a typed rule text in another script, and a path
// of about 300 characters through rename and undo. Texts are compared as
// UTF-16, exactly as the window holds them.
#include <gtest/gtest.h>

#include "tests/e2e/driver/e2e_builder_win32.h"
#include "tests/e2e/driver/e2e_unicode_win32.h"
#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

using Names = std::vector<std::wstring>;

const Names kNames = {
    L"\u5199\u771f_\u6771\u4eac.txt",                                // 写真_東京.txt
    L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.txt",         // Ελληνικά.txt
    L"\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440.txt",  // Привет мир.txt
    L"party \U0001F389.txt",                                         // party and a party popper
};
const std::wstring kPrefix = L"\u03bd\u03ad\u03bf_";  // νέο_
// The rule that adds it (a favourite: the rule file holds UTF-8).
const std::string kPrefixRule = "FILENAME PREFIX \"" + Utf8(kPrefix) + "\"";

std::wstring Preview(const std::wstring& from, const std::wstring& to) {
    return L"\"" + from + L"\"  will be changed to  \"" + to + L"\"\r\n";
}
std::wstring Renamed(const std::wstring& from, const std::wstring& to) {
    return L"\"" + from + L"\"  has been changed to  \"" + to + L"\"\r\n";
}

Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

Names Prefixed(const Names& names) {
    Names out;
    for (const std::wstring& name : names) out.push_back(kPrefix + name);
    return out;
}

// The folder browser's status line (the selected folder) in UTF-16.
std::wstring BrowserStatus(const FolderBrowser& browser) { return WideText(browser.StatusLine()); }

// Types UTF-16 text into a combo box's edit as the keyboard would.
bool TypeWide(const Program& program, int combo, const std::wstring& text) {
    const Window edit(::FindWindowExW(program.Control(combo).hwnd(), nullptr, L"Edit", nullptr));
    if (!edit || !edit.Send(EM_SETSEL, 0, -1)) return false;
    for (wchar_t c : text)
        if (!edit.Post(WM_CHAR, c, 1)) return false;
    return program.Settle();
}

TEST(UnicodeTest, NamesOfEveryScriptThroughTheWindow) {
    ProgramFolder folder("unicode");
    ASSERT_TRUE(folder.ok());
    const std::wstring data = Widen(folder.At("data"));
    // The folder to copy and move into is named in two scripts too.
    const std::wstring dest = Widen(folder.At("")) + L"\u76ee\u7684\u5730 Ziel";
    ASSERT_TRUE(MakeFolders(data) && MakeFolders(dest));
    Names paths;
    for (const std::wstring& name : kNames) {
        paths.push_back(data + L"\\" + name);
        ASSERT_TRUE(WriteBytes(paths.back(), Utf8(name)));
    }
    ASSERT_TRUE(WriteBytes(folder.HandoffPath(), Utf8HandoffBytes(paths)));
    ASSERT_TRUE(folder.WriteFavourite("Greek prefix", {kPrefixRule}));
    SettingsRecord settings;
    settings.copyMoveFolder = Utf8(dest);
    ASSERT_TRUE(folder.WriteSettings(settings));
    Program program(folder);
    ASSERT_TRUE(program.running());
    const Window list = program.Control(IDC_FILE_LIST);

    // Listed exactly.
    EXPECT_EQ(WideItems(list), paths);
    RECT window = program.main().ScreenRect();
    EXPECT_TRUE(SaveSettledScreenshot(program, "unicode_list", window));

    // Previewed: the exact result lines.
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_EQ(WideItems(program.Control(IDC_RULE_LIST)), Names{FromUtf8(kPrefixRule)});
    ASSERT_TRUE(program.Click(IDC_PREVIEW));
    std::wstring expected;
    for (const std::wstring& name : kNames) expected += Preview(data + L"\\" + name, data + L"\\" + kPrefix + name);
    EXPECT_TRUE(WaitFor([&] { return WideText(program.Control(IDC_RESULT_LIST)) == expected; }))
        << Utf8(WideText(program.Control(IDC_RESULT_LIST)));
    EXPECT_TRUE(SaveSettledScreenshot(program, "unicode_preview", window));

    // Renamed and undone on the disk.
    ASSERT_TRUE(program.Click(IDC_RENAME));
    ASSERT_TRUE(WaitFor([&] { return program.Status() == kRenamedStatus; }));
    expected.clear();
    for (const std::wstring& name : kNames) expected += Renamed(data + L"\\" + name, data + L"\\" + kPrefix + name);
    EXPECT_EQ(WideText(program.Control(IDC_RESULT_LIST)), expected);
    EXPECT_EQ(NamesIn(data), Sorted(Prefixed(kNames)));
    EXPECT_EQ(WideItems(list), paths);  // the list keeps the old names until Undo
    ASSERT_TRUE(program.Click(IDC_UNDO));
    ASSERT_TRUE(WaitFor([&] { return !program.Enabled(IDC_UNDO); }));
    EXPECT_EQ(NamesIn(data), Sorted(kNames));
    for (std::size_t i = 0; i < kNames.size(); ++i) EXPECT_EQ(ReadBytes(paths[i]), Utf8(kNames[i]));

    // Copied: the Japanese name and the emoji.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {0, 3}));
    ASSERT_TRUE(program.Click(IDC_COPY_FILES));
    FolderBrowser browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    EXPECT_TRUE(WaitFor([&] { return BrowserStatus(browser) == dest; })) << Utf8(BrowserStatus(browser));
    EXPECT_TRUE(Screenshot("unicode_copy_browser", browser.window().hwnd()));
    ASSERT_TRUE(browser.Ok());
    // The browser may pump messages while it works out the chosen folder
    // (the shell's first look at the drives in a new prefix takes a while),
    // so the program settles only once it has gone.
    EXPECT_TRUE(WaitFor([&] { return !DialogOpen(program); }, 20000)) << DescribeDialogs(program);
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(NamesIn(dest), Sorted({kNames[0], kNames[3]})) << DescribeDialogs(program);
    EXPECT_EQ(ReadBytes(dest + L"\\" + kNames[3]), Utf8(kNames[3]));
    // Moved by key: the Greek and the Cyrillic names leave the list.
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {1, 2}));
    ASSERT_TRUE(program.Focus(IDC_FILE_LIST));
    KeyPress('M', kCtrl);
    browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    ASSERT_TRUE(browser.Ok());
    EXPECT_TRUE(WaitFor([&] { return !DialogOpen(program); }, 20000)) << DescribeDialogs(program);
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(NamesIn(dest), Sorted(kNames)) << DescribeDialogs(program);
    EXPECT_EQ(NamesIn(data), Sorted({kNames[0], kNames[3]}));
    EXPECT_EQ(WideItems(list), (Names{paths[0], paths[3]}));

    // A rule text typed in another script, through the builder's boxes.
    ASSERT_TRUE(program.Control(IDC_TARGET).PickComboItem("FILENAME") && program.Settle());
    ASSERT_TRUE(program.Control(IDC_ACTION).PickComboItem("SUFFIX") && program.Settle());
    const std::wstring typed = L"_\u65e5\u672c \U0001F600";  // _日本 and a grinning face
    ASSERT_TRUE(TypeWide(program, IDC_PARAMETER, typed));
    ASSERT_TRUE(program.Click(IDC_ADD_RULE));
    EXPECT_FALSE(DialogOpen(program));
    EXPECT_EQ(WideItems(program.Control(IDC_RULE_LIST)).back(), L"FILENAME SUFFIX \"" + typed + L"\"");
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0}));
    ASSERT_TRUE(program.Control(IDC_DELETE_RULE).Click() && program.Settle());
    // Saved as a rule file: the same bytes as the command line writes for the line.
    ASSERT_TRUE(program.Click(IDC_SAVE_RULES));
    const FileDialog save = program.WaitForFileDialog();
    ASSERT_TRUE(save.window());
    ASSERT_TRUE(save.EnterName("Typed"));
    ASSERT_TRUE(save.Ok());
    ASSERT_TRUE(program.Settle());
    const std::string cli = folder.At("cli.qvr");
    ASSERT_EQ(RunProcess(Build().commandLine,
                         std::vector<std::wstring>{L"rules", L"--write", Widen(cli), L"FILENAME SUFFIX \"" + typed + L"\""}),
              0);
    EXPECT_EQ(ReadBytes(folder.At("favorite\\Typed.qvr")), StringListRecord({Utf8(L"FILENAME SUFFIX \"" + typed + L"\"")}));
    EXPECT_EQ(ReadBytes(folder.At("favorite\\Typed.qvr")), ReadBytes(cli));
    ASSERT_TRUE(program.Click(IDC_PREVIEW));
    const std::wstring stem0 = kNames[0].substr(0, kNames[0].size() - 4);
    const std::wstring stem3 = kNames[3].substr(0, kNames[3].size() - 4);
    EXPECT_EQ(WideText(program.Control(IDC_RESULT_LIST)),
              Preview(paths[0], data + L"\\" + stem0 + typed + L".txt") +
                  Preview(paths[3], data + L"\\" + stem3 + typed + L".txt"));

    // A replacement typed into the value box in yet another script.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0}));
    ASSERT_TRUE(program.Control(IDC_ACTION).PickComboItem("REPLACE") && program.Settle());
    ASSERT_TRUE(TypeWide(program, IDC_PARAMETER, L"\u5199\u771f"));              // 写真
    ASSERT_TRUE(TypeWide(program, IDC_VALUE, L"\u0424\u043e\u0442\u043e"));    // Фото
    ASSERT_TRUE(program.Click(IDC_UPDATE_RULE));
    EXPECT_FALSE(DialogOpen(program));
    EXPECT_EQ(WideItems(program.Control(IDC_RULE_LIST)),
              Names{L"FILENAME REPLACE \"\u5199\u771f\" with \"\u0424\u043e\u0442\u043e\""});
    ASSERT_TRUE(program.Click(IDC_PREVIEW));
    EXPECT_EQ(WideText(program.Control(IDC_RESULT_LIST)),
              Preview(paths[0], data + L"\\\u0424\u043e\u0442\u043e_\u6771\u4eac.txt") +
                  L"\"" + paths[3] + L"\"  not changed\r\n");
    ASSERT_TRUE(program.Close(true));
}

TEST(UnicodeTest, PathOfAboutThreeHundredCharactersThroughRenameAndUndo) {
    ProgramFolder folder("long-path");
    ASSERT_TRUE(folder.ok());
    const std::wstring top = Widen(folder.At("long"));
    std::wstring deep = top;
    for (int level = 0; level < 5; ++level)
        deep += L"\\" + std::wstring(48, static_cast<wchar_t>(L'a' + level)) + L"\u00e9";
    ASSERT_TRUE(MakeFolders(deep));
    const std::wstring path = deep + L"\\file \u00fc.txt";
    ASSERT_GE(path.size(), 290u);
    ASSERT_TRUE(WriteBytes(path, "long"));
    ASSERT_TRUE(WriteBytes(folder.HandoffPath(), Utf8HandoffBytes({path})));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {"FILENAME PREFIX \"new_\""}));
    Program program(folder);
    ASSERT_TRUE(program.running());

    EXPECT_EQ(WideItems(program.Control(IDC_FILE_LIST)), Names{path});
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    const std::wstring renamed = deep + L"\\new_file \u00fc.txt";
    ASSERT_TRUE(program.Click(IDC_RENAME));
    ASSERT_TRUE(WaitFor([&] { return program.Status() == kRenamedStatus; })) << program.Status();
    EXPECT_EQ(WideText(program.Control(IDC_RESULT_LIST)), Renamed(path, renamed));
    EXPECT_TRUE(Exists(renamed));
    EXPECT_FALSE(Exists(path));
    ASSERT_TRUE(program.Click(IDC_UNDO));
    ASSERT_TRUE(WaitFor([&] { return !program.Enabled(IDC_UNDO); }));
    EXPECT_TRUE(Exists(path));
    EXPECT_FALSE(Exists(renamed));
    EXPECT_EQ(ReadBytes(path), "long");
    ASSERT_TRUE(program.Close(true));
}

// Types a name in UTF-16 into the file name box of a file dialog.
bool EnterWideName(const FileDialog& dialog, const std::wstring& name) {
    const Window combo = dialog.window().Child(0x047C);  // cmb13 (Wine: an edit inside a combo box)
    Window box = combo ? combo.Descendant("Edit") : Window();
    if (!box) box = dialog.window().Child(0x0480);  // edt1
    return box && box.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str())) && WideText(box) == name;
}

TEST(UnicodeTest, RuleFilesNamedInAnotherScript) {
    ProgramFolder folder("unicode-rules");
    ASSERT_TRUE(folder.ok());
    const std::wstring favourites = Widen(folder.At("favorite"));
    const std::wstring title = L"\u0424\u043e\u0442\u043e \u65e5\u4ed8";  // Фото 日付
    const std::vector<std::string> lines = {"FILENAME SUFFIX date format:yyyy-mm-dd", kPrefixRule};
    ASSERT_TRUE(MakeFolders(favourites));
    ASSERT_TRUE(WriteBytes(favourites + L"\\" + title + L".qvr", StringListRecord(lines)));
    Program program(folder);
    ASSERT_TRUE(program.running());

    // Listed by its title, and picked.
    ASSERT_EQ(WideItems(program.Control(IDC_FAVOURITES)), Names{title});
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    EXPECT_EQ(WideItems(program.Control(IDC_RULE_LIST)), (Names{FromUtf8(lines[0]), FromUtf8(lines[1])}));

    // Saved under a name in another script: listed at once.
    const std::wstring saved = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \U0001F389";
    ASSERT_TRUE(program.Click(IDC_SAVE_RULES));
    const FileDialog dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    ASSERT_TRUE(EnterWideName(dialog, saved));
    ASSERT_TRUE(dialog.Ok());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(ReadBytes(favourites + L"\\" + saved + L".qvr"), StringListRecord(lines));
    EXPECT_EQ(Sorted(WideItems(program.Control(IDC_FAVOURITES))), Sorted({title, saved}));
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
