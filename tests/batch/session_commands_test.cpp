// Whole commands on a session: status line refreshes of the file-list
// commands, and a rename undone after the session was saved to a batch file
// and loaded into a fresh one.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "batch/session_commands.h"
#include "batch/undo.h"
#include "platform/codepage.h"
#include "system/system.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/test_services.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;
using Strings = std::vector<std::string>;

class SessionTest : public ::testing::Test {
protected:
    SessionTest() : cp_(MakeUtf8CodePage()), services_(*cp_, fs_) {}
    std::unique_ptr<BatchSession> NewSession() { return std::make_unique<BatchSession>(services_); }
    static RunServices Prefix(const std::string& prefix) {
        RunServices s;
        s.newPath = [prefix](const std::string& p, std::int32_t, const Strings&) {
            const auto pos = p.rfind('\\');
            return p.substr(0, pos + 1) + prefix + p.substr(pos + 1);
        };
        return s;
    }
    MemoryFileSystem fs_{'\\'};
    std::unique_ptr<CodePage> cp_;
    test::TestServices services_;
};

TEST_F(SessionTest, AddFilesGivesTheFolderOfTheFilesForTheLastFolder) {
    // The open dialog names the one file chosen, or the folder of several:
    // the last folder is the files' folder either way, never a file.
    struct Case {
        std::vector<std::string> paths;
        std::string folder;
    };
    const Case cases[] = {
        {{"C:\\d\\a.txt"}, "C:\\d\\"},
        {{"C:\\d\\e\\a.txt", "C:\\d\\e\\b.txt"}, "C:\\d\\e\\"},
        {{"C:\\a.txt"}, "C:\\"},
        {{}, ""},  // a cancel keeps the last folder
    };
    for (const Case& c : cases) {
        auto s = NewSession();
        EXPECT_EQ(c.folder, AddFilesCommand(*s, c.paths)) << (c.paths.empty() ? "" : c.paths.front());
        EXPECT_EQ(c.paths.size(), s->files.DisplayedCount());
    }
}

TEST_F(SessionTest, FileListCommandsRefreshTheStatusLine) {
    auto s = NewSession();
    fs_.AddFile("C:\\d\\a.txt");
    fs_.AddFile("C:\\d\\b.txt");
    AddFolderCommand(*s, fs_, "");  // cancelled
    EXPECT_EQ("The File list is NULL. Please use \"Add Files\" or \"Add Dir\" to add files in the File list.",
              s->statusLine);
    AddFolderCommand(*s, fs_, "C:\\d");
    EXPECT_EQ("The Rule list is NULL. Please use the \"Rules builder\" to add rules or select one from the \"Favorite "
              "rules\".",
              s->statusLine);
    s->rules = {"FILENAME PREFIX \"x\""};
    AddFilesCommand(*s, {"C:\\d\\c.txt"});
    EXPECT_EQ("3 file(s) are ready for batch renaming.", s->statusLine);
    s->files.SetFilterText("a");  // a filter change does not refresh it
    EXPECT_EQ("3 file(s) are ready for batch renaming.", s->statusLine);
    s->files.SelectAll();
    RemoveSelectedCommand(*s);
    EXPECT_EQ("The File list is NULL. Please use \"Add Files\" or \"Add Dir\" to add files in the File list.",
              s->statusLine);
    s->files.SetFilterText("");
    EXPECT_EQ(2u, s->files.DisplayedCount());
    RemoveAllCommand(*s);
    EXPECT_EQ(0u, s->files.MasterCount());
}

TEST_F(SessionTest, RenameUndoneAfterSavingAndLoadingABatchFile) {
    fs_.AddFile("C:\\d\\a.txt", "A");
    fs_.AddFile("C:\\d\\b.txt", "B");
    fs_.AddFolder("C:\\jobs");
    {
        auto s = NewSession();
        s->rules = {"FILENAME PREFIX \"x\""};
        AddFilesCommand(*s, {"C:\\d\\a.txt", "C:\\d\\b.txt"});
        RenameCommand(*s, fs_, Prefix("x"));
        ASSERT_EQ(SaveResult::Outcome::Saved, SaveBatchFile(fs_, "C:\\jobs\\run.qvb", MakeBatchFile(*s)).outcome);
    }
    EXPECT_EQ("A", fs_.Contents("C:\\d\\xa.txt"));
    EXPECT_EQ("B", fs_.Contents("C:\\d\\xb.txt"));
    EXPECT_EQ(3u, fs_.FileCount());  // the two files and the batch file
    auto fresh = NewSession();
    const BatchLoadResult loaded = LoadBatchFile(fs_, "C:\\jobs\\run.qvb", SystemCodePage());
    ASSERT_TRUE(loaded.opened);
    ASSERT_TRUE(loaded.read.ok());
    ApplyBatchFile(*fresh, loaded.read);
    EXPECT_TRUE(fresh->files.UndoEnabled());
    EXPECT_EQ((Strings{"FILENAME PREFIX \"x\""}), fresh->rules);
    EXPECT_EQ(0u, UndoRename(*fresh, fs_));
    EXPECT_EQ("A", fs_.Contents("C:\\d\\a.txt"));
    EXPECT_EQ("B", fs_.Contents("C:\\d\\b.txt"));
    EXPECT_FALSE(fs_.HasFile("C:\\d\\xa.txt"));
}

TEST_F(SessionTest, PreviewSavedBatchLeavesUndoDisabled) {
    fs_.AddFile("C:\\d\\a.txt", "A");
    auto s = NewSession();
    s->rules = {"r"};
    AddFilesCommand(*s, {"C:\\d\\a.txt"});
    PreviewCommand(*s, fs_, Prefix("x"));
    const BatchFile b = MakeBatchFile(*s);
    EXPECT_FALSE(b.undoEnabled);
    EXPECT_EQ((Strings{"C:\\d\\xa.txt"}), b.runRecord);
    auto fresh = NewSession();
    fresh->files.SetUndoEnabled(true);
    ApplyBatchFile(*fresh, DecodeBatchFile(EncodeBatchFile(b), SystemCodePage()));
    EXPECT_FALSE(fresh->files.UndoEnabled());
}

TEST_F(SessionTest, DamagedBatchFileKeepsTheWindowSafe) {
    BatchFile b;
    b.masterList = {"C:\\m1", "C:\\m2"};
    b.displayedList = {"C:\\m2"};
    b.runRecord = {"C:\\new2"};
    b.rules = {"rule one", "rule two"};
    b.undoEnabled = true;
    const std::string bytes = EncodeBatchFile(b);

    auto s = NewSession();
    s->rules = {"old rule"};
    s->files.AddFiles({"C:\\old"});
    s->files.SetUndoEnabled(true);
    s->statusLine = "kept";
    // Cut inside the rule lines: nothing is taken, not even the lists read
    // whole before the fault, and Undo stays as it was.
    const BatchReadResult cut = DecodeBatchFile(std::string_view(bytes).substr(0, bytes.size() - 8), SystemCodePage());
    ASSERT_FALSE(cut.ok());
    ApplyBatchFile(*s, cut);
    EXPECT_EQ((Strings{"C:\\old"}), s->files.MasterList());
    EXPECT_EQ((Strings{}), s->files.RunRecord());
    EXPECT_EQ((Strings{"C:\\old"}), s->files.DisplayedList());
    EXPECT_EQ((Strings{"old rule"}), s->rules);
    EXPECT_TRUE(s->files.UndoEnabled());
    EXPECT_EQ("kept", s->statusLine);

    // Cut inside the first list: nothing is taken.
    auto t = NewSession();
    t->files.AddFiles({"C:\\old"});
    ApplyBatchFile(*t, DecodeBatchFile(std::string_view(bytes).substr(0, 5), SystemCodePage()));
    EXPECT_EQ((Strings{"C:\\old"}), t->files.MasterList());
}

}  // namespace
}  // namespace quorv
