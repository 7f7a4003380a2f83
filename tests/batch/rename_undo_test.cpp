// Preview, Rename and Undo: result lines, the run record, the status line,
// and what happens to files when moves fail. The same suite runs on the
// in-memory file system and on real files in a temporary folder; every
// fault test checks that no file was lost or overwritten.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "batch/rename_run.h"
#include "batch/undo.h"
#include "platform/codepage.h"
#include "system/system.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_services.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;
using Strings = std::vector<std::string>;

// ---------------------------------------------------------------- environments

class Env {
public:
    virtual ~Env() = default;
    virtual FileSystem& fs() = 0;
    virtual char sep() const = 0;
    virtual std::string Path(const std::string& name) const = 0;  // name may hold '/' for sub-folders
    virtual void Make(const std::string& name, const std::string& bytes) = 0;
    virtual void MakeFolder(const std::string& name) = 0;
    std::string Read(const std::string& path) {
        std::string bytes;
        return fs().ReadFile(path, bytes) == IoResult::Ok ? bytes : std::string("<missing>");
    }
    bool Has(const std::string& path) { return fs().Exists(path); }
    // Every file with its bytes, by name relative to the root.
    virtual std::map<std::string, std::string> Snapshot() = 0;
};

class MemoryEnv : public Env {
public:
    MemoryEnv() : mem_('\\') { mem_.AddFolder("C:\\w"); }
    FileSystem& fs() override { return mem_; }
    char sep() const override { return '\\'; }
    std::string Path(const std::string& name) const override {
        std::string p = "C:\\w\\" + name;
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }
    void Make(const std::string& name, const std::string& bytes) override { mem_.AddFile(Path(name), bytes); }
    void MakeFolder(const std::string& name) override { mem_.AddFolder(Path(name)); }
    std::map<std::string, std::string> Snapshot() override {
        std::map<std::string, std::string> out;
        for (const auto& kv : mem_.Files()) out[kv.first.substr(5)] = kv.second;
        return out;
    }
    MemoryFileSystem mem_;
};

class RealEnv : public Env {
public:
    FileSystem& fs() override { return SystemFileSystem(); }
    char sep() const override { return test::Sep()[0]; }
    std::string Path(const std::string& name) const override {
        std::string p = dir_.Child(name);
        for (char& c : p)
            if (c == '/') c = sep();
        return p;
    }
    void Make(const std::string& name, const std::string& bytes) override { dir_.WriteFile(name, bytes); }
    void MakeFolder(const std::string& name) override { fs().CreateFolder(Path(name)); }
    std::map<std::string, std::string> Snapshot() override {
        std::map<std::string, std::string> out;
        Walk(dir_.path(), "", out);
        return out;
    }

private:
    void Walk(const std::string& folder, const std::string& rel, std::map<std::string, std::string>& out) {
        std::vector<DirEntry> entries;
        fs().FindEntries(folder + sep() + "*.*", [&](const DirEntry& e) {
            if (e.name != "." && e.name != "..") entries.push_back(e);
            return true;
        });
        for (const auto& e : entries) {
            const std::string full = folder + sep() + e.name;
            const std::string r = rel.empty() ? e.name : rel + "\\" + e.name;
            if (e.IsFolder())
                Walk(full, r, out);
            else
                out[r] = Read(full);
        }
    }
    test::TempDir dir_;
};

// New paths by name: a table of old name -> new name within the same
// folder (or a full path when the new name holds a separator).
RunServices Renames(Env& env, std::map<std::string, std::string> table, std::vector<std::int32_t>* numbers = nullptr) {
    RunServices s;
    const char sep = env.sep();
    s.newPath = [table, sep, numbers](const std::string& path, std::int32_t n, const Strings&) {
        if (numbers) numbers->push_back(n);
        const auto pos = path.rfind(sep);
        const std::string name = path.substr(pos + 1);
        auto it = table.find(name);
        if (it == table.end()) return path;
        if (it->second.find(sep) != std::string::npos) return it->second;
        return path.substr(0, pos + 1) + it->second;
    };
    return s;
}

class RunTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            env_ = std::make_unique<RealEnv>();
        else
            env_ = std::make_unique<MemoryEnv>();
        cp_ = MakeUtf8CodePage();
        services_ = std::make_unique<test::TestServices>(*cp_, env_->fs());
        session_ = std::make_unique<BatchSession>(*services_);
        session_->rules = {"FILENAME PREFIX \"x\""};  // the injected renames decide; the list must not be empty
    }
    Env& env() { return *env_; }
    BatchSession& s() { return *session_; }
    FileSystem& fs() { return env_->fs(); }
    std::string P(const std::string& name) { return env_->Path(name); }
    void Add(const Strings& names) {
        Strings paths;
        for (const auto& n : names) paths.push_back(P(n));
        s().files.AddFiles(paths);
    }
    std::size_t Rename(const std::map<std::string, std::string>& table) {
        return RenameCommand(s(), fs(), Renames(env(), table)).failures;
    }

    std::unique_ptr<Env> env_;
    std::unique_ptr<CodePage> cp_;
    std::unique_ptr<test::TestServices> services_;
    std::unique_ptr<BatchSession> session_;
};

INSTANTIATE_TEST_SUITE_P(FileSystems, RunTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Real" : "Memory"; });

TEST_P(RunTest, RenameAndUndoRoundTrip) {
    env().Make("a.txt", "A");
    env().Make("b.txt", "B");
    env().Make("c.txt", "C");
    Add({"a.txt", "b.txt", "c.txt"});
    const auto before = env().Snapshot();

    EXPECT_EQ(0u, Rename({{"a.txt", "1.txt"}, {"c.txt", "3.txt"}}));
    EXPECT_EQ("\"" + P("a.txt") + "\"  has been changed to  \"" + P("1.txt") + "\"\r\n" +
                  "\"" + P("b.txt") + "\"  not changed\r\n" +
                  "\"" + P("c.txt") + "\"  has been changed to  \"" + P("3.txt") + "\"\r\n",
              s().resultText);
    EXPECT_EQ((Strings{P("1.txt"), P("b.txt"), P("3.txt")}), s().files.RunRecord());
    EXPECT_EQ((Strings{P("a.txt"), P("b.txt"), P("c.txt")}), s().files.DisplayedList());  // the list still shows the old paths
    EXPECT_LE(s().resultText.capacity(), s().resultText.size() + 16);
    EXPECT_TRUE(s().files.UndoEnabled());
    EXPECT_EQ("Files have been renamed. You can use \"Undo\" to cancel this change.", s().statusLine);
    EXPECT_EQ("A", env().Read(P("1.txt")));
    EXPECT_EQ("C", env().Read(P("3.txt")));
    EXPECT_FALSE(env().Has(P("a.txt")));

    EXPECT_EQ(0u, UndoRename(s(), fs()));
    EXPECT_EQ(P("1.txt") + "  roolback to " + P("a.txt") + "\r\n" + P("b.txt") + "  not changed\r\n" + P("3.txt") +
                  "  roolback to " + P("c.txt") + "\r\n",
              s().resultText);
    EXPECT_FALSE(s().files.UndoEnabled());
    EXPECT_EQ("3 file(s) are ready for batch renaming.", s().statusLine);
    EXPECT_EQ(before, env().Snapshot());
    // The run record is left as it was.
    EXPECT_EQ((Strings{P("1.txt"), P("b.txt"), P("3.txt")}), s().files.RunRecord());
}

TEST_P(RunTest, RulesThatChangeNothingStillEnableUndo) {
    env().Make("a.txt", "A");
    Add({"a.txt"});
    Rename({});
    EXPECT_EQ("\"" + P("a.txt") + "\"  not changed\r\n", s().resultText);
    EXPECT_TRUE(s().files.UndoEnabled());
    EXPECT_EQ("Files have been renamed. You can use \"Undo\" to cancel this change.", s().statusLine);
    UndoRename(s(), fs());
    EXPECT_EQ(P("a.txt") + "  not changed\r\n", s().resultText);
    EXPECT_EQ("A", env().Read(P("a.txt")));
}

TEST_P(RunTest, TwoFilesWantingOneNameKeepBoth) {
    env().Make("a.txt", "A");
    env().Make("b.txt", "B");
    Add({"a.txt", "b.txt"});
    EXPECT_EQ(1u, Rename({{"a.txt", "same.txt"}, {"b.txt", "same.txt"}}));
    EXPECT_EQ("\"" + P("a.txt") + "\"  has been changed to  \"" + P("same.txt") + "\"\r\n" + "\"" + P("b.txt") +
                  "\"  change failed with  \"" + P("same.txt") + "\"\r\n",
              s().resultText);
    EXPECT_EQ((Strings{P("same.txt"), P("same.txt")}), s().files.RunRecord());
    // The text is written at its exact length (a long run's text is not
    // grown by doubling); a miscounted line kind would show here.
    EXPECT_LE(s().resultText.capacity(), s().resultText.size() + 16);
    EXPECT_EQ("A", env().Read(P("same.txt")));
    EXPECT_EQ("B", env().Read(P("b.txt")));

    // Undo brings the first back and leaves the second (whose rename failed) alone.
    EXPECT_EQ(1u, UndoRename(s(), fs()));
    EXPECT_EQ(P("same.txt") + "  roolback to " + P("a.txt") + "\r\n" + P("same.txt") + "  roolback failed with  " +
                  P("b.txt") + "\r\n",
              s().resultText);
    EXPECT_EQ("A", env().Read(P("a.txt")));
    EXPECT_EQ("B", env().Read(P("b.txt")));
    EXPECT_EQ(2u, env().Snapshot().size());
}

TEST_P(RunTest, ExistingTargetIsNeverOverwritten) {
    env().Make("a.txt", "A");
    env().Make("taken.txt", "KEEP");
    Add({"a.txt"});
    EXPECT_EQ(1u, Rename({{"a.txt", "taken.txt"}}));
    EXPECT_EQ("\"" + P("a.txt") + "\"  change failed with  \"" + P("taken.txt") + "\"\r\n", s().resultText);
    EXPECT_EQ("A", env().Read(P("a.txt")));
    EXPECT_EQ("KEEP", env().Read(P("taken.txt")));
    EXPECT_TRUE(s().files.UndoEnabled());  // whatever the outcome
}

TEST_P(RunTest, SourceVanishedBeforeTheRun) {
    env().Make("a.txt", "A");
    env().Make("b.txt", "B");
    Add({"a.txt", "b.txt"});
    ASSERT_TRUE(fs().Delete(P("a.txt")));
    EXPECT_EQ(1u, Rename({{"a.txt", "1.txt"}, {"b.txt", "2.txt"}}));
    EXPECT_EQ("\"" + P("a.txt") + "\"  change failed with  \"" + P("1.txt") + "\"\r\n" + "\"" + P("b.txt") +
                  "\"  has been changed to  \"" + P("2.txt") + "\"\r\n",
              s().resultText);
    EXPECT_EQ("B", env().Read(P("2.txt")));
    EXPECT_FALSE(env().Has(P("1.txt")));
}

TEST_P(RunTest, MissingDestinationFolderIsNotCreated) {
    env().Make("a.txt", "A");
    Add({"a.txt"});
    const std::string target = P("nofolder/a.txt");
    EXPECT_EQ(1u, Rename({{"a.txt", target}}));
    EXPECT_EQ("\"" + P("a.txt") + "\"  change failed with  \"" + target + "\"\r\n", s().resultText);
    EXPECT_EQ("A", env().Read(P("a.txt")));
    FileStatus st;
    EXPECT_FALSE(fs().GetStatus(P("nofolder"), st));
}

TEST_P(RunTest, MoveIntoAnotherFolderAndBack) {
    env().Make("a.txt", "A");
    env().MakeFolder("out");
    Add({"a.txt"});
    EXPECT_EQ(0u, Rename({{"a.txt", P("out/a.txt")}}));
    EXPECT_EQ("A", env().Read(P("out/a.txt")));
    EXPECT_EQ(0u, UndoRename(s(), fs()));
    EXPECT_EQ("A", env().Read(P("a.txt")));
    EXPECT_FALSE(env().Has(P("out/a.txt")));
}

TEST_P(RunTest, ReadOnlyFileIsRenamedAndUndoClearsReadOnly) {
    env().Make("ro.txt", "R");
    FileTimes times{1000000000, 1100000000, 1200000000};
    ASSERT_TRUE(fs().SetAttributes(P("ro.txt"), kAttrReadOnly, &times));
    Add({"ro.txt"});
    EXPECT_EQ(0u, Rename({{"ro.txt", "ro2.txt"}}));
    FileStatus st;
    ASSERT_TRUE(fs().GetStatus(P("ro2.txt"), st));
    EXPECT_TRUE(st.attributes & kAttrReadOnly);
    EXPECT_EQ(0u, UndoRename(s(), fs()));
    ASSERT_TRUE(fs().GetStatus(P("ro.txt"), st));
    EXPECT_FALSE(st.attributes & kAttrReadOnly);
    EXPECT_EQ(1200000000, st.times.modified);  // times written back
    EXPECT_EQ("R", env().Read(P("ro.txt")));
}

// Enough files for a run to read its folder and Undo the statuses of its
// files on a second thread, and for a preview to write its lines beside
// the plan: a taken name is still refused and marked, and every file
// comes back with its own times.
TEST_P(RunTest, ManyFilesReadAheadStillRefuseTakenNamesAndKeepEachFilesTimes) {
    const int count = 1100;
    std::map<std::string, std::string> table;
    Strings names;
    for (int i = 0; i < count; ++i) {
        const std::string name = "f" + std::to_string(i) + ".txt";
        env().Make(name, std::to_string(i));
        names.push_back(name);
        table[name] = "g" + std::to_string(i) + ".txt";
    }
    env().Make("g7.txt", "NEWCOMER");
    const std::vector<int> readOnly = {0, 600, count - 1};
    for (int i : readOnly) {
        FileTimes times{1000000000, 1100000000, 1200000000 + i};
        ASSERT_TRUE(fs().SetAttributes(P(names[i]), kAttrReadOnly, &times));
    }
    Add(names);
    EXPECT_EQ(1u, PreviewCommand(s(), fs(), Renames(env(), table)).failures);
    const std::string& text = s().resultText;
    EXPECT_NE(std::string::npos,
              text.find("\"" + P("f7.txt") + "\"  will be changed to  \"" + P("g7.txt") + "\"  (refused: the name is taken)\r\n"));
    EXPECT_NE(std::string::npos, text.find(ChangedLine(P("f8.txt"), P("g8.txt"), RunMode::Preview)));

    EXPECT_EQ(1u, Rename(table));
    EXPECT_EQ("NEWCOMER", env().Read(P("g7.txt")));
    EXPECT_EQ("7", env().Read(P("f7.txt")));
    EXPECT_EQ("600", env().Read(P("g600.txt")));

    EXPECT_EQ(1u, UndoRename(s(), fs()));  // the refused entry never moved: its line reports no way back
    std::map<std::string, std::string> expected{{"g7.txt", "NEWCOMER"}};
    for (int i = 0; i < count; ++i) expected[names[i]] = std::to_string(i);
    EXPECT_EQ(expected, env().Snapshot());
    for (int i : readOnly) {
        FileStatus st;
        ASSERT_TRUE(fs().GetStatus(P(names[i]), st));
        EXPECT_FALSE(st.attributes & kAttrReadOnly) << i;
        EXPECT_EQ(1200000000 + i, st.times.modified) << i;
    }
}

TEST_P(RunTest, UndoWhoseWayBackIsTakenTouchesNothing) {
    env().Make("a.txt", "A");
    Add({"a.txt"});
    Rename({{"a.txt", "b.txt"}});
    FileTimes times{1000000000, 1100000000, 1200000000};
    ASSERT_TRUE(fs().SetAttributes(P("b.txt"), kAttrReadOnly, &times));
    env().Make("a.txt", "NEWCOMER");
    EXPECT_EQ(1u, UndoRename(s(), fs()));
    EXPECT_EQ(P("b.txt") + "  roolback failed with  " + P("a.txt") + "\r\n", s().resultText);
    EXPECT_EQ("NEWCOMER", env().Read(P("a.txt")));
    EXPECT_EQ("A", env().Read(P("b.txt")));
    FileStatus st;
    ASSERT_TRUE(fs().GetStatus(P("b.txt"), st));
    EXPECT_TRUE(st.attributes & kAttrReadOnly);  // the failed undo kept its attributes
}

TEST_P(RunTest, UndoAfterReorderMovesEachFileToItsOwnName) {
    env().Make("c.txt", "C");
    env().Make("a.txt", "A");
    env().Make("b.txt", "B");
    Add({"c.txt", "a.txt", "b.txt"});
    const auto before = env().Snapshot();
    Rename({{"a.txt", "n1.txt"}, {"b.txt", "n2.txt"}, {"c.txt", "n3.txt"}});
    s().files.SortByName();
    s().files.SetFocus(2);
    s().files.SetSelected(2, true);
    s().files.MoveFocusedUp();
    ASSERT_TRUE(s().files.UndoEnabled());
    EXPECT_EQ(0u, UndoRename(s(), fs()));
    EXPECT_EQ(before, env().Snapshot());
}

TEST_P(RunTest, CaseOnlyRenameIsReportedAsDone) {
    env().Make("photo.jpg", "P");
    Add({"photo.jpg"});
    EXPECT_EQ(0u, Rename({{"photo.jpg", "PHOTO.JPG"}}));
    EXPECT_EQ("\"" + P("photo.jpg") + "\"  has been changed to  \"" + P("PHOTO.JPG") + "\"\r\n", s().resultText);
    EXPECT_EQ(0u, UndoRename(s(), fs()));
    EXPECT_TRUE(env().Has(P("photo.jpg")));
    EXPECT_FALSE(env().Has(P("PHOTO.JPG")));
}

TEST_P(RunTest, SecondRenameWithoutUndoFailsForMovedFiles) {
    env().Make("a.txt", "A");
    Add({"a.txt"});
    Rename({{"a.txt", "b.txt"}});
    EXPECT_EQ(1u, Rename({{"a.txt", "b.txt"}}));
    EXPECT_EQ("\"" + P("a.txt") + "\"  change failed with  \"" + P("b.txt") + "\"\r\n", s().resultText);
    EXPECT_TRUE(s().files.UndoEnabled());
    // The second run moved nothing: the first run's record stays, and Undo
    // brings the file back from where the first run put it.
    EXPECT_EQ((Strings{P("b.txt")}), s().files.RunRecord());
    EXPECT_EQ(EntryOutcome::Renamed, s().files.Outcome(0));
    UndoRename(s(), fs());
    EXPECT_EQ("A", env().Read(P("a.txt")));
    EXPECT_FALSE(env().Has(P("b.txt")));
}

TEST_P(RunTest, PreviewWithNoUndoPendingReplacesTheRecord) {
    env().Make("a.txt", "A");
    Add({"a.txt"});
    Rename({{"a.txt", "b.txt"}});
    UndoRename(s(), fs());
    const std::string status = s().statusLine;
    const auto snapshot = env().Snapshot();
    const CommandResult r = PreviewCommand(s(), fs(), Renames(env(), {{"a.txt", "z.txt"}}));
    ASSERT_TRUE(r.ran());
    EXPECT_EQ("\"" + P("a.txt") + "\"  will be changed to  \"" + P("z.txt") + "\"\r\n", s().resultText);
    EXPECT_FALSE(s().files.UndoEnabled());
    EXPECT_EQ(status, s().statusLine);  // not refreshed by a preview
    EXPECT_EQ(snapshot, env().Snapshot());
    EXPECT_EQ((Strings{P("z.txt")}), s().files.RunRecord());
}

TEST_P(RunTest, ConversionWritesACopyAndUndoReportsFailure) {
    env().Make("p.jpg", "JPEG");
    Add({"p.jpg"});
    RunServices services = Renames(env(), {{"p.jpg", "p.jpg?conpicPNG"}});
    Strings converted;
    services.convert = [&](const std::string& source, const std::string& target) {
        converted.push_back(source + "|" + target);
        return true;
    };
    RenameCommand(s(), fs(), services);
    ASSERT_EQ(1u, converted.size());
    EXPECT_EQ(P("p.jpg") + "|" + P("p.jpg?conpicPNG"), converted[0]);
    EXPECT_EQ("\"" + P("p.jpg") + "\"  has been changed to  \"" + P("p.jpg?conpicPNG") + "\"\r\n", s().resultText);
    EXPECT_EQ(EntryOutcome::Converted, s().files.Outcome(0));
    UndoRename(s(), fs());
    EXPECT_EQ(P("p.jpg?conpicPNG") + "  roolback failed with  " + P("p.jpg") + "\r\n", s().resultText);
    EXPECT_EQ("JPEG", env().Read(P("p.jpg")));

    services.convert = [](const std::string&, const std::string&) { return false; };
    RenameCommand(s(), fs(), services);
    EXPECT_EQ("\"" + P("p.jpg") + "\"  change failed with  \"" + P("p.jpg?conpicPNG") + "\"\r\n", s().resultText);
}

TEST_P(RunTest, FileNumbersAndProgressSteps) {
    env().Make("a", "1");
    env().Make("b", "2");
    env().Make("c", "3");
    Add({"a", "b", "c"});
    std::vector<std::int32_t> numbers;
    RunServices services = Renames(env(), {}, &numbers);
    std::vector<std::size_t> steps;
    services.step = [&](std::size_t i) { steps.push_back(i); };
    PreviewCommand(s(), fs(), services);
    EXPECT_EQ((std::vector<std::int32_t>{1, 2, 3}), numbers);
    EXPECT_EQ((std::vector<std::size_t>{0, 1, 2}), steps);
}

TEST_P(RunTest, EmptyListsGiveTheirMessagesAndChangeNothing) {
    s().resultText = "old";
    CommandResult r = PreviewCommand(s(), fs(), Renames(env(), {}));
    EXPECT_EQ("The file list is null, please add file first.", r.message);
    r = RenameCommand(s(), fs(), Renames(env(), {}));
    EXPECT_EQ("The file list is null, please add file first.", r.message);
    env().Make("a", "1");
    Add({"a"});
    s().rules.clear();
    r = RenameCommand(s(), fs(), Renames(env(), {{"a", "b"}}));
    EXPECT_EQ("Please define the rename rules.", r.message);
    EXPECT_EQ("old", s().resultText);
    EXPECT_TRUE(env().Has(P("a")));
    EXPECT_FALSE(s().files.UndoEnabled());
}

TEST_P(RunTest, ShorterDisplayedListRollsBackOnlyTheFirstEntries) {
    env().Make("a", "1");
    env().Make("b", "2");
    Add({"a", "b"});
    Rename({{"a", "a2"}, {"b", "b2"}});
    // As after loading a batch file with a shorter displayed list.
    s().files.SetDisplayedList({P("a")});
    s().files.SetRunRecord({P("a2"), P("b2")});
    s().files.SetUndoEnabled(true);
    UndoRename(s(), fs());
    EXPECT_EQ(P("a2") + "  roolback to " + P("a") + "\r\n", s().resultText);
    EXPECT_EQ("1", env().Read(P("a")));
    EXPECT_EQ("2", env().Read(P("b2")));
}

// ---------------------------------------------------------------- faults only the fake can make

class FaultTest : public ::testing::Test {
protected:
    FaultTest() : cp_(MakeUtf8CodePage()), services_(*cp_, fs_), session_(services_) { session_.rules = {"r"}; }
    void Add(const Strings& paths) { session_.files.AddFiles(paths); }
    RunServices Table(std::map<std::string, std::string> table) {
        RunServices s;
        s.newPath = [table](const std::string& p, std::int32_t, const Strings&) {
            auto it = table.find(p);
            return it == table.end() ? p : it->second;
        };
        return s;
    }
    MemoryFileSystem fs_{'\\'};
    std::unique_ptr<CodePage> cp_;
    test::TestServices services_;
    BatchSession session_;
};

TEST_F(FaultTest, AccessDeniedAndLockedFilesFailAlone) {
    fs_.AddFile("C:\\d\\a", "A");
    fs_.AddFile("C:\\d\\b", "B");
    fs_.AddFile("C:\\d\\c", "C");
    Add({"C:\\d\\a", "C:\\d\\b", "C:\\d\\c"});
    fs_.Lock("C:\\d\\b");
    fs_.FailOn(MemoryFileSystem::Op::Move, "C:\\d\\c2");
    const auto r = RenameCommand(session_, fs_, Table({{"C:\\d\\a", "C:\\d\\a2"}, {"C:\\d\\b", "C:\\d\\b2"},
                                                       {"C:\\d\\c", "C:\\d\\c2"}}));
    EXPECT_EQ(2u, r.failures);
    EXPECT_EQ("\"C:\\d\\a\"  has been changed to  \"C:\\d\\a2\"\r\n"
              "\"C:\\d\\b\"  change failed with  \"C:\\d\\b2\"\r\n"
              "\"C:\\d\\c\"  change failed with  \"C:\\d\\c2\"\r\n",
              session_.resultText);
    EXPECT_EQ((std::map<std::string, std::string>{{"C:\\d\\a2", "A"}, {"C:\\d\\b", "B"}, {"C:\\d\\c", "C"}}),
              fs_.Files());
}

TEST_F(FaultTest, FileVanishingDuringTheRunIsReported) {
    fs_.AddFile("C:\\d\\a", "A");
    fs_.AddFile("C:\\d\\b", "B");
    Add({"C:\\d\\a", "C:\\d\\b"});
    // Another program takes b away while a is being renamed.
    fs_.SetHook([this](MemoryFileSystem::Op op, const std::string& path) {
        if (op == MemoryFileSystem::Op::Move && path == "C:\\d\\a") fs_.Remove("C:\\d\\b");
    });
    const auto r = RenameCommand(session_, fs_, Table({{"C:\\d\\a", "C:\\d\\a2"}, {"C:\\d\\b", "C:\\d\\b2"}}));
    EXPECT_EQ(1u, r.failures);
    EXPECT_EQ(EntryOutcome::Failed, session_.files.Outcome(1));
    EXPECT_EQ("A", fs_.Contents("C:\\d\\a2"));
}

TEST_F(FaultTest, MoveThatDoesNotShowIsReportedAndLeftForUndo) {
    fs_.AddFile("C:\\d\\a", "A");
    Add({"C:\\d\\a"});
    // The move succeeds, but the check of the new name fails once.
    fs_.FailOn(MemoryFileSystem::Op::Exists, "C:\\d\\a2", 1);
    const auto r = RenameCommand(session_, fs_, Table({{"C:\\d\\a", "C:\\d\\a2"}}));
    EXPECT_EQ(1u, r.failures);
    EXPECT_EQ("\"C:\\d\\a\"  change failed with  \"C:\\d\\a2\"\r\n", session_.resultText);
    EXPECT_EQ(EntryOutcome::Unknown, session_.files.Outcome(0));
    // Undo still brings it back.
    EXPECT_EQ(0u, UndoRename(session_, fs_));
    EXPECT_EQ("A", fs_.Contents("C:\\d\\a"));
}

TEST_F(FaultTest, UndoFailuresKeepFilesAndAttributes) {
    fs_.AddFile("C:\\d\\a", "A", kAttrHidden);
    fs_.AddFile("C:\\d\\b", "B", kAttrReadOnly);
    fs_.AddFile("C:\\d\\c", "C");
    Add({"C:\\d\\a", "C:\\d\\b", "C:\\d\\c"});
    RenameCommand(session_, fs_, Table({{"C:\\d\\a", "C:\\d\\a2"}, {"C:\\d\\b", "C:\\d\\b2"}, {"C:\\d\\c", "C:\\d\\c2"}}));
    fs_.FailOn(MemoryFileSystem::Op::SetAttributes, "C:\\d\\a2", 1);
    fs_.FailOn(MemoryFileSystem::Op::Move, "C:\\d\\b2", 1);
    fs_.Remove("C:\\d\\c2");
    EXPECT_EQ(3u, UndoRename(session_, fs_));
    EXPECT_EQ("C:\\d\\a2  roolback failed with  C:\\d\\a\r\n"
              "C:\\d\\b2  roolback failed with  C:\\d\\b\r\n"
              "C:\\d\\c2  roolback failed with  C:\\d\\c\r\n",
              session_.resultText);
    EXPECT_EQ(static_cast<std::uint32_t>(kAttrHidden), fs_.AttributesOf("C:\\d\\a2"));
    EXPECT_EQ(static_cast<std::uint32_t>(kAttrReadOnly), fs_.AttributesOf("C:\\d\\b2"));  // given back after the failed move
    EXPECT_EQ((std::map<std::string, std::string>{{"C:\\d\\a2", "A"}, {"C:\\d\\b2", "B"}}), fs_.Files());
}

TEST_F(FaultTest, LoadedRecordWithoutOutcomesIsAttempted) {
    fs_.AddFile("C:\\d\\new", "N");
    session_.files.SetMasterList({"C:\\d\\old", "C:\\d\\x"});
    session_.files.SetDisplayedList({"C:\\d\\old", "C:\\d\\x"});
    session_.files.SetRunRecord({"C:\\d\\new", "C:\\d\\x2"});
    session_.files.SetUndoEnabled(true);
    EXPECT_EQ(1u, UndoRename(session_, fs_));
    EXPECT_EQ("C:\\d\\new  roolback to C:\\d\\old\r\n"
              "C:\\d\\x2  roolback failed with  C:\\d\\x\r\n",
              session_.resultText);
    EXPECT_EQ("N", fs_.Contents("C:\\d\\old"));
}

// ---------------------------------------------------------------- status line

TEST(StatusLine, FirstMatchingCaseWins) {
    struct Case {
        std::size_t files, rules;
        bool undo;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, false, "The File list is NULL. Please use \"Add Files\" or \"Add Dir\" to add files in the File list."},
        {0, 3, true, "The File list is NULL. Please use \"Add Files\" or \"Add Dir\" to add files in the File list."},
        {5, 0, true,
         "The Rule list is NULL. Please use the \"Rules builder\" to add rules or select one from the \"Favorite "
         "rules\"."},
        {5, 1, true, "Files have been renamed. You can use \"Undo\" to cancel this change."},
        {12, 1, false, "12 file(s) are ready for batch renaming."},
        {1, 1, false, "1 file(s) are ready for batch renaming."},
        {100000, 10, false, "100000 file(s) are ready for batch renaming."},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, StatusLineText(c.files, c.rules, c.undo));
}

}  // namespace
}  // namespace quorv
