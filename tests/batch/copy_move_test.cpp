// Copy and move of the selected files: order, name clashes, duplicate
// entries, failures reported and kept in the list.
#include "batch/copy_move.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "tests/support/memory_filesystem.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;
using Op = MemoryFileSystem::Op;
using Strings = std::vector<std::string>;

const CodePage& Cp() {
    static const std::unique_ptr<CodePage> cp = MakeTableCodePage(1252);
    return *cp;
}

struct Files {
    MemoryFileSystem fs;
    FileList list{Cp(), '\\'};
    std::string folder = "C:\\last\\";
    int pickerCalls = 0;
    std::string pickerStart;
    std::string choice = "C:\\dest";  // empty: cancel
    std::vector<std::string> order;   // paths in the order the file system was asked

    explicit Files(const Strings& names) {
        fs.AddFolder("C:\\dest");
        Strings paths;
        for (const std::string& n : names) {
            fs.AddFile("C:\\src\\" + n, "bytes of " + n);
            paths.push_back("C:\\src\\" + n);
        }
        list.AddFiles(paths);
        fs.SetHook([this](Op op, const std::string& path) {
            if (op == Op::Copy || op == Op::Move) order.push_back(path);
        });
    }
    void Select(std::initializer_list<std::size_t> entries) {
        for (std::size_t i : entries) list.SetSelected(i, true);
    }
    TransferCommandResult Run(TransferKind kind) {
        return TransferCommand(
            kind, fs, list, Cp(), folder,
            [this](std::string& f) {
                ++pickerCalls;
                pickerStart = f;
                if (choice.empty()) return false;
                f = choice;
                return true;
            },
            folderChosen);
    }
    std::function<void()> folderChosen;  // told once a folder was chosen
};

TEST(CopyMove, NothingSelectedAsksForASelection) {
    Files f({"a.jpg"});
    for (TransferKind kind : {TransferKind::Copy, TransferKind::Move}) {
        const TransferCommandResult r = f.Run(kind);
        EXPECT_FALSE(r.ran);
        EXPECT_EQ(r.message, "Please select the files first.");
    }
    EXPECT_EQ(f.pickerCalls, 0);
}

TEST(CopyMove, CancelledPickerChangesNothing) {
    Files f({"a.jpg"});
    f.Select({0});
    f.choice.clear();
    const TransferCommandResult r = f.Run(TransferKind::Move);
    EXPECT_FALSE(r.ran);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(f.pickerStart, "C:\\last\\");
    EXPECT_EQ(f.folder, "C:\\last\\");
    EXPECT_TRUE(f.fs.HasFile("C:\\src\\a.jpg"));
    EXPECT_EQ(f.list.DisplayedCount(), 1u);
}

TEST(CopyMove, TheWindowHearsOfTheChosenFolderOnlyAfterOkAndBeforeTheFirstFile) {
    // (The window lets the quick preview release its file then.)
    Files f({"a.jpg", "b.jpg"});
    f.folderChosen = [&f] { f.order.push_back("<folder chosen>"); };
    f.Select({0, 1});
    f.choice.clear();
    f.Run(TransferKind::Move);
    EXPECT_TRUE(f.order.empty());  // cancelled: not told
    f.choice = "C:\\dest";
    f.Run(TransferKind::Move);
    EXPECT_EQ(f.order, (Strings{"<folder chosen>", "C:\\src\\b.jpg", "C:\\src\\a.jpg"}));
    f.order.clear();
    f.list.SetSelected(0, false);
    f.Run(TransferKind::Copy);
    EXPECT_TRUE(f.order.empty());  // nothing selected: no picker, not told
}

TEST(CopyMove, CopyVisitsFromTheBottomAndReplacesFilesOfTheSameName) {
    Files f({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    f.fs.AddFile("C:\\dest\\c.jpg", "old c");
    f.Select({0, 2, 3});
    const TransferCommandResult r = f.Run(TransferKind::Copy);
    EXPECT_TRUE(r.ran);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(r.report.done, 3u);
    EXPECT_EQ(f.order, (Strings{"C:\\src\\d.jpg", "C:\\src\\c.jpg", "C:\\src\\a.jpg"}));
    EXPECT_EQ(f.fs.Contents("C:\\dest\\c.jpg"), "bytes of c.jpg");
    EXPECT_TRUE(f.fs.HasFile("C:\\dest\\a.jpg"));
    EXPECT_FALSE(f.fs.HasFile("C:\\dest\\b.jpg"));
    EXPECT_TRUE(f.fs.HasFile("C:\\src\\a.jpg"));  // copies leave the sources
    EXPECT_EQ(f.folder, "C:\\dest\\");            // the chosen folder, with its backslash
    EXPECT_FALSE(r.listChanged);
    EXPECT_EQ(f.list.DisplayedCount(), 4u);
    EXPECT_TRUE(f.list.IsSelected(0));  // the list is not touched
}

TEST(CopyMove, MoveNeverReplacesAndKeepsTheEntryOfAFailedMove) {
    Files f({"a.jpg", "b.jpg", "c.jpg"});
    f.fs.AddFile("C:\\dest\\b.jpg", "other b");
    f.Select({0, 1, 2});
    const TransferCommandResult r = f.Run(TransferKind::Move);
    EXPECT_TRUE(r.listChanged);
    EXPECT_EQ(r.report.done, 2u);
    EXPECT_EQ(r.report.failed, 1u);
    EXPECT_EQ(r.message, "1 file could not be moved:\r\nC:\\src\\b.jpg");
    // Both b files stay where they were.
    EXPECT_EQ(f.fs.Contents("C:\\src\\b.jpg"), "bytes of b.jpg");
    EXPECT_EQ(f.fs.Contents("C:\\dest\\b.jpg"), "other b");
    EXPECT_TRUE(f.fs.HasFile("C:\\dest\\a.jpg"));
    EXPECT_FALSE(f.fs.HasFile("C:\\src\\a.jpg"));
    // Only the entry of the failed move is left, master and displayed.
    EXPECT_EQ(f.list.MasterList(), Strings{"C:\\src\\b.jpg"});
    EXPECT_EQ(f.list.DisplayedList(), Strings{"C:\\src\\b.jpg"});
}

TEST(CopyMove, MoveRemovesEveryEqualEntryOnly) {
    Files f({"a.jpg", "b.jpg"});
    // The handoff file may bring a path twice; another spelling is another entry.
    f.list.Append("C:\\src\\a.jpg");
    f.list.Append("C:\\SRC\\A.JPG");
    f.list.RebuildFileList();
    ASSERT_EQ(f.list.DisplayedCount(), 4u);
    f.Select({0});
    const TransferCommandResult r = f.Run(TransferKind::Move);
    EXPECT_EQ(r.report.removedEntries, 2u);
    EXPECT_EQ(f.list.MasterList(), (Strings{"C:\\src\\b.jpg", "C:\\SRC\\A.JPG"}));
    EXPECT_EQ(f.list.DisplayedList(), (Strings{"C:\\src\\b.jpg", "C:\\SRC\\A.JPG"}));
    // Both entries of one path selected: one move, no failure.
    Files g({"a.jpg"});
    g.list.Append("C:\\src\\a.jpg");
    g.list.RebuildFileList();
    g.Select({0, 1});
    const TransferCommandResult twice = g.Run(TransferKind::Move);
    EXPECT_EQ(twice.report.done, 1u);
    EXPECT_EQ(twice.report.failed, 0u);
    EXPECT_EQ(twice.message, "");
    EXPECT_EQ(g.order.size(), 1u);
    EXPECT_EQ(g.list.DisplayedCount(), 0u);
}

TEST(CopyMove, FailuresAreCountedAndTheFirstFewNamed) {
    Files f({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"});
    f.Select({0, 1, 2, 3, 4});
    f.fs.FailNext(Op::Copy, 4);
    const TransferCommandResult r = f.Run(TransferKind::Copy);
    EXPECT_EQ(r.report.failed, 4u);
    EXPECT_EQ(r.report.done, 1u);
    EXPECT_EQ(r.message,
              "4 files could not be copied:\r\nC:\\src\\5.jpg\r\nC:\\src\\4.jpg\r\nC:\\src\\3.jpg\r\nand 1 more.");
    TransferReport none;
    EXPECT_EQ(TransferFailureMessage(TransferKind::Move, none), "");
}

TEST(CopyMove, NothingMovedLeavesTheListAsItWas) {
    Files f({"a.jpg", "b.jpg"});
    f.fs.Lock("C:\\src\\a.jpg");
    f.Select({0});
    const TransferCommandResult r = f.Run(TransferKind::Move);
    EXPECT_FALSE(r.listChanged);
    EXPECT_EQ(r.report.failed, 1u);
    EXPECT_TRUE(f.list.IsSelected(0));  // no rebuild: the selection stays for another try
}

TEST(CopyMove, FilesAlreadyInTheFolderStay) {
    Files f({"a.jpg"});
    f.choice = "c:\\SRC\\";
    f.Select({0});
    const TransferCommandResult move = f.Run(TransferKind::Move);
    EXPECT_EQ(move.report.unchanged, 1u);
    EXPECT_EQ(move.message, "");
    EXPECT_EQ(f.list.DisplayedCount(), 1u);
    EXPECT_TRUE(f.order.empty());
    EXPECT_EQ(f.fs.Contents("C:\\src\\a.jpg"), "bytes of a.jpg");
    f.Run(TransferKind::Copy);
    EXPECT_EQ(f.fs.Contents("C:\\src\\a.jpg"), "bytes of a.jpg");
    EXPECT_TRUE(f.order.empty());
}

TEST(CopyMove, TargetPaths) {
    const CodePage& cp = Cp();
    EXPECT_EQ(FolderWithSeparator("C:\\", cp, '\\'), "C:\\");  // a drive root gets no second one
    EXPECT_EQ(FolderWithSeparator("C:\\x", cp, '\\'), "C:\\x\\");
    EXPECT_EQ(FolderWithSeparator("", cp, '\\'), "\\");
    EXPECT_EQ(FolderWithSeparator("/srv", cp, '/'), "/srv/");
    EXPECT_EQ(TransferTarget("D:\\", "C:\\a\\b.jpg", cp, '\\'), "D:\\b.jpg");
    EXPECT_EQ(TransferTarget("D:\\", "b.jpg", cp, '\\'), "D:\\b.jpg");
    const std::unique_ptr<CodePage> cp932 = MakeTableCodePage(932);
    ASSERT_TRUE(cp932);
    // A trail byte equal to the backslash ends neither the folder nor the name.
    EXPECT_EQ(FolderWithSeparator("C:\\\x95\x5C", *cp932, '\\'), "C:\\\x95\x5C\\");
    EXPECT_EQ(TransferTarget("D:\\", "C:\\a\\x\x95\x5Cy.jpg", *cp932, '\\'), "D:\\x\x95\x5Cy.jpg");
}

}  // namespace
}  // namespace quorv
