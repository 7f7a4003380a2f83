// The file-system seam: the wild-card match, the real file system of the
// platform on a temporary folder, and the in-memory fake the other tests use.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/filesystem.h"
#include "system/system.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/temp_dir.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;
using test::TempDir;

struct WildCase {
    const char* pattern;
    const char* name;
    bool match;
};

TEST(Wildcard, MatchesAsADirectorySearch) {
    const WildCase cases[] = {
        {"*.*", "readme", true},       {"*.*", "a.b.c", true},      {"*.*", ".hidden", true},
        {"*", "anything.txt", true},   {"*.txt", "a.TXT", true},    {"*.txt", "a.txt.bak", false},
        {"a?c", "abc", true},          {"a?c", "ac", false},        {"a?c", "abbc", false},
        {"IMG_*.JPG", "img_001.jpg", true}, {"IMG_*.JPG", "img_001.png", false},
        {"data.*", "data", true},      {"data.*", "data.bin", true}, {"*.", "noext", true},
        {"*.", "has.ext", false},      {"exact.txt", "exact.txt", true}, {"exact.txt", "exact.tx", false},
        {"*a*b*c*", "xxaxxbxxcxx", true}, {"*a*b*c*", "xxaxxcxxbxx", false},
        {"", "", true},                {"", "a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.match, MatchesWildcard(c.pattern, c.name)) << c.pattern << " vs " << c.name;
}

TEST(Wildcard, ManyAsterisksStayFast) {
    const std::string pattern(200, '*');
    const std::string name(5000, 'a');
    EXPECT_TRUE(MatchesWildcard(pattern + "b", name + "b"));
    EXPECT_FALSE(MatchesWildcard(pattern + "b", name));
}

// ---------------------------------------------------------------- real files

std::vector<std::string> Names(FileSystem& fs, const std::string& pattern) {
    std::vector<std::string> names;
    fs.FindEntries(pattern, [&](const DirEntry& e) {
        names.push_back(e.name);
        return true;
    });
    return names;
}

bool Has(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

TEST(SystemFileSystemTest, FindsEntriesWithWildcardsAndDots) {
    TempDir dir;
    dir.WriteFile("a.txt", "1");
    dir.WriteFile("b.jpg", "2");
    dir.WriteFile("noext", "3");
    dir.WriteFile("sub" + std::string(test::Sep()) + "inner.txt", "4");
    FileSystem& fs = SystemFileSystem();
    const auto all = Names(fs, dir.Child("*.*"));
    EXPECT_TRUE(Has(all, ".") && Has(all, ".."));
    EXPECT_TRUE(Has(all, "a.txt") && Has(all, "b.jpg") && Has(all, "noext") && Has(all, "sub"));
    EXPECT_EQ(6u, all.size());
    const auto txt = Names(fs, dir.Child("*.txt"));
    ASSERT_EQ(1u, txt.size());
    EXPECT_EQ("a.txt", txt[0]);

    bool sawFolder = false;
    fs.FindEntries(dir.Child("*"), [&](const DirEntry& e) {
        if (e.name == "sub") sawFolder = e.IsFolder();
        if (e.name == "a.txt") {
            EXPECT_FALSE(e.IsFolder());
        }
        return true;
    });
    EXPECT_TRUE(sawFolder);
    EXPECT_FALSE(fs.FindEntries(dir.Child("missing") + test::Sep() + "*.*", [](const DirEntry&) { return true; }));
}

#ifndef _WIN32
TEST(SystemFileSystemTest, FolderListsNamesInUpperCasedOrder) {
    TempDir dir;
    for (const char* n : {"b.txt", "A.txt", "c.txt", "_x", "B2.txt"}) dir.WriteFile(n, "x");
    EXPECT_EQ((std::vector<std::string>{".", "..", "A.txt", "b.txt", "B2.txt", "c.txt", "_x"}),
              Names(SystemFileSystem(), dir.Child("*")));
}
#endif

TEST(SystemFileSystemTest, ExistsComparesTheExactName) {
    TempDir dir;
    const std::string a = dir.WriteFile("Photo.JPG", "x");
    FileSystem& fs = SystemFileSystem();
    EXPECT_TRUE(fs.Exists(a));
    EXPECT_FALSE(fs.Exists(dir.Child("photo.jpg")));
    EXPECT_FALSE(fs.Exists(dir.Child("Photo.*")));
    EXPECT_FALSE(fs.Exists(""));
    EXPECT_FALSE(fs.Exists(dir.Child("other")));
}

TEST(SystemFileSystemTest, MoveNeverReplacesAnExistingFile) {
    TempDir dir;
    const std::string a = dir.WriteFile("a.txt", "alpha");
    const std::string b = dir.WriteFile("b.txt", "beta");
    FileSystem& fs = SystemFileSystem();
    EXPECT_FALSE(fs.Move(a, b));
    std::string bytes;
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(a, bytes));
    EXPECT_EQ("alpha", bytes);
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(b, bytes));
    EXPECT_EQ("beta", bytes);

    const std::string c = dir.Child("c.txt");
    EXPECT_TRUE(fs.Move(a, c));
    EXPECT_FALSE(fs.Exists(a));
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(c, bytes));
    EXPECT_EQ("alpha", bytes);
    EXPECT_FALSE(fs.Move(a, dir.Child("d.txt")));                             // source gone
    EXPECT_FALSE(fs.Move(c, dir.Child("nofolder") + test::Sep() + "c.txt"));  // folder missing
    EXPECT_TRUE(fs.Exists(c));
}

TEST(SystemFileSystemTest, CaseOnlyRenameCountsAsDone) {
    TempDir dir;
    const std::string a = dir.WriteFile("lower.txt", "x");
    const std::string upper = dir.Child("LOWER.TXT");
    FileSystem& fs = SystemFileSystem();
    ASSERT_TRUE(fs.Move(a, upper));
    EXPECT_FALSE(fs.Exists(a));
    EXPECT_TRUE(fs.Exists(upper));
}

TEST(SystemFileSystemTest, ReadOnlyFileMovesAndAttributesReset) {
    TempDir dir;
    const std::string a = dir.WriteFile("ro.txt", "keep");
    FileSystem& fs = SystemFileSystem();
    FileTimes times;
    times.created = 1000000000;
    times.accessed = 1100000000;
    times.modified = 1200000000;
    ASSERT_TRUE(fs.SetAttributes(a, kAttrReadOnly, &times));
    FileStatus st;
    ASSERT_TRUE(fs.GetStatus(a, st));
    EXPECT_TRUE(st.attributes & kAttrReadOnly);
    EXPECT_EQ(1200000000, st.times.modified);
    EXPECT_EQ(1100000000, st.times.accessed);
    EXPECT_EQ(4u, st.size);
    EXPECT_FALSE(fs.Delete(a));  // read-only files are not deleted
    EXPECT_EQ(IoResult::AccessDenied, fs.WriteFile(a, "overwritten"));

    const std::string b = dir.Child("moved.txt");
    ASSERT_TRUE(fs.Move(a, b));
    ASSERT_TRUE(fs.SetAttributes(b, kAttrNormal, nullptr));
    ASSERT_TRUE(fs.GetStatus(b, st));
    EXPECT_FALSE(st.attributes & kAttrReadOnly);
    std::string bytes;
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(b, bytes));
    EXPECT_EQ("keep", bytes);
    EXPECT_TRUE(fs.Delete(b));
    EXPECT_FALSE(fs.Exists(b));
}

TEST(SystemFileSystemTest, WholeFileIoAndCopy) {
    TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string f = dir.Child("data.bin");
    const std::string payload("a\0b\r\n\xff", 6);
    ASSERT_EQ(IoResult::Ok, fs.WriteFile(f, payload));
    std::string bytes;
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(f, bytes));
    EXPECT_EQ(payload, bytes);
    ASSERT_EQ(IoResult::Ok, fs.WriteFile(f, "short"));
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(f, bytes));
    EXPECT_EQ("short", bytes);
    ASSERT_EQ(IoResult::Ok, fs.AppendFile(f, "+more"));
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(f, bytes));
    EXPECT_EQ("short+more", bytes);
    EXPECT_EQ(IoResult::NotFound, fs.ReadFile(dir.Child("none"), bytes));
    EXPECT_EQ(IoResult::NotFound, fs.WriteFile(dir.Child("no") + test::Sep() + "x", "1"));

    const std::string g = dir.WriteFile("g.txt", "other");
    EXPECT_FALSE(fs.Copy(f, g, false));
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(g, bytes));
    EXPECT_EQ("other", bytes);
    EXPECT_TRUE(fs.Copy(f, g, true));
    ASSERT_EQ(IoResult::Ok, fs.ReadFile(g, bytes));
    EXPECT_EQ("short+more", bytes);
    // No temporary file is left behind.
    EXPECT_EQ(4u, Names(fs, dir.Child("*.*")).size());

    const std::string sub = dir.Child("made");
    EXPECT_TRUE(fs.CreateFolder(sub));
    EXPECT_FALSE(fs.CreateFolder(sub));
    FileStatus st;
    ASSERT_TRUE(fs.GetStatus(sub, st));
    EXPECT_TRUE(st.IsFolder());
}

// ---------------------------------------------------------------- the fake

TEST(MemoryFileSystemTest, EnumeratesInOrderOfMaking) {
    MemoryFileSystem fs('\\');
    fs.AddFile("C:\\d\\z.txt", "1");
    fs.AddFile("C:\\d\\a.txt", "2");
    fs.AddFolder("C:\\d\\sub");
    fs.AddFile("C:\\d\\m.jpg", "3");
    EXPECT_EQ((std::vector<std::string>{".", "..", "z.txt", "a.txt", "sub", "m.jpg"}), Names(fs, "C:\\d\\*.*"));
    EXPECT_EQ((std::vector<std::string>{"z.txt", "a.txt"}), Names(fs, "C:\\d\\*.TXT"));
    EXPECT_TRUE(fs.Exists("C:\\D\\z.txt"));  // folders ignore case
    EXPECT_FALSE(fs.Exists("C:\\d\\Z.txt"));  // the name must be exact
}

TEST(MemoryFileSystemTest, MoveRulesMatchTheRealOnes) {
    MemoryFileSystem fs('\\');
    fs.AddFile("C:\\d\\a.txt", "alpha", kAttrReadOnly);
    fs.AddFile("C:\\d\\b.txt", "beta");
    EXPECT_FALSE(fs.Move("C:\\d\\a.txt", "C:\\d\\B.TXT"));
    EXPECT_EQ("alpha", fs.Contents("C:\\d\\a.txt"));
    EXPECT_EQ("beta", fs.Contents("C:\\d\\b.txt"));
    EXPECT_FALSE(fs.Move("C:\\d\\a.txt", "C:\\none\\a.txt"));
    EXPECT_TRUE(fs.Move("C:\\d\\a.txt", "C:\\d\\A.TXT"));  // case only, read-only allowed
    EXPECT_EQ("C:\\d\\A.TXT", fs.StoredPath("c:\\d\\a.txt"));
    EXPECT_FALSE(fs.Delete("C:\\d\\A.TXT"));
    EXPECT_EQ(2u, fs.FileCount());
}

TEST(MemoryFileSystemTest, InjectedFailures) {
    MemoryFileSystem fs('/');
    fs.AddFile("/d/a", "1");
    fs.AddFile("/d/b", "2");
    fs.FailOn(MemoryFileSystem::Op::Move, "/d/a", 1);
    EXPECT_FALSE(fs.Move("/d/a", "/d/c"));
    EXPECT_TRUE(fs.Move("/d/a", "/d/c"));
    fs.FailNext(MemoryFileSystem::Op::Any, 2);
    EXPECT_FALSE(fs.Exists("/d/b"));
    EXPECT_FALSE(fs.Move("/d/b", "/d/e"));
    EXPECT_TRUE(fs.Exists("/d/b"));

    fs.SetFreeSpace(4);
    EXPECT_EQ(IoResult::Ok, fs.WriteFile("/d/b", "abc"));
    EXPECT_EQ(IoResult::DiskFull, fs.WriteFile("/d/b", "abcdef"));
    EXPECT_EQ("abc", fs.Contents("/d/b"));
    fs.SetFreeSpace(-1);

    fs.Lock("/d/b");
    EXPECT_FALSE(fs.Move("/d/b", "/d/f"));
    std::string bytes;
    EXPECT_EQ(IoResult::AccessDenied, fs.ReadFile("/d/b", bytes));
    fs.Unlock("/d/b");

    fs.SetHook([&](MemoryFileSystem::Op op, const std::string& path) {
        if (op == MemoryFileSystem::Op::Move && path == "/d/b") fs.Remove("/d/b");
    });
    EXPECT_FALSE(fs.Move("/d/b", "/d/f"));
    EXPECT_FALSE(fs.HasFile("/d/f"));
    EXPECT_EQ(5, fs.Calls(MemoryFileSystem::Op::Move));
}

}  // namespace
}  // namespace quorv
