// The plan of a run on the in-memory file system: what it refuses and why
// (the preview's marks), that the rename then leaves every file where the
// table says, and that Undo brings every name back. Then runs cut short
// after k moves, taken back from their journal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "batch/rename_run.h"
#include "batch/run_journal.h"
#include "batch/run_plan.h"
#include "batch/session_commands.h"
#include "batch/undo.h"
#include "platform/codepage.h"
#include "system/system.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_services.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;
using Files = std::map<std::string, std::string>;
using Strings = std::vector<std::string>;

// ---------------------------------------------------------------- names

TEST(RunPlanNames, WhatWindowsRefusesOrAlters) {
    const auto cp = MakeUtf8CodePage();
    const std::string emoji = "\xF0\x9F\x8E\x89";  // two UTF-16 units
    std::string emoji127, emoji128;
    for (int i = 0; i < 127; ++i) emoji127 += emoji;
    emoji128 = emoji127 + emoji;
    struct Case {
        char sep;
        std::string oldPath, newPath;
        bool allowed;
    };
    const Case cases[] = {
        {'\\', "C:\\d\\photo.jpg", "C:\\d\\photo.", false},  // Windows drops the dot
        {'\\', "C:\\d\\photo.jpg", "C:\\d\\photo ", false},
        {'\\', "C:\\d\\photo.jpg", "C:\\d\\photo. .jpg", true},
        {'\\', "C:\\d\\photo.jpg", "C:\\d\\", false},  // no name at all
        {'\\', "C:\\d\\a", "C:\\d\\CON", false},
        {'\\', "C:\\d\\a", "C:\\d\\con.txt", false},
        {'\\', "C:\\d\\a", "C:\\d\\Nul .tar.gz", false},
        {'\\', "C:\\d\\a", "C:\\d\\lpt9", false},
        {'\\', "C:\\d\\a", "C:\\d\\COM1.log", false},
        {'\\', "C:\\d\\a", "C:\\d\\COM0", true},
        {'\\', "C:\\d\\a", "C:\\d\\CONSOLE", true},
        {'\\', "C:\\d\\a", "C:\\d\\AUXILIARY.txt", true},
        {'\\', "C:\\d\\a", "C:\\d\\a<b", false},
        {'\\', "C:\\d\\a", "C:\\d\\a>b", false},
        {'\\', "C:\\d\\a", "C:\\d\\a:b", false},
        {'\\', "C:\\d\\a", "C:\\d\\a\"b", false},
        {'\\', "C:\\d\\a", "C:\\d\\a|b", false},
        {'\\', "C:\\d\\a", "C:\\d\\a?b", false},
        {'\\', "C:\\d\\a", "C:\\d\\a*b", false},
        {'\\', "C:\\d\\a", "C:\\d\\a\tb", false},
        {'\\', "C:\\d\\a", "C:\\d\\" + std::string(255, 'n'), true},
        {'\\', "C:\\d\\a", "C:\\d\\" + std::string(256, 'n'), false},
        {'\\', "C:\\d\\a", "C:\\d\\" + emoji127 + "x", true},  // 255 units
        {'\\', "C:\\d\\a", "C:\\d\\" + emoji128, false},       // 256 units in 512 bytes
        {'\\', "C:\\d\\a", "C:\\d\\new.\\a", false},           // a new folder counts too
        {'\\', "C:\\d\\a", "D:\\out\\a", true},                // another drive: the root is no name
        {'\\', "C:\\d\\a", "\\\\server\\share\\a", true},
        {'\\', "C:\\d\\a", "C:/d/b", true},                    // '/' separates on Windows
        {'\\', "C:\\bad.\\a", "C:\\bad.\\b", true},            // a folder the file already lives in
        {'/', "/d/a", "/d/a\\b", false},                       // natively Windows would split there
        {'/', "/d/a", "/d/photo.", false},
        {'/', "/d/a", "/d/aux", false},
        {'/', "/d/x:y/a", "/d/x:y/b", true},
        {'/', "/d/a", "/d/" + std::string(255, 'n'), true},
        // The first difference decides where the names begin to count.
        {'\\', "C:\\d.x\\a", "C:\\d.\\a", false},     // it falls on the new separator
        {'\\', "C:\\d\\a.b", "C:\\d\\a.", false},     // the new path is the start of the old one
        {'\\', "C:\\d\\ab", "C:\\d\\a", true},
        {'\\', "C:\\d\\a", "C:\\d\\ab", true},
        {'\\', "C:\\x.\\y.\\a", "C:\\x.\\y.\\b", true},  // two shared folders
        {'\\', "C:\\x.\\a", "C:\\x.\\a\\b.", false},    // a new component after a shared name
        {'\\', "\\\\srv\\a.\\x", "\\\\srv\\b.\\x", true},  // the difference inside the root
        {'/', "/d/\xC3\xA9./a", "/d/\xC3\xA9./b", true},          // a shared folder not in ASCII
        {'/', "/d/\xC3\xA9/a", "/d/\xC3\xA9./a", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.allowed, IsNewPathAllowed(*cp, c.sep, c.oldPath, c.newPath)) << c.newPath;
}

TEST(RunPlanNames, DoubleByteTrailBytesAreNoSeparatorsOrBars) {
    const auto cp = MakeTableCodePage(932);
    ASSERT_TRUE(cp);
    // 0x95 0x5C and 0x83 0x7C: the second byte looks like '\' and '|'.
    EXPECT_TRUE(IsNewPathAllowed(*cp, '\\', "C:\\d\\a", "C:\\d\\\x95\x5C\x83\x7C.txt"));
    EXPECT_EQ("C:\\d\\", FolderOfPath(*cp, '\\', "C:\\d\\\x95\x5C.txt"));
    // Only the name after the double-byte character counts when that byte is
    // taken for a separator: "CON" would be refused.
    EXPECT_TRUE(IsNewPathAllowed(*cp, '\\', "C:\\d\\\x95\x5C" "COM", "C:\\d\\\x95\x5C" "CON"));
}

// ---------------------------------------------------------------- plans as tables

// One table row: the files in C:\d (each holding its own name), the
// entries (old name -> new name), the reason the preview gives for each
// entry ("" when it goes ahead), and the folder after the rename.
struct PlanCase {
    const char* what;
    bool ignoreCase;
    Strings files;
    std::vector<std::pair<std::string, std::string>> entries;
    Strings refused;
    Files after;
};

const char kTaken[] = "the name is taken";
const char kTwice[] = "two files want the name";
const char kBad[] = "Windows does not allow the name";
const char kWaits[] = "it waits on a refused file";

class PlanTable : public ::testing::TestWithParam<PlanCase> {};

std::string D(const std::string& name) { return "C:\\d\\" + name; }

Files Named(const Files& byName) {
    Files out;
    for (const auto& kv : byName) out[D(kv.first)] = kv.second;
    return out;
}

TEST_P(PlanTable, PreviewRenameAndUndo) {
    const PlanCase& c = GetParam();
    MemoryFileSystem fs('\\', c.ignoreCase);
    for (const auto& f : c.files) fs.AddFile(D(f), f);
    const Files before = fs.Files();
    const auto cp = MakeUtf8CodePage();
    test::TestServices services(*cp, fs);
    BatchSession s(services);
    s.rules = {"r"};
    std::map<std::string, std::string> table;
    Strings paths;
    for (const auto& e : c.entries) {
        table[D(e.first)] = D(e.second);
        paths.push_back(D(e.first));
    }
    s.files.AddFiles(paths);
    RunServices run;
    run.newPath = [&](const std::string& p, std::int32_t, const Strings&) { return table.at(p); };

    std::size_t refusals = 0;
    for (const auto& r : c.refused) refusals += !r.empty();
    EXPECT_EQ(refusals, PreviewCommand(s, fs, run).failures);
    std::string preview, renamed;
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
        const std::string o = D(c.entries[i].first), n = D(c.entries[i].second);
        const std::string mark = c.refused[i].empty() ? "" : "  (refused: " + c.refused[i] + ")";
        preview += "\"" + o + "\"  will be changed to  \"" + n + "\"" + mark + "\r\n";
        renamed += c.refused[i].empty() ? ChangedLine(o, n, RunMode::Rename) : ChangeFailedLine(o, n);
    }
    EXPECT_EQ(preview, s.resultText);
    EXPECT_EQ(before, fs.Files());

    EXPECT_EQ(refusals, RenameCommand(s, fs, run).failures);
    EXPECT_EQ(renamed, s.resultText);
    EXPECT_EQ(Named(c.after), fs.Files());

    EXPECT_EQ(refusals, UndoRename(s, fs));
    EXPECT_EQ(before, fs.Files());
}

const PlanCase kPlanCases[] = {
    {"renumber one up", true, {"001.jpg", "002.jpg", "003.jpg", "004.jpg", "005.jpg"},
     {{"001.jpg", "002.jpg"}, {"002.jpg", "003.jpg"}, {"003.jpg", "004.jpg"}, {"004.jpg", "005.jpg"}, {"005.jpg", "006.jpg"}},
     {"", "", "", "", ""},
     {{"002.jpg", "001.jpg"}, {"003.jpg", "002.jpg"}, {"004.jpg", "003.jpg"}, {"005.jpg", "004.jpg"}, {"006.jpg", "005.jpg"}}},
    {"renumber one down", true, {"002.jpg", "003.jpg", "004.jpg"},
     {{"002.jpg", "001.jpg"}, {"003.jpg", "002.jpg"}, {"004.jpg", "003.jpg"}},
     {"", "", ""},
     {{"001.jpg", "002.jpg"}, {"002.jpg", "003.jpg"}, {"003.jpg", "004.jpg"}}},
    {"swap", true, {"a", "b"}, {{"a", "b"}, {"b", "a"}}, {"", ""}, {{"a", "b"}, {"b", "a"}}},
    {"rotation", false, {"a", "b", "c"}, {{"a", "b"}, {"b", "c"}, {"c", "a"}}, {"", "", ""},
     {{"a", "c"}, {"b", "a"}, {"c", "b"}}},
    {"two files want one name", true, {"a", "b"}, {{"a", "x"}, {"b", "x"}}, {"", kTwice}, {{"x", "a"}, {"b", "b"}}},
    {"a name taken outside the run", true, {"a", "t"}, {{"a", "t"}}, {kTaken}, {{"a", "a"}, {"t", "t"}}},
    {"a chain ending on a taken name", true, {"a", "b", "c"}, {{"a", "b"}, {"b", "c"}}, {kWaits, kTaken},
     {{"a", "a"}, {"b", "b"}, {"c", "c"}}},
    {"a chain longer than the list order", true, {"a", "b", "c"}, {{"b", "c"}, {"a", "b"}, {"c", "d"}},
     {"", "", ""}, {{"b", "a"}, {"c", "b"}, {"d", "c"}}},
    {"case only", true, {"Photo.JPG"}, {{"Photo.JPG", "Photo.jpg"}}, {""}, {{"Photo.jpg", "Photo.JPG"}}},
    {"names differing in case clash", true, {"a", "b"}, {{"a", "X.txt"}, {"b", "x.txt"}}, {"", kTwice},
     {{"X.txt", "a"}, {"b", "b"}}},
    {"names differing in case where case counts", false, {"a", "b"}, {{"a", "X.txt"}, {"b", "x.txt"}}, {"", ""},
     {{"X.txt", "a"}, {"x.txt", "b"}}},
    {"taken in another letter case", true, {"a", "B.TXT"}, {{"a", "b.txt"}}, {kTaken}, {{"a", "a"}, {"B.TXT", "B.TXT"}}},
    {"swap by letter case", true, {"a.txt", "b.txt"}, {{"a.txt", "B.txt"}, {"b.txt", "A.txt"}}, {"", ""},
     {{"B.txt", "a.txt"}, {"A.txt", "b.txt"}}},
    {"trailing dot, and a file waiting on it", true, {"photo.jpg", "x.jpg"},
     {{"photo.jpg", "photo."}, {"x.jpg", "photo.jpg"}}, {kBad, kWaits}, {{"photo.jpg", "photo.jpg"}, {"x.jpg", "x.jpg"}}},
    {"a refused link breaks a cycle into a refused chain", true, {"a", "b", "c"},
     {{"a", "b"}, {"b", "c"}, {"c", "NUL.txt"}}, {kWaits, kWaits, kBad}, {{"a", "a"}, {"b", "b"}, {"c", "c"}}},
    {"every refused name form", true, {"a", "b", "c", "d", "e"},
     {{"a", "a "}, {"b", "LPT1"}, {"c", "c?"}, {"d", ""}, {"e", std::string(256, 'e')}},
     {kBad, kBad, kBad, kBad, kBad}, {{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}, {"e", "e"}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlanTable, ::testing::ValuesIn(kPlanCases),
                         [](const ::testing::TestParamInfo<PlanCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += (std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_');
                             return name;
                         });

// ---------------------------------------------------------------- the session around a run

class RunSessionTest : public ::testing::Test {
protected:
    RunSessionTest() : cp_(MakeUtf8CodePage()), services_(*cp_, fs_), s_(services_) { s_.rules = {"r"}; }
    RunServices Table(std::map<std::string, std::string> table) {
        RunServices r;
        r.newPath = [table](const std::string& p, std::int32_t, const Strings&) {
            const auto it = table.find(p);
            return it == table.end() ? p : it->second;
        };
        return r;
    }
    MemoryFileSystem fs_{'\\'};
    std::unique_ptr<CodePage> cp_;
    test::TestServices services_;
    BatchSession s_;
};

TEST_F(RunSessionTest, ConversionsClaimTheirPicturesAndWaitForThem) {
    fs_.AddFile(D("a.jpg"), "A");
    fs_.AddFile(D("b.gif"), "B");
    fs_.AddFile(D("c.jpg"), "C");
    fs_.AddFile(D("c.png"), "old png");
    s_.files.AddFiles({D("a.jpg"), D("b.gif"), D("c.jpg"), D("c.png")});
    RunServices run = Table({{D("a.jpg"), D("a.jpg?conpicPNG")},
                             {D("b.gif"), D("a.png")},
                             {D("c.jpg"), D("c.jpg?conpicPNG")},
                             {D("c.png"), D("old.png")}});
    Strings converted;
    run.convert = [&](const std::string& source, const std::string& target) {
        if (source == D("c.jpg")) {
            EXPECT_FALSE(fs_.HasFile(D("c.png")));  // the old one has left first
        }
        converted.push_back(source + " " + target);
        fs_.AddFile(target.substr(0, target.find('?') - 3) + "png", "converted");
        return true;
    };
    PreviewCommand(s_, fs_, run);
    EXPECT_NE(std::string::npos, s_.resultText.find("\"" + D("a.png") + "\"  (refused: two files want the name)"));
    EXPECT_EQ(1u, RenameCommand(s_, fs_, run).failures);
    EXPECT_EQ((Strings{D("a.jpg") + " " + D("a.jpg?conpicPNG"), D("c.jpg") + " " + D("c.jpg?conpicPNG")}), converted);
    EXPECT_EQ("B", fs_.Contents(D("b.gif")));
    EXPECT_EQ("old png", fs_.Contents(D("old.png")));
    EXPECT_EQ("converted", fs_.Contents(D("c.png")));
}

TEST_F(RunSessionTest, RenameRenameUndoBringsTheFirstRunBack) {
    fs_.AddFile(D("a"), "A");
    fs_.AddFile(D("b"), "B");
    s_.files.AddFiles({D("a"), D("b")});
    RenameCommand(s_, fs_, Table({{D("a"), D("a1")}, {D("b"), D("b1")}}));
    // The second run finds the old names gone and moves nothing.
    EXPECT_EQ(2u, RenameCommand(s_, fs_, Table({{D("a"), D("a2")}, {D("b"), D("b2")}})).failures);
    EXPECT_EQ((Strings{D("a1"), D("b1")}), s_.files.RunRecord());
    EXPECT_EQ(0u, UndoRename(s_, fs_));
    EXPECT_EQ((Files{{D("a"), "A"}, {D("b"), "B"}}), fs_.Files());
}

TEST_F(RunSessionTest, PreviewKeepsAPendingUndo) {
    fs_.AddFile(D("a"), "A");
    s_.files.AddFiles({D("a")});
    RenameCommand(s_, fs_, Table({{D("a"), D("b")}}));
    const std::string status = s_.statusLine;
    PreviewCommand(s_, fs_, Table({{D("a"), D("z")}}));
    EXPECT_EQ("\"" + D("a") + "\"  will be changed to  \"" + D("z") + "\"\r\n", s_.resultText);
    EXPECT_TRUE(s_.files.UndoEnabled());
    EXPECT_EQ((Strings{D("b")}), s_.files.RunRecord());
    EXPECT_EQ(EntryOutcome::Renamed, s_.files.Outcome(0));
    RefreshStatusLine(s_);
    EXPECT_EQ(status, s_.statusLine);  // still true: the rename can be undone
    EXPECT_EQ(0u, UndoRename(s_, fs_));
    EXPECT_EQ("A", fs_.Contents(D("a")));
}

TEST_F(RunSessionTest, ParkedFileWhoseWayOnAndBackAreTakenIsRecordedForUndo) {
    fs_.AddFile(D("a"), "A");
    fs_.AddFile(D("b"), "B");
    s_.files.AddFiles({D("a"), D("b")});
    // The swap parks a; then b's move fails, and another program takes a's old name.
    fs_.FailOn(MemoryFileSystem::Op::Move, D("b"), 1);
    fs_.SetHook([this](MemoryFileSystem::Op op, const std::string& from) {
        if (op == MemoryFileSystem::Op::Move && from == D("b")) fs_.AddFile(D("a"), "intruder");
    });
    EXPECT_EQ(2u, RenameCommand(s_, fs_, Table({{D("a"), D("b")}, {D("b"), D("a")}})).failures);
    fs_.SetHook(nullptr);
    const std::string parked = s_.files.RunRecordPath(0);
    EXPECT_EQ("A", fs_.Contents(parked));  // not lost: the record knows where it is
    EXPECT_EQ("B", fs_.Contents(D("b")));
    fs_.Remove(D("a"));
    EXPECT_EQ(1u, UndoRename(s_, fs_));  // b's rename had failed: reported, not touched
    EXPECT_EQ((Files{{D("a"), "A"}, {D("b"), "B"}}), fs_.Files());
}

TEST_F(RunSessionTest, DamagedBatchFileOnDiskChangesNothing) {
    fs_.AddFile(D("a"), "A");
    s_.files.AddFiles({D("a")});
    RenameCommand(s_, fs_, Table({{D("a"), D("b")}}));
    BatchFile other;
    other.masterList = other.displayedList = other.runRecord = {D("x")};
    const std::string bytes = EncodeBatchFile(other);
    fs_.AddFile(D("cut.qvb"), bytes.substr(0, bytes.size() - 2));
    const BatchLoadResult loaded = LoadBatchCommand(s_, fs_, D("cut.qvb"));
    EXPECT_EQ("An attempt was made to access an unnamed file past its end.", loaded.errorText);
    EXPECT_EQ((Strings{D("a")}), s_.files.MasterList());
    EXPECT_EQ((Strings{D("b")}), s_.files.RunRecord());
    EXPECT_TRUE(s_.files.UndoEnabled());
    fs_.AddFile(D("whole.qvb"), bytes);
    EXPECT_TRUE(LoadBatchCommand(s_, fs_, D("whole.qvb")).read.ok());
    EXPECT_EQ((Strings{D("x")}), s_.files.DisplayedList());
}

TEST_F(RunSessionTest, AddFilesGivesTheFolderNotAFile) {
    EXPECT_EQ("C:\\pics\\", AddFilesCommand(s_, {"C:\\pics\\one.jpg"}));
    EXPECT_EQ("C:\\pics\\", AddFilesCommand(s_, {"C:\\pics\\two.jpg", "C:\\pics\\three.jpg"}));
    EXPECT_EQ("", AddFilesCommand(s_, {}));
}

TEST_F(RunSessionTest, JournalThatCannotBeWrittenStopsTheRunBeforeAnyMove) {
    fs_.AddFile(D("a"), "A");
    s_.files.AddFiles({D("a")});
    s_.resultText = "earlier lines";
    const JournaledRenameResult r = RenameWithJournal(s_, fs_, Table({{D("a"), D("b")}}), "C:\\nofolder\\RunJournal.qvb");
    EXPECT_TRUE(r.journalFailed);
    EXPECT_EQ("An unknown error occurred while accessing C:\\nofolder\\RunJournal.qvb.", r.command.message);
    EXPECT_EQ("A", fs_.Contents(D("a")));
    EXPECT_EQ("earlier lines", s_.resultText);
    EXPECT_FALSE(s_.files.UndoEnabled());
}

TEST_F(RunSessionTest, TakenNamesAreFoundWhetherAskedOneByOneOrReadWithTheFolder) {
    // Few targets are asked about one by one; many make the plan read the
    // folder once. Both must find the same names taken.
    for (const std::size_t files : {std::size_t{10}, std::size_t{200}}) {
        MemoryFileSystem fs('\\');
        test::TestServices services(*cp_, fs);
        BatchSession s(services);
        s.rules = {"r"};
        std::map<std::string, std::string> table;
        for (std::size_t i = 0; i < files; ++i) {
            fs.AddFile(D("f" + std::to_string(i)), "x");
            table[D("f" + std::to_string(i))] = D("g" + std::to_string(i));
            s.files.Append(D("f" + std::to_string(i)));
        }
        s.files.RebuildFileList();
        fs.AddFile(D("g3"), "outside");
        fs.AddFile(D("G5"), "outside, another letter case");
        fs.AddFolder(D("g7"));
        PreviewCommand(s, fs, Table(table));
        const int reads = fs.Calls(MemoryFileSystem::Op::Find);
        EXPECT_EQ(files >= 64 ? 1 : 0, reads) << files;
        EXPECT_EQ(3u, RenameCommand(s, fs, Table(table)).failures) << files;
        for (const char* taken : {"f3", "f5", "f7"})
            EXPECT_NE(std::string::npos, s.resultText.find("\"" + D(taken) + "\"  change failed")) << files << taken;
        EXPECT_EQ("outside", fs.Contents(D("g3")));
    }
}

TEST_F(RunSessionTest, AMissingFileThatWouldWaitIsRefused) {
    // b would wait for c to leave, but b's file is gone: its move, never
    // made, would look made when a run is taken back (b gone, c there).
    fs_.AddFile(D("c"), "C");
    s_.files.AddFiles({D("c"), D("b")});
    RunServices run = Table({{D("c"), D("x")}, {D("b"), D("c")}});
    PreviewCommand(s_, fs_, run);
    EXPECT_EQ("\"" + D("c") + "\"  will be changed to  \"" + D("x") + "\"\r\n"
              "\"" + D("b") + "\"  will be changed to  \"" + D("c") + "\"  (refused: the file is missing)\r\n",
              s_.resultText);
    EXPECT_EQ(1u, RenameCommand(s_, fs_, run).failures);
    EXPECT_EQ((Files{{D("x"), "C"}}), fs_.Files());
}

TEST(RunPlanFolderRead, AFileAskedForTwiceIsThereForBoth) {
    // A chain f0 -> f1 -> ... -> f80 makes the plan read the folder to
    // learn whether the files that wait are there; one more entry with f5's
    // path (only Undo's record can hold one twice) waits on f81 -> z. Either
    // letter case rule; whether f5 is there comes from the one listing.
    const auto cp = MakeUtf8CodePage();
    for (const bool ignoreCase : {true, false}) {
        for (const bool f5There : {true, false}) {
            MemoryFileSystem fs('\\', ignoreCase);
            Strings paths;
            for (int i = 0; i <= 82; ++i) paths.push_back(D("f" + std::to_string(i)));
            paths.push_back(D("z"));
            for (int i = 0; i <= 81; ++i)  // f80, the chain's end, is free
                if (i != 80 && (i != 5 || f5There)) fs.AddFile(paths[i], "x");
            PlanInput input;
            for (int i = 0; i < 80; ++i) input.Add(PlanKind::Move, &paths[i], &paths[i + 1]);
            input.Add(PlanKind::Move, &paths[5], &paths[81]);   // entry 80
            input.Add(PlanKind::Move, &paths[81], &paths[83]);  // entry 81
            const RunPlan plan = PlanRun(fs, *cp, input);
            EXPECT_EQ(1, fs.Calls(MemoryFileSystem::Op::Find)) << ignoreCase;
            const Refusal expected = f5There ? Refusal::None : Refusal::SourceMissing;
            EXPECT_EQ(expected, plan.refusals[5]) << ignoreCase << f5There;
            EXPECT_EQ(expected, plan.refusals[80]) << ignoreCase << f5There;
            EXPECT_EQ(Refusal::None, plan.refusals[6]) << ignoreCase << f5There;
        }
    }
}

TEST_F(RunSessionTest, NewPathsOnSeveralThreadsAreTheSameAsOnOne) {
    Strings paths;
    for (int i = 0; i < 9000; ++i) paths.push_back(D("f" + std::to_string(i)));
    s_.files.AddFiles(paths);
    RunServices run;
    run.newPath = [](const std::string& p, std::int32_t number, const Strings&) {
        return p + "-" + std::to_string(number);
    };
    std::vector<std::size_t> steps;
    run.step = [&](std::size_t position) { steps.push_back(position); };
    PreviewCommand(s_, fs_, run);
    const std::string one = s_.resultText;
    const std::vector<std::size_t> oneSteps = steps;
    steps.clear();
    run.threads = 4;
    PreviewCommand(s_, fs_, run);
    EXPECT_EQ(one, s_.resultText);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));  // the bar never goes back
    EXPECT_EQ(oneSteps.back(), steps.back());
    EXPECT_EQ(1u, NewPathThreads(*cp_, {"FILENAME PREFIX \"x\"", "FILENAME SUFFIX mp3tagv2 property:Title"}));
    EXPECT_EQ(1u, NewPathThreads(*cp_, {"FILENAME SUFFIX image property:resolution"}));
    EXPECT_LE(1u, NewPathThreads(*cp_, {"FILENAME PREFIX digit length:3"}));
}

TEST(RunOnRealFiles, SeriesRenumberedUpAndBack) {
    // 400 real files renumbered one up (one chain, the last file first),
    // new paths on two threads, then undone; one of them
    // read-only, which Undo clears.
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const auto cp = MakeUtf8CodePage();
    test::TestServices services(*cp, fs);
    BatchSession s(services);
    s.rules = {"r"};
    auto name = [&](int i) { return dir.Child(std::to_string(1000 + i) + ".jpg"); };
    Strings paths;
    for (int i = 0; i < 400; ++i) paths.push_back(dir.WriteFile(std::to_string(1000 + i) + ".jpg", std::to_string(i)));
    FileTimes times{1000000000, 1100000000, 1200000000};
    ASSERT_TRUE(fs.SetAttributes(name(7), kAttrReadOnly, &times));
    s.files.AddFiles(paths);
    RunServices run;
    run.newPath = [&](const std::string& p, std::int32_t number, const Strings&) { return name(number); };
    run.threads = 2;
    EXPECT_EQ(0u, RenameCommand(s, fs, run).failures);
    std::string bytes;
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(name(400), bytes));
    EXPECT_EQ("399", bytes);
    EXPECT_EQ(0u, UndoRename(s, fs)) << s.resultText;
    for (int i = 0; i < 400; ++i) {
        ASSERT_EQ(IoResult::Ok, fs.ReadFile(name(i), bytes));
        EXPECT_EQ(std::to_string(i), bytes);
    }
    EXPECT_FALSE(fs.Exists(name(400)));
    FileStatus status;
    ASSERT_TRUE(fs.GetStatus(name(7), status));
    EXPECT_FALSE(status.attributes & kAttrReadOnly);
    EXPECT_EQ(1200000000, status.times.modified);
}

// ---------------------------------------------------------------- runs cut short

// A renumbered series, a swap, a rotation through another folder and a
// plain rename: every kind of step, crashed after each number of moves.
class CrashTest : public ::testing::TestWithParam<bool> {};

TEST_P(CrashTest, EveryMoveBeforeTheCrashIsTakenBack) {
    const bool throughUndoBatch = GetParam();
    const std::map<std::string, std::string> table = {
        {D("001"), D("002")}, {D("002"), D("003")}, {D("003"), D("004")},
        {D("a"), D("b")}, {D("b"), D("a")},
        {D("x"), "C:\\e\\y"}, {"C:\\e\\y", D("z")}, {D("z"), D("x")},
        {D("p"), D("P")},  // only the letter case
        {D("q"), D("q.")}, // refused
    };
    std::size_t moves = 0;
    for (std::size_t k = 0;; ++k) {
        MemoryFileSystem fs('\\');
        fs.AddFolder("C:\\data");
        for (const auto& kv : table) fs.AddFile(kv.first, kv.first);
        const Files before = fs.Files();
        const auto cp = MakeUtf8CodePage();
        test::TestServices services(*cp, fs);
        BatchSession s(services);
        s.rules = {"r"};
        Strings paths;
        for (const auto& kv : table) paths.push_back(kv.first);
        s.files.AddFiles(paths);
        RunServices run;
        run.newPath = [&](const std::string& p, std::int32_t, const Strings&) { return table.at(p); };
        const std::string journalPath = "C:\\data\\RunJournal.qvb";
        fs.StopAfter(MemoryFileSystem::Op::Move, static_cast<int>(k));
        bool crashed = false;
        try {
            if (throughUndoBatch) {
                run.journal = [&](const RunJournal& j) { return WriteRunJournal(fs, journalPath, j).saved(); };
                RenameCommand(s, fs, run);
            } else {
                RenameWithJournal(s, fs, run, journalPath);
            }
        } catch (const MemoryFileSystem::Crash&) {
            crashed = true;
        }
        fs.StopAfter(MemoryFileSystem::Op::Move, -1);
        if (!crashed) {
            moves = k;
            EXPECT_EQ(!throughUndoBatch, !fs.HasFile(journalPath));  // the window's journal goes at the end
            break;
        }
        if (throughUndoBatch) {
            const JournalLoadResult loaded = LoadRunJournal(fs, journalPath, *cp);
            ASSERT_TRUE(loaded.hasSteps);
            RunJournal j{loaded.load.read.batch, loaded.steps, true};
            const RollBackResult back = RollBackRun(fs, *cp, j);
            EXPECT_EQ(0u, back.failures) << back.text;
            fs.Remove(journalPath);
        } else {
            const UnfinishedRun unfinished = FindUnfinishedRun(fs, journalPath, *cp);
            ASSERT_TRUE(unfinished.found);
            std::set<std::uint32_t> movedEntries;
            for (std::size_t m = 0; m < k; ++m) movedEntries.insert(unfinished.journal.steps[m].entry);
            EXPECT_EQ(movedEntries.size(), unfinished.files) << "after " << k << " moves";
            BatchSession fresh(services);
            const RollBackResult back = RollBackUnfinishedRun(fresh, fs, journalPath, unfinished.journal);
            EXPECT_EQ(0u, back.failures) << back.text;
            EXPECT_EQ(movedEntries.size(), back.movedBack);
            EXPECT_EQ(back.text, fresh.resultText);
            EXPECT_EQ(table.size(), static_cast<std::size_t>(std::count(back.text.begin(), back.text.end(), '\n')));
        }
        EXPECT_EQ(before, fs.Files()) << "after " << k << " moves";
    }
    EXPECT_EQ(11u, moves);  // the chain 3, the swap 3 and the rotation 4 through a temporary name, the case 1
}

INSTANTIATE_TEST_SUITE_P(Recovery, CrashTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "UndoBatch" : "WindowJournal";
                         });

// A file system without file numbers: a swap that went round is told from
// one that never started by the parked file's size and time alone.
class NoFileIds : public MemoryFileSystem {
public:
    NoFileIds() : MemoryFileSystem('\\') {}
    std::uint64_t FileId(const std::string&) override { return 0; }
};

TEST(RunJournalRecovery, SwapThatWentRoundWithoutFileNumbers) {
    for (const bool sameSize : {false, true}) {
        NoFileIds fs;
        fs.AddFolder("C:\\data");
        fs.AddFile(D("a"), sameSize ? "1" : "first");
        fs.AddFile(D("b"), sameSize ? "2" : "second, longer");
        const Files before = fs.Files();
        const auto cp = MakeUtf8CodePage();
        test::TestServices services(*cp, fs);
        BatchSession s(services);
        s.rules = {"r"};
        s.files.AddFiles({D("a"), D("b")});
        RunServices run;
        run.newPath = [](const std::string& p, std::int32_t, const Strings&) { return p == D("a") ? D("b") : D("a"); };
        // The swap's three moves are made; the run dies before its end.
        fs.StopAfter(MemoryFileSystem::Op::Delete, 0);
        try {
            RenameWithJournal(s, fs, run, "C:\\data\\RunJournal.qvb");
        } catch (const MemoryFileSystem::Crash&) {
        }
        fs.StopAfter(MemoryFileSystem::Op::Delete, -1);
        const UnfinishedRun unfinished = FindUnfinishedRun(fs, "C:\\data\\RunJournal.qvb", *cp);
        ASSERT_TRUE(unfinished.found);
        RollBackRun(fs, *cp, unfinished.journal);
        fs.Remove("C:\\data\\RunJournal.qvb");
        if (sameSize) {
            // Nothing tells the two apart: the files are left as they are, both there.
            EXPECT_EQ(0u, unfinished.files);
            EXPECT_EQ((Files{{D("a"), "2"}, {D("b"), "1"}}), fs.Files());
        } else {
            EXPECT_EQ(2u, unfinished.files);
            EXPECT_EQ(before, fs.Files());
        }
    }
}

TEST(RunJournalFormat, IsABatchFileWithStepsAfterIt) {
    RunJournal j;
    j.batch.masterList = j.batch.displayedList = {"C:\\d\\a"};
    j.batch.runRecord = {"C:\\d\\b"};
    j.batch.undoEnabled = true;
    j.steps = {{0, "C:\\d\\a", "C:\\d\\~quorv1.tmp"}, {0, "C:\\d\\~quorv1.tmp", "C:\\d\\b"}};
    const std::string bytes = EncodeRunJournal(j);
    const std::string batch = EncodeBatchFile(j.batch);
    ASSERT_EQ(batch, bytes.substr(0, batch.size()));
    EXPECT_EQ(EncodeStringList({"quorv run steps", "0", "C:\\d\\a", "C:\\d\\~quorv1.tmp", "0", "C:\\d\\~quorv1.tmp",
                                "C:\\d\\b"}),
              bytes.substr(batch.size()));
    const auto cp = MakeUtf8CodePage();
    EXPECT_TRUE(DecodeBatchFile(bytes, *cp).batch == j.batch);  // loads anywhere as a batch file
    MemoryFileSystem fs;
    fs.AddFile("C:\\j.qvb", bytes);
    fs.AddFile("C:\\plain.qvb", batch);
    fs.AddFile("C:\\foreign.qvb", batch + EncodeStringList({"something else", "0", "a", "b"}));
    EXPECT_TRUE(LoadRunJournal(fs, "C:\\j.qvb", *cp).hasSteps);
    EXPECT_FALSE(LoadRunJournal(fs, "C:\\plain.qvb", *cp).hasSteps);
    EXPECT_FALSE(LoadRunJournal(fs, "C:\\foreign.qvb", *cp).hasSteps);
    EXPECT_EQ("The last rename run did not finish: 3 files were renamed. Rename them back?", UnfinishedRunQuestion(3));
}

}  // namespace
}  // namespace quorv
