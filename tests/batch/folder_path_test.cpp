// Creating a typed folder path: the prefixes visited, what is created in
// which order, where the walk stops and what goes to the error log.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "batch/folder_path.h"
#include "tests/support/memory_filesystem.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;
using Strings = std::vector<std::string>;

const CodePage& Cp1252() {
    static const std::unique_ptr<CodePage> cp = MakeTableCodePage(1252);
    return *cp;
}
const CodePage& Cp932() {
    static const std::unique_ptr<CodePage> cp = MakeTableCodePage(932);
    return *cp;
}

// ---------------------------------------------------------------- stops

struct StopsCase {
    const char* path;
    Strings stops;
};

TEST(FolderPathStops, PrefixesEndingWithTheSeparator) {
    const StopsCase cases[] = {
        {"C:\\Data\\New", {"C:\\", "C:\\Data\\", "C:\\Data\\New\\"}},
        {"D:\\Out\\2024", {"D:\\", "D:\\Out\\", "D:\\Out\\2024\\"}},
        // A trailing separator is not doubled.
        {"D:\\Out\\", {"D:\\", "D:\\Out\\"}},
        {"D:\\", {"D:\\"}},
        {"D:", {"D:\\"}},
        // '/' counts as '\\'.
        {"D:/Out/2024", {"D:\\", "D:\\Out\\", "D:\\Out\\2024\\"}},
        // A share is one stop: nothing above it can be made.
        {"\\\\server\\share\\new\\deeper", {"\\\\server\\share\\", "\\\\server\\share\\new\\", "\\\\server\\share\\new\\deeper\\"}},
        {"\\\\server\\share", {"\\\\server\\share\\"}},
        {"\\\\server", {}},
        {"", {}},
    };
    for (const StopsCase& c : cases) EXPECT_EQ(FolderPathStops(Cp1252(), '\\', c.path), c.stops) << c.path;
}

TEST(FolderPathStops, TrailByteEqualToTheSeparatorIsNoSeparator) {
    // 0x95 0x5C is one character of code page 932.
    const std::string kanji = "\x95\x5C";
    EXPECT_EQ(FolderPathStops(Cp932(), '\\', "D:\\" + kanji + "x\\y"),
              Strings({"D:\\", "D:\\" + kanji + "x\\", "D:\\" + kanji + "x\\y\\"}));
    // Under a single-byte code page the same bytes hold a separator.
    EXPECT_EQ(FolderPathStops(Cp1252(), '\\', "D:\\" + kanji + "x").size(), 3u);
}

TEST(FolderPathStops, NativeSeparator) {
    EXPECT_EQ(FolderPathStops(Cp1252(), '/', "/tmp/a/b"), Strings({"/tmp/", "/tmp/a/", "/tmp/a/b/"}));
}

// ---------------------------------------------------------------- creating

class CreateFolderPathTest : public ::testing::Test {
protected:
    bool Create(const std::string& path, const CodePage& cp = Cp1252()) {
        return CreateFolderPath(fs, cp, path, [this](const std::string& m) { log.push_back(m); });
    }
    MemoryFileSystem fs{'\\'};
    Strings log;
};

TEST_F(CreateFolderPathTest, CreatesEachMissingFolderInOrder) {
    fs.AddFile("D:\\readme.txt");
    Strings created;
    fs.SetHook([&created](MemoryFileSystem::Op op, const std::string& path) {
        if (op == MemoryFileSystem::Op::CreateFolder) created.push_back(path);
    });
    EXPECT_TRUE(Create("D:\\Out\\2024"));
    EXPECT_EQ(created, Strings({"D:\\Out\\", "D:\\Out\\2024\\"}));
    EXPECT_TRUE(fs.HasFolder("D:\\Out"));
    EXPECT_TRUE(fs.HasFolder("D:\\Out\\2024"));
    EXPECT_TRUE(log.empty());

    // A second time everything exists: nothing is made.
    created.clear();
    EXPECT_TRUE(Create("D:\\Out\\2024"));
    EXPECT_TRUE(created.empty());
    // Only the missing tail of a partly existing path.
    EXPECT_TRUE(Create("D:\\Out\\2024\\May\\Week 1\\"));
    EXPECT_EQ(created, Strings({"D:\\Out\\2024\\May\\", "D:\\Out\\2024\\May\\Week 1\\"}));
}

TEST_F(CreateFolderPathTest, RootsAndEmptyPaths) {
    // A drive root with entries, and one without any (an empty drive: the
    // search finds nothing and the root cannot be created, but it exists).
    fs.AddFile("C:\\x.txt");
    EXPECT_TRUE(Create("C:\\"));
    EXPECT_TRUE(Create("E:\\"));
    EXPECT_TRUE(Create("E:\\New"));
    EXPECT_TRUE(fs.HasFolder("E:\\New"));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(Create(""));
}

TEST_F(CreateFolderPathTest, FailureStopsTheWalkAndLogsThePrefix) {
    fs.AddFolder("D:\\Out");
    fs.FailOn(MemoryFileSystem::Op::CreateFolder, "D:\\Out\\2024");
    EXPECT_FALSE(Create("D:\\Out\\2024\\May"));
    EXPECT_FALSE(fs.HasFolder("D:\\Out\\2024"));
    EXPECT_FALSE(fs.HasFolder("D:\\Out\\2024\\May"));
    EXPECT_EQ(log, Strings({"D:\\Out\\2024\\ directory create failed."}));
}

TEST_F(CreateFolderPathTest, TheFolderThatFailedIsToldForThePickersStatusText) {
    fs.AddFile("D:\\Out", "not a folder");
    std::string failed = "stale";
    EXPECT_FALSE(CreateFolderPath(fs, Cp1252(), "D:\\Out\\2024", nullptr, &failed));
    EXPECT_EQ(failed, "D:\\Out\\");
    EXPECT_EQ(FolderNotCreatedText(failed), "The folder D:\\Out\\ cannot be created.");
    EXPECT_TRUE(CreateFolderPath(fs, Cp1252(), "D:\\New\\2024", nullptr, &failed));
    EXPECT_EQ(failed, "");
}

TEST_F(CreateFolderPathTest, AFileInTheWayFails) {
    fs.AddFile("D:\\Out", "not a folder");
    EXPECT_FALSE(Create("D:\\Out\\2024"));
    EXPECT_EQ(log, Strings({"D:\\Out\\ directory create failed."}));
    EXPECT_FALSE(fs.HasFolder("D:\\Out\\2024"));
}

TEST_F(CreateFolderPathTest, AFolderThatCannotBeListedStillCounts) {
    fs.AddFolder("D:\\Locked");
    fs.FailOn(MemoryFileSystem::Op::Find, "D:\\Locked\\*.*");
    EXPECT_TRUE(Create("D:\\Locked\\Inner"));
    EXPECT_TRUE(fs.HasFolder("D:\\Locked\\Inner"));
    EXPECT_TRUE(log.empty());
}

TEST_F(CreateFolderPathTest, DoubleByteNameMakesNoStrayFolder) {
    // The first folder asked for is the whole double-byte name, never the
    // part before its trail byte (the in-memory file system itself splits
    // names at that byte, so only the requests are compared).
    const std::string kanji = "\x95\x5C";
    fs.AddFile("D:\\x.txt");
    Strings created;
    fs.SetHook([&created](MemoryFileSystem::Op op, const std::string& path) {
        if (op == MemoryFileSystem::Op::CreateFolder) created.push_back(path);
    });
    Create("D:\\" + kanji + "x\\y", Cp932());
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(created[0], "D:\\" + kanji + "x\\");
    created.clear();
    Create("D:\\" + kanji + "x\\y", Cp1252());
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(created[0], "D:\\\x95\\");  // what a byte-wise walk would make
}

TEST_F(CreateFolderPathTest, PercentSignsInPathsReachTheLogAsText) {
    fs.AddFile("D:\\x.txt");
    fs.FailOn(MemoryFileSystem::Op::CreateFolder, "D:\\100%s");
    EXPECT_FALSE(Create("D:\\100%s"));
    EXPECT_EQ(log, Strings({"D:\\100%s\\ directory create failed."}));
}

// ---------------------------------------------------------------- full paths

TEST(FullFolderPath, DrivesAndSharesOnly) {
    const struct {
        const char* path;
        bool full;
    } cases[] = {
        {"C:\\", true},      {"c:\\x", true},    {"C:/x", true},       {"\\\\srv\\share", true},
        {"\\\\srv\\share\\x", true}, {"C:", false},   {"C:x", false},       {"x\\y", false},
        {"\\x", false},      {"\\\\srv", false}, {"\\\\srv\\", false}, {"\\\\\\share", false},
        {"", false},         {"1:\\x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsFullFolderPath('\\', c.path), c.full) << c.path;
    EXPECT_TRUE(IsFullFolderPath('/', "/tmp"));
    EXPECT_FALSE(IsFullFolderPath('/', "tmp"));
}

}  // namespace
}  // namespace quorv
