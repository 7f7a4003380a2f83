#include "formats/handoff_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_filesystem.h"

namespace quorv {
namespace {

using Lines = std::vector<std::string>;

TEST(HandoffFile, TwoFilesMakeThirtyFourBytes) {
    const std::string bytes = EncodeHandoff({"C:\\Photos\\a.jpg", "C:\\Photos\\b.jpg"});
    EXPECT_EQ(bytes, "C:\\Photos\\a.jpg\r\nC:\\Photos\\b.jpg\r\n");
    EXPECT_EQ(bytes.size(), 34u);
    EXPECT_EQ(EncodeHandoff({}), "");
}

struct DecodeCase {
    const char* what;
    std::string bytes;
    Lines expected;
};

TEST(HandoffFile, DecodeEdgeCases) {
    const DecodeCase cases[] = {
        {"empty file", "", {}},
        {"two entries", "a\r\nb\r\n", {"a", "b"}},
        {"text after the last line end is dropped", "a\r\nb", {"a"}},
        {"no line end at all", "C:\\x.jpg", {}},
        {"empty entries are kept", "\r\n\r\na\r\n", {"", "", "a"}},
        {"a zero byte ends the text", std::string("a\r\nb\0c\r\nd\r\n", 10), {"a"}},
        {"a zero byte at the start", std::string("\0a\r\n", 4), {}},
        {"lone CR and LF belong to the entry", "a\rb\nc\r\n", {"a\rb\nc"}},
        {"CR CR LF", "a\r\r\n", {"a\r"}},
        {"LF CR LF", "\n\r\n", {"\n"}},
        {"the same entry twice", "x\r\nx\r\n", {"x", "x"}},
        {"UTF-8 passes unchanged", "\xE8\xA1\xA8 \xF0\x9F\x98\x80\r\n", {"\xE8\xA1\xA8 \xF0\x9F\x98\x80"}},
    };
    const auto utf8 = MakeUtf8CodePage();
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeHandoff(c.bytes, *utf8), c.expected);
    }
}

TEST(HandoffFile, RoundTripOfLongSelection) {
    Lines entries;
    for (int i = 0; i < 1000; ++i) entries.push_back("C:\\Folder\\file " + std::to_string(i) + ".jpg");
    entries.push_back("");
    EXPECT_EQ(DecodeHandoff(EncodeHandoff(entries), *MakeUtf8CodePage()), entries);
}

TEST(HandoffFile, TakingMovesTheFileAsideReadsAndDeletesIt) {
    test::MemoryFileSystem fs('\\');
    const std::string path = "C:\\Q\\Quorv2.qv2";
    fs.AddFile(path, "C:\\a.jpg\r\nC:\\b.jpg\r\n");
    fs.SetAttributes(path, kAttrReadOnly | kAttrHidden, nullptr);
    fs.AddFile(path + ".taken", "old");  // left by an earlier start: not overwritten
    // (and not read here: the folder cannot be searched for such files)
    fs.FailOn(test::MemoryFileSystem::Op::Find, path + ".taken*");
    std::vector<std::string> moves;
    fs.SetHook([&moves](test::MemoryFileSystem::Op op, const std::string& p) {
        if (op == test::MemoryFileSystem::Op::Move) moves.push_back(p);
    });
    std::vector<std::string> entries;
    ASSERT_TRUE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_EQ(entries, (std::vector<std::string>{"C:\\a.jpg", "C:\\b.jpg"}));
    EXPECT_EQ(moves, std::vector<std::string>{path});
    EXPECT_FALSE(fs.HasFile(path));
    EXPECT_FALSE(fs.HasFile(path + ".taken1"));
    EXPECT_TRUE(fs.HasFile(path + ".taken"));
    // A selection written after the taking starts a file of its own.
    EXPECT_FALSE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_TRUE(entries.empty());
}

TEST(HandoffFile, AFileThatCannotBeMovedAsideIsReadInPlace) {
    test::MemoryFileSystem fs('\\');
    const std::string path = "C:\\Q\\Quorv2.qv2";
    fs.AddFile(path, "C:\\a.jpg\r\n");
    fs.FailOn(test::MemoryFileSystem::Op::Move, path);
    std::vector<std::string> entries;
    ASSERT_TRUE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_EQ(entries, std::vector<std::string>{"C:\\a.jpg"});
    EXPECT_FALSE(fs.HasFile(path));
    // Undeletable: read again at the next start.
    fs.AddFile(path, "C:\\b.jpg\r\n");
    fs.FailOn(test::MemoryFileSystem::Op::Delete, path);
    ASSERT_TRUE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    ASSERT_TRUE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_EQ(entries, std::vector<std::string>{"C:\\b.jpg"});
}

TEST(HandoffFile, FilesLeftAsideByEarlierStartsAreReadOldestFirstAndRemoved) {
    using Op = test::MemoryFileSystem::Op;
    test::MemoryFileSystem fs('\\');
    const std::string path = "C:\\Q\\Quorv2.qv2";
    const auto at = [](std::int64_t modified) {
        FileTimes t;
        t.modified = modified;
        return t;
    };
    // Moved aside at earlier starts whose deletion failed, in no particular
    // order of their names; the newest selection is the handoff file itself.
    fs.AddFile(path + ".taken2", "C:\\second.jpg\r\n", kAttrReadOnly, at(200));
    fs.AddFile(path + ".taken", "C:\\third.jpg\r\n", kAttrArchive, at(300));
    fs.AddFile(path + ".taken7", "C:\\first.jpg\r\n", kAttrArchive, at(100));
    fs.AddFile(path + ".taken1", "C:\\also third.jpg\r\n", kAttrArchive, at(300));
    fs.AddFile(path, "C:\\newest.jpg\r\n", kAttrArchive, at(400));
    // Not files moved aside: another name, and a folder.
    fs.AddFile(path + ".takenx", "C:\\not mine.jpg\r\n", kAttrArchive, at(1));
    fs.AddFolder(path + ".taken3");
    std::vector<std::string> entries;
    ASSERT_TRUE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_EQ(entries, (std::vector<std::string>{"C:\\first.jpg", "C:\\second.jpg", "C:\\third.jpg",
                                                 "C:\\also third.jpg", "C:\\newest.jpg"}));
    for (const char* gone : {"", ".taken", ".taken1", ".taken2", ".taken4", ".taken5", ".taken6", ".taken7"})
        EXPECT_FALSE(fs.HasFile(path + gone)) << gone;
    EXPECT_TRUE(fs.HasFile(path + ".takenx"));
    EXPECT_TRUE(fs.HasFolder(path + ".taken3"));

    // Only leftovers: read all the same.
    fs.AddFile(path + ".taken", "C:\\left.jpg\r\n");
    ASSERT_TRUE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_EQ(entries, std::vector<std::string>{"C:\\left.jpg"});
    EXPECT_FALSE(fs.HasFile(path + ".taken"));

    // One another program has just taken (it moves away under our hands) is
    // not read here; one that cannot be read stays for the next start.
    fs.AddFile(path + ".taken", "C:\\theirs.jpg\r\n");
    fs.AddFile(path + ".taken1", "C:\\unreadable.jpg\r\n");
    fs.FailOn(Op::Move, path + ".taken");
    fs.FailOn(Op::Read, path + ".taken2");  // where .taken1 is moved to be read
    EXPECT_FALSE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_TRUE(fs.HasFile(path + ".taken"));
    EXPECT_TRUE(fs.HasFile(path + ".taken2"));
    fs.ClearFailures();
    ASSERT_TRUE(TakeHandoffFile(fs, *MakeUtf8CodePage(), path, entries));
    EXPECT_EQ(entries, (std::vector<std::string>{"C:\\theirs.jpg", "C:\\unreadable.jpg"}));
    std::vector<std::string> left;
    for (const auto& file : fs.Files()) left.push_back(file.first);
    EXPECT_EQ(left, std::vector<std::string>{path + ".takenx"});
}

}  // namespace
}  // namespace quorv
