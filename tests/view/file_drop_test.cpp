// Files and folders dropped on the main window: which drops load a rule or
// batch file, and how dropped items join the file list.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/test_services.h"
#include "view/file_drop.h"

namespace quorv {
namespace {

using Strings = std::vector<std::string>;
using test::MemoryFileSystem;

TEST(FileDrop, ARuleOrBatchFileDroppedAloneLoadsAnythingElseIsAdded) {
    MemoryFileSystem fs('\\');
    fs.AddFile("C:\\r\\Web.qvr");
    fs.AddFile("C:\\r\\JOB.QVB");
    fs.AddFile("C:\\r\\photo.jpg");
    fs.AddFile("C:\\r\\x.qvr.txt");
    fs.AddFolder("C:\\r\\folder.qvr");
    const std::unique_ptr<CodePage> cp = MakeTableCodePage(1252);
    struct Row {
        Strings paths;
        DropKind kind;
    };
    const Row rows[] = {
        {{"C:\\r\\Web.qvr"}, DropKind::LoadRuleFile},
        {{"C:\\r\\JOB.QVB"}, DropKind::LoadBatchFile},        // letter case aside
        {{"C:\\r\\gone.qvb"}, DropKind::LoadBatchFile},       // LoadBatch tells it cannot be opened
        {{"C:\\r\\photo.jpg"}, DropKind::AddItems},
        {{"C:\\r\\x.qvr.txt"}, DropKind::AddItems},
        {{"C:\\r\\folder.qvr"}, DropKind::AddItems},          // a folder, whatever its name
        {{"C:\\r\\Web.qvr", "C:\\r\\photo.jpg"}, DropKind::AddItems},  // among others: a file to rename
        {{"C:\\r\\Web.qvr", "C:\\r\\JOB.QVB"}, DropKind::AddItems},
        {{}, DropKind::AddItems},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ClassifyDrop(fs, *cp, row.paths), row.kind) << (row.paths.empty() ? "" : row.paths[0]);
    // Code page 932: "\x95\x5C" is one character, the name "x\x95\x5C.qvr" ends in the extension.
    const std::unique_ptr<CodePage> cp932 = MakeTableCodePage(932);
    fs.AddFile("C:\\r\\x\x95\x5C.qvr");
    EXPECT_EQ(ClassifyDrop(fs, *cp932, {"C:\\r\\x\x95\x5C.qvr"}), DropKind::LoadRuleFile);
}

TEST(FileDrop, ItemsJoinAsAddFilesAndAddDirWouldAddThem) {
    MemoryFileSystem fs('\\');
    fs.AddFile("C:\\d\\a.jpg");
    fs.AddFile("C:\\d\\sub\\b.jpg");
    fs.AddFile("C:\\d\\c.txt");
    fs.AddFile("C:\\e\\one.jpg");
    fs.AddFile("C:\\e\\two.jpg");
    const std::unique_ptr<CodePage> cp = MakeTableCodePage(1252);
    test::TestServices services(*cp, fs);
    BatchSession session(services);
    session.files.AddFiles({"C:\\E\\ONE.JPG", "C:\\before.jpg"});
    session.files.SetUndoEnabled(true);

    // A file, a folder scanned without its sub-folders (Subdir clear), and a
    // path that has gone meanwhile, in the order dropped.
    EXPECT_EQ(AddDroppedItems(session, fs, {"C:\\e\\one.jpg", "C:\\d", "C:\\gone.jpg"}), 3u);
    EXPECT_EQ(session.files.DisplayedList(), (Strings{"C:\\before.jpg", "C:\\e\\one.jpg", "C:\\d\\a.jpg", "C:\\d\\c.txt"}));
    EXPECT_FALSE(session.files.UndoEnabled());  // a rebuild, as after Add Files
    EXPECT_EQ(session.statusLine, StatusLineText(4, 0, false));

    // Subdir checked: the sub-folders too; the filter shows what it matches.
    session.files.SetSubfolders(true);
    session.files.SetFilterText(".jpg");
    EXPECT_EQ(AddDroppedItems(session, fs, {"C:\\d\\", "C:\\e\\two.jpg"}), 4u);
    EXPECT_EQ(session.files.DisplayedList(),
              (Strings{"C:\\before.jpg", "C:\\e\\one.jpg", "C:\\d\\a.jpg", "C:\\d\\sub\\b.jpg", "C:\\e\\two.jpg"}));
    EXPECT_EQ(session.files.MasterCount(), 6u);

    // Nothing that could be added: the list keeps its order and Undo.
    session.files.SetFocus(1);
    session.files.SetSelected(1, true);
    session.files.MoveFocusedUp();
    session.files.SetUndoEnabled(true);
    EXPECT_EQ(AddDroppedItems(session, fs, {"C:\\gone.jpg"}), 0u);
    EXPECT_EQ(session.files.DisplayedText(0), "C:\\e\\one.jpg");
    EXPECT_TRUE(session.files.UndoEnabled());
}

}  // namespace
}  // namespace quorv
