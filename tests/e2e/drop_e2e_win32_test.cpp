// Files dropped on the main window from a file manager, end to end: a real
// OLE drag from a window of the driver (another process) onto the program's
// window, the mouse moved and released by system input. Files and folders
// join the file list (a folder as Add Dir scans it, with "Subdir" and the
// filter), names in any script and beyond MAX_PATH; a rule file dropped
// alone replaces the rule list, a batch file loads; nothing is taken while
// a dialog of the window is open.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/driver/e2e_builder_win32.h"
#include "tests/e2e/driver/e2e_drag_win32.h"
#include "tests/e2e/driver/e2e_unicode_win32.h"
#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

using Strings = std::vector<std::string>;
using WideStrings = std::vector<std::wstring>;

// Drops the paths in the middle of the file list and lets the window settle.
::testing::AssertionResult Drop(const Program& program, const WideStrings& paths) {
    const DragOutcome outcome = DragFilesTo(paths, program.Control(IDC_FILE_LIST).Centre());
    if (!outcome.started) return ::testing::AssertionFailure() << "the drag did not start";
    if (outcome.result != DRAGDROP_S_DROP) return ::testing::AssertionFailure() << "no drop: " << std::hex << outcome.result;
    if (outcome.effect != DROPEFFECT_COPY) return ::testing::AssertionFailure() << "not taken: effect " << outcome.effect;
    if (!program.Settle()) return ::testing::AssertionFailure() << "the window does not answer";
    return ::testing::AssertionSuccess();
}

TEST(DropTest, FilesAndFoldersJoinTheListAsAddFilesAndAddDirAddThem) {
    ProgramFolder folder("drop-files");
    ASSERT_TRUE(folder.ok());
    SettingsRecord settings;
    settings.subdir = true;
    ASSERT_TRUE(folder.WriteSettings(settings));
    const std::wstring root = test::Widen(folder.path());
    // A folder tree, a file beside it, a name in Japanese and a path far
    // beyond MAX_PATH.
    const auto put = [](const std::wstring& file, const char* bytes) {
        return test::MakeFolders(file.substr(0, file.rfind(L'\\'))) && test::WriteBytes(file, bytes);
    };
    const std::wstring tree = root + L"tree";
    for (const wchar_t* name : {L"\\x.jpg", L"\\z.txt", L"\\sub\\y.jpg"}) ASSERT_TRUE(put(tree + name, "t"));
    const std::wstring single = root + L"single.jpg";
    const std::wstring japanese = root + L"\x5199\x771F_\x8868.jpg";  // 写真_表.jpg
    const std::wstring deep = root + std::wstring(110, L'd') + L"\\" + std::wstring(110, L'e') + L"\\long.jpg";
    for (const std::wstring& file : {single, japanese, deep}) ASSERT_TRUE(put(file, "f"));
    ASSERT_GT(deep.size(), static_cast<std::size_t>(MAX_PATH));
    const std::wstring before = root + L"before.jpg";
    ASSERT_TRUE(test::WriteBytes(before, "b"));
    ASSERT_TRUE(folder.WriteHandoff({test::Narrow(before)}));

    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.Checked(IDC_SUBDIR));
    // The filter shows the pictures only.
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, ".jpg"));
    ASSERT_TRUE(Drop(program, {single, tree, japanese, deep}));
    // In the order dropped, the folder scanned depth first with its
    // sub-folder; the text file is gathered but filtered out.
    // (The folder's own order is the file system's.)
    WideStrings shown = WideItems(program.Control(IDC_FILE_LIST));
    ASSERT_EQ(shown.size(), 6u);
    std::sort(shown.begin() + 2, shown.begin() + 4);
    EXPECT_EQ(shown, (WideStrings{before, single, tree + L"\\sub\\y.jpg", tree + L"\\x.jpg", japanese, deep}));
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    const RECT window = program.main().ScreenRect();
    EXPECT_TRUE(SaveSettledScreenshot(program, "drop_files", window));
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, ""));
    EXPECT_EQ(program.Control(IDC_FILE_LIST).Count(), 7);

    // Dropped again: each file once (as Add Files and Add Dir gather them).
    ASSERT_TRUE(Drop(program, {single}));
    const WideStrings again = WideItems(program.Control(IDC_FILE_LIST));
    EXPECT_EQ(again.size(), 7u);
    EXPECT_EQ(again.back(), single);

    // Nothing is taken while a dialog of the window is open: the exit question.
    ASSERT_TRUE(program.Focus(IDC_FILE_LIST));
    ASSERT_TRUE(program.PressKey(VK_ESCAPE));
    const MessageView question = program.WaitForMessage();
    ASSERT_TRUE(question.window);
    const DragOutcome refused = DragFilesTo({japanese}, program.Control(IDC_FILE_LIST).Centre());
    EXPECT_EQ(refused.effect, static_cast<DWORD>(DROPEFFECT_NONE));
    ASSERT_TRUE(question.Press("&No"));
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(WideItems(program.Control(IDC_FILE_LIST)), again);
    ASSERT_TRUE(program.Close(true));
}

TEST(DropTest, ARuleFileAloneReplacesTheRulesABatchFileLoads) {
    ProgramFolder folder("drop-rules");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "data", {"one.txt", "two.txt"});
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Before", {"FILEEXT LOWERCASE all"}));
    // A rule file outside the favourites folder, a damaged one, a batch file.
    const std::string rules = folder.MakeFile("elsewhere\\Web photos.QVR",
                                              StringListRecord({"FILENAME PREFIX \"web_\"", "FILEEXT UPPERCASE all"}));
    const std::string damaged =
        folder.MakeFile("elsewhere\\cut.qvr", StringListRecord({"FILENAME PREFIX \"a\""}).replace(0, 2, std::string("\x02\x00", 2)));
    BatchRecord batch;
    batch.master = {files[1], files[0], "C:\\elsewhere\\three.txt"};
    batch.displayed = {files[1], files[0]};
    batch.runRecord = {files[1] + ".bak", files[0] + ".bak"};
    batch.rules = {"FILENAME SUFFIX \"_b\""};
    batch.undo = true;
    const std::string job = folder.MakeFile("elsewhere\\job.qvb", BatchBytes(batch));

    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_EQ(program.Items(IDC_RULE_LIST), Strings{"FILEEXT LOWERCASE all"});
    // A filter typed after the last refresh: the drop refreshes the status
    // line, as a favourite does.
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, "one"));

    ASSERT_TRUE(Drop(program, {test::Widen(rules)}));
    EXPECT_EQ(program.Items(IDC_RULE_LIST), (Strings{"FILENAME PREFIX \"web_\"", "FILEEXT UPPERCASE all"}));
    EXPECT_EQ(program.Status(), ReadyStatus(1));
    EXPECT_EQ(program.Items(IDC_FILE_LIST), Strings{files[0]});  // the files stay

    // A damaged rule file: the file error, and the rule list as it was.
    const DragOutcome outcome = DragFilesTo({test::Widen(damaged)}, program.Control(IDC_FILE_LIST).Centre());
    EXPECT_EQ(outcome.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    const MessageView message = program.WaitForMessage();
    ASSERT_TRUE(message.window);
    EXPECT_EQ(message.caption, "Quorvane 2");
    EXPECT_EQ(message.text, "An attempt was made to access an unnamed file past its end.");
    ASSERT_TRUE(message.Press("OK"));
    ASSERT_TRUE(WaitFor([&] { return !message.window; }));
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.Items(IDC_RULE_LIST), (Strings{"FILENAME PREFIX \"web_\"", "FILEEXT UPPERCASE all"}));

    // The batch file: its lists, rules and Undo as LoadBatch loads them.
    ASSERT_TRUE(Drop(program, {test::Widen(job)}));
    EXPECT_EQ(program.Items(IDC_FILE_LIST), batch.displayed);
    EXPECT_EQ(program.Items(IDC_RULE_LIST), batch.rules);
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    EXPECT_TRUE(SaveSettledScreenshot(program, "drop_batch_file", program.main().ScreenRect()));

    // A rule file among other files is a file to rename like any.
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, ""));
    ASSERT_TRUE(Drop(program, {test::Widen(rules), test::Widen(files[0])}));
    EXPECT_EQ(program.Items(IDC_RULE_LIST), batch.rules);
    const Strings listed = program.Items(IDC_FILE_LIST);
    EXPECT_NE(std::find(listed.begin(), listed.end(), rules), listed.end());
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
