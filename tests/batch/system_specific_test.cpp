// Behaviour of the real file system that only one platform can show:
// symbolic-link loops and fractions of seconds natively, double-byte names
// under the ANSI code page 932 on Windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/file_list.h"
#include "batch/rename_run.h"
#include "batch/undo.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "system/system.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorv {
namespace {

using Strings = std::vector<std::string>;

#ifndef _WIN32
TEST(NativeFileSystem, LinkLoopIsNotFollowedByAddDir) {
    test::TempDir dir;
    dir.WriteFile("a.txt", "1");
    dir.WriteFile("sub/b.txt", "2");
    ASSERT_EQ(0, ::symlink(dir.path().c_str(), dir.Child("sub/back").c_str()));  // sub/back -> the top
    FileList list(SystemCodePage(), '/');
    list.SetSubfolders(true);
    list.AddFolder(SystemFileSystem(), dir.path());
    EXPECT_EQ((Strings{dir.Child("a.txt"), dir.Child("sub/b.txt")}), list.DisplayedList());

    bool sawLink = false;
    SystemFileSystem().FindNames(dir.Child("sub/*.*"), [&](const DirEntry& e) {
        if (e.name == "back") sawLink = e.IsFolder() && e.IsLink();
        return true;
    });
    EXPECT_TRUE(sawLink);
}

TEST(NativeFileSystem, WritingBackTheSameSecondsKeepsTheFraction) {
    test::TempDir dir;
    const std::string f = dir.WriteFile("t.txt", "x");
    struct timespec ts[2] = {{1500000000, 123456789}, {1600000000, 987654321}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, f.c_str(), ts, 0));
    FileStatus st;
    ASSERT_TRUE(SystemFileSystem().GetStatus(f, st));
    EXPECT_EQ(1600000000, st.times.modified);
    ASSERT_TRUE(SystemFileSystem().SetAttributes(f, kAttrNormal, &st.times));
    struct stat after;
    ASSERT_EQ(0, ::stat(f.c_str(), &after));
    EXPECT_EQ(987654321, after.st_mtim.tv_nsec);
    EXPECT_EQ(123456789, after.st_atim.tv_nsec);
    // Another second is written, as a whole second.
    st.times.modified = 1700000000;
    ASSERT_TRUE(SystemFileSystem().SetAttributes(f, kAttrNormal, &st.times));
    ASSERT_EQ(0, ::stat(f.c_str(), &after));
    EXPECT_EQ(1700000000, after.st_mtim.tv_sec);
    EXPECT_EQ(0, after.st_mtim.tv_nsec);
}
#endif

// Runs where the system code page is 932 (the Windows build with
// QUORV_CODEPAGE=932); skipped elsewhere.
TEST(SystemCodePage932, RenameAndUndoOfADoubleByteName) {
    const CodePage& cp = SystemCodePage();
    if (cp.CharLength("\x95\x5C", 0) != 2) GTEST_SKIP() << "the system code page is not 932";
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string sep = test::Sep();
    const std::string name = "\x95\x5C";  // one character whose second byte is a backslash
    const std::string old = dir.path() + sep + name + ".txt";
    ASSERT_EQ(IoResult::Ok, fs.WriteFile(old, "kanji"));
    ASSERT_TRUE(fs.Exists(old));

    BatchSession s(SystemServices());
    s.rules = {"FILENAME PREFIX \"x\""};
    s.files.AddFiles({old});
    s.files.SetFilterText(name);  // the name, not a part cut at the trail byte
    ASSERT_EQ(1u, s.files.DisplayedCount());
    s.files.SetFilterText("");

    RunServices services;
    services.newPath = [&](const std::string& p, std::int32_t, const Strings&) {
        return dir.path() + sep + "x" + name + ".txt";
    };
    const std::string renamed = dir.path() + sep + "x" + name + ".txt";
    EXPECT_EQ(0u, RenameCommand(s, fs, services).failures) << s.resultText;
    EXPECT_TRUE(fs.Exists(renamed));
    EXPECT_FALSE(fs.Exists(old));
    EXPECT_EQ(0u, UndoRename(s, fs)) << s.resultText;
    std::string bytes;
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(old, bytes));
    EXPECT_EQ("kanji", bytes);
    EXPECT_FALSE(fs.Exists(renamed));
}

}  // namespace
}  // namespace quorv
