// Runs end to end: Preview, Rename and Undo of real files with their exact
// result lines, the refusals without files or rules, batch files saved and
// loaded again in a new instance, a damaged batch file, and the wait window
// of a long run.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

using Strings = std::vector<std::string>;

const char kPrefixRule[] = "FILENAME PREFIX \"new_\"";

std::string Renamed(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return path.substr(0, slash + 1) + "new_" + path.substr(slash + 1);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string WillChange(const std::string& from, const std::string& to) {
    return Quoted(from) + "  will be changed to  " + Quoted(to) + "\r\n";
}
// A preview line of a file the rename would leave alone, with the reason.
std::string WillBeRefused(const std::string& from, const std::string& to, const std::string& reason) {
    return Quoted(from) + "  will be changed to  " + Quoted(to) + "  (refused: " + reason + ")\r\n";
}
std::string HasChanged(const std::string& from, const std::string& to) {
    return Quoted(from) + "  has been changed to  " + Quoted(to) + "\r\n";
}
std::string ChangeFailed(const std::string& from, const std::string& to) {
    return Quoted(from) + "  change failed with  " + Quoted(to) + "\r\n";
}
std::string RolledBack(const std::string& renamed, const std::string& old) {
    return renamed + "  roolback to " + old + "\r\n";
}
std::string RollbackFailed(const std::string& renamed, const std::string& old) {
    return renamed + "  roolback failed with  " + old + "\r\n";
}

// Loads the first favourite rule file into the rule list, as a click on it does.
bool ChooseFirstFavourite(const Program& program) { return program.ChooseItem(IDC_FAVOURITES, 0); }

// Answers an open or save dialog with a path.
bool AnswerFileDialog(const Program& program, const std::string& path) {
    const FileDialog dialog = program.WaitForFileDialog();
    return dialog.window() && dialog.EnterName(path) && dialog.Ok() && program.Settle() &&
           WaitFor([&] { return !dialog.window(); });
}

TEST(RunsTest, PreviewRenameAndUndoOfRealFiles) {
    ProgramFolder folder("rename");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "data", {"a.txt", "b.txt", "c.txt"});
    // b's new name is taken already; c is read-only.
    folder.MakeFile("data\\new_b.txt", "taken");
    ASSERT_TRUE(::SetFileAttributesA(files[2].c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {kPrefixRule}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    EXPECT_EQ(program.Items(IDC_FAVOURITES), Strings{"Prefix"});
    ASSERT_TRUE(ChooseFirstFavourite(program));
    EXPECT_EQ(program.Items(IDC_RULE_LIST), Strings{kPrefixRule});
    EXPECT_EQ(program.Status(), ReadyStatus(3));

    // Preview: lines only, nothing moves, Undo stays off, the status stays;
    // b's line says why the rename will leave it alone.
    ASSERT_TRUE(program.Click(IDC_PREVIEW));
    EXPECT_EQ(program.ResultText(), WillChange(files[0], Renamed(files[0])) +
                                        WillBeRefused(files[1], Renamed(files[1]), "the name is taken") +
                                        WillChange(files[2], Renamed(files[2])));
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"a.txt", "b.txt", "c.txt", "new_b.txt"}));
    EXPECT_FALSE(program.Enabled(IDC_UNDO));
    EXPECT_EQ(program.Status(), ReadyStatus(3));

    // Rename: a and c move, b's target is taken.
    ASSERT_TRUE(program.Click(IDC_RENAME));
    EXPECT_EQ(program.ResultText(), HasChanged(files[0], Renamed(files[0])) +
                                        ChangeFailed(files[1], Renamed(files[1])) +
                                        HasChanged(files[2], Renamed(files[2])));
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"b.txt", "new_a.txt", "new_b.txt", "new_c.txt"}));
    EXPECT_EQ(ReadBytes(Renamed(files[0])), "a.txt");
    EXPECT_EQ(ReadBytes(Renamed(files[1])), "taken");
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    EXPECT_EQ(program.Status(), kRenamedStatus);
    // The file list still shows the old paths.
    EXPECT_EQ(program.Items(IDC_FILE_LIST), files);

    // Undo: the moved files come back; b was never moved and is not touched.
    ASSERT_TRUE(program.Click(IDC_UNDO));
    EXPECT_EQ(program.ResultText(), RolledBack(Renamed(files[0]), files[0]) +
                                        RollbackFailed(Renamed(files[1]), files[1]) +
                                        RolledBack(Renamed(files[2]), files[2]));
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"a.txt", "b.txt", "c.txt", "new_b.txt"}));
    EXPECT_EQ(ReadBytes(folder.At("data\\new_b.txt")), "taken");
    EXPECT_EQ(::GetFileAttributesA(files[2].c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_FALSE(program.Enabled(IDC_UNDO));
    EXPECT_EQ(program.Status(), ReadyStatus(3));

    // Rename again, then Preview: the rename can still be undone, and the
    // status line says so.
    ASSERT_TRUE(program.Click(IDC_RENAME));
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    ASSERT_TRUE(program.Click(IDC_PREVIEW));
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    EXPECT_EQ(program.Status(), kRenamedStatus);
    ASSERT_TRUE(program.Close(true));
}

TEST(RunsTest, RulesThatChangeNothingStillEnableUndo) {
    ProgramFolder folder("unchanged");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "data", {"lower.txt", "UPPER.TXT"});
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Lower-case extensions", {"FILEEXT LOWERCASE all"}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(ChooseFirstFavourite(program));
    const std::string lowered = folder.At("data\\UPPER.txt");

    ASSERT_TRUE(program.Click(IDC_RENAME));
    EXPECT_EQ(program.ResultText(),
              Quoted(files[0]) + "  not changed\r\n" + HasChanged(files[1], lowered));
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    EXPECT_EQ(program.Status(), kRenamedStatus);

    ASSERT_TRUE(program.Click(IDC_UNDO));
    EXPECT_EQ(program.ResultText(), files[0] + "  not changed\r\n" + RolledBack(lowered, files[1]));
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"UPPER.TXT", "lower.txt"}));
    ASSERT_TRUE(program.Close(true));
}

TEST(RunsTest, UndoAfterReorderingMovesEachFileBack) {
    ProgramFolder folder("reordered");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "data", {"c.txt", "a.txt", "b.txt"});
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Numbers", {"FILENAME PREFIX digit length:2"}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(ChooseFirstFavourite(program));
    // Numbered in display order: c 01, a 02, b 03.
    ASSERT_TRUE(program.Click(IDC_RENAME));
    ASSERT_EQ(NamesIn(folder.At("data")), (Strings{"01c.txt", "02a.txt", "03b.txt"}));
    ASSERT_TRUE(program.Enabled(IDC_UNDO));

    // Sorting and moving keep Undo, and Undo still finds each file.
    ASSERT_TRUE(program.Click(IDC_SORT));
    ASSERT_TRUE(program.SelectItems(IDC_FILE_LIST, {2}, 2));
    ASSERT_TRUE(program.Click(IDC_FILE_UP));
    EXPECT_EQ(Names(program.Items(IDC_FILE_LIST)), (Strings{"a.txt", "c.txt", "b.txt"}));
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    ASSERT_TRUE(program.Click(IDC_UNDO));
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(ReadBytes(folder.At("data\\a.txt")), "a.txt");
    EXPECT_EQ(ReadBytes(folder.At("data\\c.txt")), "c.txt");
    EXPECT_EQ(program.ResultText().find("failed"), std::string::npos) << program.ResultText();
    ASSERT_TRUE(program.Close(true));
}

TEST(RunsTest, FilteringAgainDisablesUndo) {
    ProgramFolder folder("filter-undo");
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.WriteHandoff(MakeFiles(folder, "data", {"a.txt", "b.txt"})));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {kPrefixRule}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(ChooseFirstFavourite(program));
    ASSERT_TRUE(program.Click(IDC_RENAME));
    ASSERT_TRUE(program.Enabled(IDC_UNDO));
    // With an empty filter the boxes filter nothing again: Undo stays.
    ASSERT_TRUE(program.Click(IDC_EXCLUDE));
    ASSERT_TRUE(program.Click(IDC_CASE));
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    // A filter text rebuilds the list: Undo goes.
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, "q"));
    EXPECT_FALSE(program.Enabled(IDC_UNDO));
    ASSERT_TRUE(program.Close(true));
}

TEST(RunsTest, RunsRefuseWithoutFilesOrRules) {
    ProgramFolder folder("refusals");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());

    struct Refusal {
        int button;
        const char* text;
    };
    for (const Refusal& refusal : {Refusal{IDC_PREVIEW, "The file list is null, please add file first."},
                                   Refusal{IDC_RENAME, "The file list is null, please add file first."}}) {
        ASSERT_TRUE(program.Click(refusal.button));
        const MessageView message = program.WaitForMessage();
        ASSERT_TRUE(message.window);
        EXPECT_EQ(message.caption, "Message");
        EXPECT_EQ(message.text, refusal.text);
        EXPECT_EQ(message.buttons, Strings{"&OK"});
        if (refusal.button == IDC_PREVIEW) {
            // The message window: centred on the screen, its button 68 x 23
            // with its top 40 pixels above the window's height.
            const RECT r = message.window.ScreenRect();
            const RECT client = message.window.ClientOnScreen();
            EXPECT_LE(std::abs((r.left + r.right) - ::GetSystemMetrics(SM_CXSCREEN)), 1);
            EXPECT_LE(std::abs((r.top + r.bottom) - ::GetSystemMetrics(SM_CYSCREEN)), 1);
            const RECT ok = message.window.ChildWithText("&OK", "Button").ScreenRect();
            EXPECT_EQ(ok.right - ok.left, 68);
            EXPECT_EQ(ok.bottom - ok.top, 23);
            EXPECT_EQ(ok.top - client.top, (r.bottom - r.top) - 40);
            const RECT shot = UnionOf({program.main().ScreenRect(), r});
            EXPECT_TRUE(Screenshot("message", shot));
        }
        ASSERT_TRUE(message.Press("&OK"));
        ASSERT_TRUE(program.Settle());
        EXPECT_TRUE(WaitFor([&] { return !message.window; }));
    }
    EXPECT_EQ(program.ResultText(), "");
    ASSERT_TRUE(program.Close(true));

    // With files but no rules.
    ASSERT_TRUE(folder.WriteHandoff(MakeFiles(folder, "data", {"x.txt"})));
    Program again(folder);
    ASSERT_TRUE(again.running());
    EXPECT_EQ(again.Status(), kRuleListNullStatus);
    for (int button : {IDC_PREVIEW, IDC_RENAME}) {
        ASSERT_TRUE(again.Click(button));
        const MessageView message = again.WaitForMessage();
        ASSERT_TRUE(message.window);
        EXPECT_EQ(message.text, "Please define the rename rules.");
        ASSERT_TRUE(message.Press("&OK"));
        ASSERT_TRUE(again.Settle());
    }
    EXPECT_EQ(NamesIn(folder.At("data")), Strings{"x.txt"});
    ASSERT_TRUE(again.Close(true));
}

TEST(RunsTest, SaveBatchThenLoadBatchInANewInstanceUndoes) {
    ProgramFolder folder("batch");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "data", {"one.txt", "two.txt"});
    const Strings renamed = {Renamed(files[0]), Renamed(files[1])};
    folder.MakeFolder("jobs");
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {kPrefixRule}));
    {
        Program program(folder);
        ASSERT_TRUE(program.running());
        ASSERT_TRUE(ChooseFirstFavourite(program));
        // A batch file saved after a preview keeps Undo off.
        ASSERT_TRUE(program.Click(IDC_PREVIEW));
        ASSERT_TRUE(program.Click(IDC_SAVE_BATCH));
        ASSERT_TRUE(AnswerFileDialog(program, folder.At("jobs\\previewed")));
        // After a rename it keeps Undo on, with the new paths.
        ASSERT_TRUE(program.Click(IDC_RENAME));
        ASSERT_EQ(NamesIn(folder.At("data")), (Strings{"new_one.txt", "new_two.txt"}));
        ASSERT_TRUE(program.Click(IDC_SAVE_BATCH));
        ASSERT_TRUE(AnswerFileDialog(program, folder.At("jobs\\renamed")));
        ASSERT_TRUE(program.Close(true));
    }
    // The default extension was added; the fields are what the window held.
    BatchRecord previewed, saved;
    ASSERT_TRUE(ParseBatch(ReadBytes(folder.At("jobs\\previewed.qvb")), previewed));
    EXPECT_FALSE(previewed.undo);
    EXPECT_EQ(previewed.runRecord, renamed);
    ASSERT_TRUE(ParseBatch(ReadBytes(folder.At("jobs\\renamed.qvb")), saved));
    EXPECT_EQ(saved.master, files);
    EXPECT_EQ(saved.displayed, files);
    EXPECT_EQ(saved.runRecord, renamed);
    EXPECT_EQ(saved.rules, Strings{kPrefixRule});
    EXPECT_TRUE(saved.undo);

    Program program(folder);
    ASSERT_TRUE(program.running());
    EXPECT_EQ(program.Control(IDC_FILE_LIST).Count(), 0);
    ASSERT_TRUE(program.Click(IDC_LOAD_BATCH));
    ASSERT_TRUE(AnswerFileDialog(program, folder.At("jobs\\renamed.qvb")));
    EXPECT_EQ(program.Items(IDC_FILE_LIST), files);
    EXPECT_EQ(program.Items(IDC_RULE_LIST), Strings{kPrefixRule});
    EXPECT_TRUE(program.Enabled(IDC_UNDO));
    // Loading leaves the status line and the result list alone.
    EXPECT_EQ(program.Status(), kFileListNullStatus);
    EXPECT_EQ(program.ResultText(), "");

    ASSERT_TRUE(program.Click(IDC_UNDO));
    EXPECT_EQ(program.ResultText(), RolledBack(renamed[0], files[0]) + RolledBack(renamed[1], files[1]));
    EXPECT_EQ(NamesIn(folder.At("data")), (Strings{"one.txt", "two.txt"}));
    EXPECT_FALSE(program.Enabled(IDC_UNDO));
    EXPECT_EQ(program.Status(), ReadyStatus(2));
    ASSERT_TRUE(program.Close(true));
}

TEST(RunsTest, DamagedBatchFileIsReportedInTheSystemMessageBox) {
    ProgramFolder folder("damaged");
    ASSERT_TRUE(folder.ok());
    const Strings files = MakeFiles(folder, "data", {"a.txt", "b.txt"});
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {kPrefixRule}));
    // A whole record but for the last two bytes of its Undo field.
    BatchRecord batch;
    batch.master = {folder.At("data\\elsewhere.txt")};
    batch.displayed = batch.master;
    batch.runRecord = batch.master;
    batch.rules = {"FILEEXT UPPERCASE all"};
    batch.undo = true;
    const std::string whole = BatchBytes(batch);
    const std::string damaged = folder.MakeFile("damaged.qvb", whole.substr(0, whole.size() - 2));

    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(ChooseFirstFavourite(program));
    ASSERT_TRUE(program.Click(IDC_LOAD_BATCH));
    ASSERT_TRUE(AnswerFileDialog(program, damaged));
    const MessageView message = program.WaitForMessage();
    ASSERT_TRUE(message.window);
    EXPECT_EQ(message.caption, "Quorvane 2");
    EXPECT_EQ(message.text, "An attempt was made to access an unnamed file past its end.");
    EXPECT_EQ(message.buttons, Strings{"OK"});
    const RECT shot = UnionOf({program.main().ScreenRect(), message.window.ScreenRect()});
    EXPECT_TRUE(Screenshot("damaged_batch", shot));
    ASSERT_TRUE(message.Press("OK"));
    ASSERT_TRUE(program.Settle());

    // The displayed list, the rule list and Undo are as they were, and so
    // are the gathered files: the next filtering shows the same files.
    EXPECT_EQ(program.Items(IDC_FILE_LIST), files);
    EXPECT_EQ(program.Items(IDC_RULE_LIST), Strings{kPrefixRule});
    EXPECT_FALSE(program.Enabled(IDC_UNDO));
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, "*"));
    EXPECT_EQ(program.Items(IDC_FILE_LIST), files);
    ASSERT_TRUE(program.Close(true));
}

TEST(RunsTest, WaitWindowShowsDuringALongRun) {
    ProgramFolder folder("long-run");
    ASSERT_TRUE(folder.ok());
    // Long enough for a screenshot while it runs (moves slow down under
    // Wine as a folder fills).
    const int count = 1500;
    Strings files;
    const std::string data = folder.MakeFolder("data");
    for (int i = 0; i < count; ++i) {
        files.push_back(data + "\\file" + std::to_string(10000 + i) + ".txt");
        ASSERT_TRUE(WriteBytes(files.back(), ""));
    }
    ASSERT_TRUE(folder.WriteHandoff(files));
    ASSERT_TRUE(folder.WriteFavourite("Prefix", {kPrefixRule}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    ASSERT_EQ(program.Control(IDC_FILE_LIST).Count(), count);
    ASSERT_TRUE(ChooseFirstFavourite(program));

    const double started = Seconds();
    ASSERT_TRUE(program.Control(IDC_RENAME).Click());
    const Window wait = program.WaitForWindowTitled("Please Wait...", 20000);
    ASSERT_TRUE(wait) << "no wait window";
    const RECT r = wait.ScreenRect();
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 130);
    EXPECT_TRUE(::GetWindowLongW(wait.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    const RECT shot = UnionOf({program.main().ScreenRect(), r});
    const bool shotDuringRun = Screenshot("wait_window", shot) && wait.Visible();
    // The bar grows while the window's thread is busy renaming.
    std::vector<int> filled;
    while (wait && filled.size() < 2000) {
        const int pixels = WaitBarPixels(wait, kSilver);
        // A sample taken while the window was going away does not count.
        if (wait.Visible() && (filled.empty() || pixels != filled.back())) filled.push_back(pixels);
        ::Sleep(20);
    }
    ASSERT_TRUE(program.WaitIdle());
    const double seconds = Seconds() - started;
    std::printf("renaming %d files took %.2f s\n", count, seconds);
    EXPECT_TRUE(shotDuringRun) << "the run ended before the screenshot was taken";
    std::printf("the wait window's bar showed %zu different fillings\n", filled.size());
    EXPECT_GE(filled.size(), 3u) << "the wait window did not repaint during the run";
    EXPECT_TRUE(std::is_sorted(filled.begin(), filled.end())) << ::testing::PrintToString(filled);
    EXPECT_FALSE(wait);

    const std::string result = program.ResultText();
    EXPECT_EQ(static_cast<int>(std::count(result.begin(), result.end(), '\n')), count);
    EXPECT_EQ(result.find("change failed"), std::string::npos);
    EXPECT_EQ(NamesIn(data).size(), static_cast<std::size_t>(count));
    EXPECT_TRUE(Exists(data + "\\new_file10000.txt"));
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
