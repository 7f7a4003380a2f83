// The file list model: the name filter, AppendUnique, Add Dir, removal,
// moving entries, sorting, selection and the Undo flag.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "batch/file_list.h"
#include "platform/codepage.h"
#include "platform/mbtext.h"
#include "system/system.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/temp_dir.h"

namespace quorv {
namespace {

using test::MemoryFileSystem;
using Strings = std::vector<std::string>;

const CodePage& Cp1252() {
    static const std::unique_ptr<CodePage> cp = MakeTableCodePage(1252);
    return *cp;
}

// ---------------------------------------------------------------- filter

struct FilterCase {
    const char* filter;
    bool matchCase;
    bool exclude;
    const char* path;
    bool shown;
};

TEST(Filter, TableOfCases) {
    const FilterCase cases[] = {
        // empty filter: everything, whatever Exclude says
        {"", false, false, "C:\\a\\photo.jpg", true},
        {"", false, true, "C:\\a\\photo.jpg", true},
        {"", true, true, "C:\\a\\photo.jpg", true},
        // no asterisk: contained anywhere in the name
        {"oto", false, false, "C:\\a\\photo.jpg", true},
        {"oto", false, true, "C:\\a\\photo.jpg", false},
        {"xyz", false, false, "C:\\a\\photo.jpg", false},
        {"xyz", false, true, "C:\\a\\photo.jpg", true},
        // only the name is tested, never the folder
        {"dir", false, false, "C:\\dir\\photo.jpg", false},
        {"C:", false, false, "C:\\dir\\photo.jpg", false},
        // letter case
        {"photo", false, false, "C:\\a\\PHOTO.JPG", true},
        {"photo", true, false, "C:\\a\\PHOTO.JPG", false},
        {"PHOTO", true, false, "C:\\a\\PHOTO.JPG", true},
        {"\xE9t\xE9", false, false, "C:\\a\\\xC9T\xC9.txt", true},  // code page lower-casing
        {"\xE9t\xE9", true, false, "C:\\a\\\xC9T\xC9.txt", false},
        // leading asterisk: the rest ends the name, literally
        {"*.jpg", false, false, "C:\\a\\photo.jpg", true},
        {"*.jpg", false, false, "C:\\a\\photo.jpeg", false},
        {"*.jpg", false, true, "C:\\a\\photo.jpg", false},
        {"*.*", false, false, "C:\\a\\photo.jpg", false},
        {"*.*", false, false, "C:\\a\\photo.*", true},
        {"*", false, false, "C:\\a\\anything", true},
        {"*", false, true, "C:\\a\\anything", false},
        {"*a*", false, false, "C:\\a\\xa*", true},
        {"*a*", false, false, "C:\\a\\xab", false},
        // trailing asterisk (the only one): the text before begins the name
        {"ph*", false, false, "C:\\a\\photo.jpg", true},
        {"ph*", false, false, "C:\\a\\aphoto.jpg", false},
        {"PH*", true, false, "C:\\a\\photo.jpg", false},
        // inner asterisk: begins and ends, tested independently
        {"ph*.jpg", false, false, "C:\\a\\photo.jpg", true},
        {"ph*.jpg", false, false, "C:\\a\\photo.png", false},
        {"abc*cde", false, false, "C:\\a\\abcde", true},  // overlap: shorter than the filter
        {"ab*c*", false, false, "C:\\a\\abxc*", true},     // further asterisks are ordinary
        {"ab*c*", false, false, "C:\\a\\abxcd", false},
        {"a**", false, false, "C:\\a\\a*", true},          // two asterisks: not a trailing one
        {"a**", false, false, "C:\\a\\ab", false},
        // a name without a folder is the whole text
        {"pho", false, false, "photo.jpg", true},
    };
    for (const auto& c : cases) {
        FilterSettings f{c.filter, c.matchCase, c.exclude};
        EXPECT_EQ(c.shown, FilterShows(Cp1252(), '\\', c.path, f))
            << "filter \"" << c.filter << "\" case " << c.matchCase << " exclude " << c.exclude << " on " << c.path;
    }
}

TEST(Filter, EntryAndSortNames) {
    const CodePage& cp = Cp1252();
    EXPECT_EQ("b.txt", EntryName(cp, "C:\\a\\b.txt", '\\'));
    EXPECT_EQ("b.txt", EntryName(cp, "b.txt", '\\'));
    EXPECT_EQ("b.txt", EntryName(cp, "\\b.txt", '\\'));
    EXPECT_EQ("\\b.txt", SortName(cp, "\\b.txt", '\\'));
    EXPECT_EQ("b.txt", SortName(cp, "C:\\b.txt", '\\'));
    EXPECT_EQ("", EntryName(cp, "C:\\a\\", '\\'));
}

TEST(Filter, DoubleByteNamesKeepTheirTrailBytes) {
    // In code page 932 the second byte of "\x95\x5C" is a backslash.
    const std::unique_ptr<CodePage> cp = MakeTableCodePage(932);
    ASSERT_TRUE(cp);
    const std::string path = "C:\\d\\\x95\x5C.txt";
    EXPECT_EQ("\x95\x5C.txt", EntryName(*cp, path, '\\'));
    EXPECT_EQ("\x95\x5C.txt", SortName(*cp, "\x95\x5C.txt", '\\'));
    EXPECT_EQ(4u, mb::FindLastChar(*cp, path, '\\'));
    EXPECT_TRUE(FilterShows(*cp, '\\', path, FilterSettings{"\x95*", false, false}));
    EXPECT_FALSE(FilterShows(*cp, '\\', path, FilterSettings{"d", false, false}));  // the folder never matches
    // Under a single-byte page the same bytes are two characters.
    EXPECT_EQ(".txt", EntryName(Cp1252(), path, '\\'));
}

// ---------------------------------------------------------------- AppendUnique

TEST(AppendUnique, TableOfCases) {
    struct Case {
        Strings before;
        const char* added;
        Strings after;
    };
    const Case cases[] = {
        {{}, "C:\\a", {"C:\\a"}},
        {{"C:\\a", "C:\\b"}, "C:\\c", {"C:\\a", "C:\\b", "C:\\c"}},
        // same path in another case: the old entry goes, the new case comes last
        {{"C:\\A.txt", "C:\\b"}, "c:\\a.TXT", {"C:\\b", "c:\\a.TXT"}},
        // every equal entry goes, also neighbours (duplicates from a batch file)
        {{"C:\\x", "C:\\X", "C:\\y", "c:\\x"}, "C:\\x", {"C:\\y", "C:\\x"}},
        {{"C:\\a"}, "C:\\a", {"C:\\a"}},
        // the code page decides what case means
        {{"C:\\\xC9t\xE9"}, "C:\\\xE9T\xC9", {"C:\\\xE9T\xC9"}},
    };
    for (const auto& c : cases) {
        FileList list(Cp1252(), '\\');
        for (const auto& p : c.before) list.Append(p);
        list.AppendUnique(c.added);
        EXPECT_EQ(c.after, list.MasterList()) << "adding " << c.added;
        EXPECT_EQ(c.after.size(), list.MasterCount());
    }
}

// The plain walk over the master list: every entry equal ignoring case goes
// (also one that stands right after another equal one), then the path is appended.
void ReferenceAppendUnique(const CodePage& cp, Strings& master, const std::string& path) {
    const std::string key = cp.Lower(path);
    master.erase(std::remove_if(master.begin(), master.end(),
                                [&](const std::string& m) { return cp.Lower(m) == key; }),
                 master.end());
    master.push_back(path);
}

TEST(AppendUnique, AgreesWithThePlainWalkOnRandomInput) {
    std::mt19937 rng(12345);
    const char* names[] = {"a", "A", "b", "B", "\xC9", "\xE9", "c"};
    for (int round = 0; round < 20; ++round) {
        FileList list(Cp1252(), '\\');
        Strings reference;
        // Enough operations on few distinct names that removed entries pile
        // up and the master list is compacted several times.
        for (int k = 0; k < 4000; ++k) {
            std::string path = std::string("C:\\") + names[rng() % 7] + names[rng() % 7];
            if (rng() % 5 == 0) {
                list.Append(path);  // a duplicate brought in without the check
                reference.push_back(path);
            } else {
                list.AppendUnique(path);
                ReferenceAppendUnique(Cp1252(), reference, path);
            }
        }
        ASSERT_EQ(reference, list.MasterList()) << "round " << round;
    }
}

TEST(AppendUnique, ManyFilesStayLinear) {
    FileList list(Cp1252(), '\\');
    const std::size_t n = 20000;
    for (std::size_t i = 0; i < n; ++i) list.AppendUnique("C:\\photos\\IMG_" + std::to_string(i) + ".jpg");
    // Adding them all again in another case replaces every entry.
    for (std::size_t i = 0; i < n; ++i) list.AppendUnique("c:\\PHOTOS\\img_" + std::to_string(i) + ".JPG");
    ASSERT_EQ(n, list.MasterCount());
    const Strings master = list.MasterList();
    EXPECT_EQ("c:\\PHOTOS\\img_0.JPG", master.front());
    EXPECT_EQ("c:\\PHOTOS\\img_19999.JPG", master.back());
}

// ---------------------------------------------------------------- Add Dir

TEST(AddFolder, ScansDepthFirstWithHiddenFiles) {
    MemoryFileSystem fs('\\');
    fs.AddFile("C:\\p\\one.txt");
    fs.AddFile("C:\\p\\sub\\inner.txt");
    fs.AddFile("C:\\p\\sub\\deeper\\x.txt");
    fs.AddFile("C:\\p\\two.txt", "", kAttrHidden | kAttrSystem);
    fs.AddFolder("C:\\p\\empty");

    FileList flat(Cp1252(), '\\');
    flat.AddFolder(fs, "C:\\p");
    EXPECT_EQ((Strings{"C:\\p\\one.txt", "C:\\p\\two.txt"}), flat.DisplayedList());

    FileList deep(Cp1252(), '\\');
    deep.SetSubfolders(true);
    deep.AddFolder(fs, "C:\\p\\");
    EXPECT_EQ((Strings{"C:\\p\\one.txt", "C:\\p\\sub\\inner.txt", "C:\\p\\sub\\deeper\\x.txt", "C:\\p\\two.txt"}),
              deep.DisplayedList());

    // A second scan leaves each file once, in the order of the second scan, at the end.
    deep.AddFiles({"C:\\other.txt"});
    deep.AddFolder(fs, "C:\\p");
    EXPECT_EQ((Strings{"C:\\other.txt", "C:\\p\\one.txt", "C:\\p\\sub\\inner.txt", "C:\\p\\sub\\deeper\\x.txt",
                       "C:\\p\\two.txt"}),
              deep.MasterList());
}

TEST(AddFolder, AFolderEndingInADoubleByteCharacterIsScannedItself) {
    // In code page 932 "\x95\x5C" is one character whose trail byte equals
    // the backslash: the folder "C:\p\x\x95\x5C" does not end with a
    // separator, and its own files are searched, not the names beginning
    // with "x\x95\x5C" in its parent.
    const std::unique_ptr<CodePage> cp = MakeTableCodePage(932);
    ASSERT_TRUE(cp);
    MemoryFileSystem fs('\\');
    Strings searched;
    fs.SetHook([&searched](MemoryFileSystem::Op op, const std::string& pattern) {
        if (op == MemoryFileSystem::Op::Find) searched.push_back(pattern);
    });
    const std::string folder = "C:\\p\\x\x95\x5C";
    FileList list(*cp, '\\');
    list.AddFolder(fs, folder);
    EXPECT_EQ(searched, (Strings{folder + "\\*.*"}));
    searched.clear();
    list.AddFolder(fs, folder + "\\");  // one separator already: none added
    EXPECT_EQ(searched, (Strings{folder + "\\*.*"}));
}

TEST(AddFolder, MissingFolderOrFailedSearchAddsNothing) {
    MemoryFileSystem fs('\\');
    fs.AddFile("C:\\p\\one.txt");
    FileList list(Cp1252(), '\\');
    list.AddFolder(fs, "C:\\nowhere");
    EXPECT_EQ(0u, list.MasterCount());
    fs.FailOn(MemoryFileSystem::Op::Find, "C:\\p\\*.*");
    list.AddFolder(fs, "C:\\p");
    EXPECT_EQ(0u, list.MasterCount());
}

TEST(AddFolder, LinkedFoldersAreNotEnteredAndDepthIsBounded) {
    // A fake whose folder "loop" is a link back to its parent: every
    // search of ...\loop\*.* shows the parent's entries again.
    class LoopFs : public MemoryFileSystem {
    public:
        bool FindEntries(const std::string& pattern, const std::function<bool(const DirEntry&)>& visit) override {
            ++searches;
            DirEntry file{"f.txt", kAttrArchive};
            DirEntry loop{"loop", kAttrDirectory | (linked ? kAttrReparsePoint : 0u)};
            return visit(file) && visit(loop);
        }
        bool linked = true;
        int searches = 0;
    };
    LoopFs fs;
    FileList list(Cp1252(), '\\');
    list.SetSubfolders(true);
    list.AddFolder(fs, "C:\\top");
    EXPECT_EQ(1, fs.searches);
    EXPECT_EQ((Strings{"C:\\top\\f.txt"}), list.DisplayedList());

    // Even a cycle that does not show as a link ends at the depth limit.
    fs.linked = false;
    fs.searches = 0;
    FileList deep(Cp1252(), '\\');
    deep.SetSubfolders(true);
    deep.AddFolder(fs, "C:\\top");
    EXPECT_EQ(kMaxScanDepth + 1, fs.searches);
    EXPECT_EQ(static_cast<std::size_t>(kMaxScanDepth + 1), deep.MasterCount());
}

TEST(AddFolder, RealFolderWithSubfolders) {
    test::TempDir dir;
    const std::string s = test::Sep();
    dir.WriteFile("a.txt", "1");
    dir.WriteFile("sub" + s + "b.txt", "2");
    dir.WriteFile(".hidden", "3");
    FileList list(SystemCodePage(), s[0]);
    list.SetSubfolders(true);
    list.AddFolder(SystemFileSystem(), dir.path());
    Strings got = list.DisplayedList();
    std::sort(got.begin(), got.end());
    Strings want{dir.Child(".hidden"), dir.Child("a.txt"), dir.Child("sub" + s + "b.txt")};
    std::sort(want.begin(), want.end());
    EXPECT_EQ(want, got);
}

// ---------------------------------------------------------------- rebuild and filter

FileList MakeList(const Strings& paths) {
    FileList list(Cp1252(), '\\');
    list.AddFiles(paths);
    return list;
}

TEST(Rebuild, FilterChangesRebuildAndDisableUndo) {
    FileList list = MakeList({"C:\\a\\one.jpg", "C:\\a\\two.png", "C:\\a\\THREE.JPG"});
    list.SetUndoEnabled(true);
    list.SetMatchCase(true);  // empty filter: no rebuild
    EXPECT_TRUE(list.UndoEnabled());
    list.SetExclude(true);
    EXPECT_TRUE(list.UndoEnabled());
    EXPECT_EQ(3u, list.DisplayedCount());  // Exclude with an empty filter shows all

    list.SetExclude(false);
    list.SetMatchCase(false);
    list.SetFilterText("*.jpg");
    EXPECT_FALSE(list.UndoEnabled());
    EXPECT_EQ((Strings{"C:\\a\\one.jpg", "C:\\a\\THREE.JPG"}), list.DisplayedList());
    list.SetUndoEnabled(true);
    list.SetMatchCase(true);
    EXPECT_FALSE(list.UndoEnabled());
    EXPECT_EQ((Strings{"C:\\a\\one.jpg"}), list.DisplayedList());
    list.SetExclude(true);
    EXPECT_EQ((Strings{"C:\\a\\two.png", "C:\\a\\THREE.JPG"}), list.DisplayedList());
}

TEST(Rebuild, RestoresMasterOrderAfterReordering) {
    FileList list = MakeList({"C:\\c", "C:\\a", "C:\\b"});
    list.SortByName();
    EXPECT_EQ((Strings{"C:\\a", "C:\\b", "C:\\c"}), list.DisplayedList());
    list.SetFilterText("");
    EXPECT_EQ((Strings{"C:\\c", "C:\\a", "C:\\b"}), list.DisplayedList());
}

TEST(Rebuild, BatchLoadedDisplayedListStaysUntilRebuild) {
    FileList list(Cp1252(), '\\');
    list.SetMasterList({"C:\\x", "C:\\y", "C:\\x"});
    list.SetDisplayedList({"C:\\y"});
    EXPECT_EQ((Strings{"C:\\y"}), list.DisplayedList());
    list.RebuildFileList();
    EXPECT_EQ((Strings{"C:\\x", "C:\\y", "C:\\x"}), list.DisplayedList());
}

// ---------------------------------------------------------------- removal

TEST(RemoveSelected, DuplicatesLoseOnlyTheFirstMasterEntry) {
    FileList list(Cp1252(), '\\');
    list.SetMasterList({"C:\\a", "C:\\b", "C:\\a", "C:\\A"});
    list.RebuildFileList();
    list.SetUndoEnabled(true);
    list.SetSelected(2, true);  // the second "C:\a"
    EXPECT_EQ(1u, list.RemoveSelected());
    EXPECT_FALSE(list.UndoEnabled());
    EXPECT_EQ((Strings{"C:\\a", "C:\\b", "C:\\A"}), list.DisplayedList());
    // The first occurrence went from the master list: a rebuild shows the other.
    EXPECT_EQ((Strings{"C:\\b", "C:\\a", "C:\\A"}), list.MasterList());
    list.RebuildFileList();
    EXPECT_EQ((Strings{"C:\\b", "C:\\a", "C:\\A"}), list.DisplayedList());
}

TEST(RemoveSelected, NothingSelectedChangesNothing) {
    FileList list = MakeList({"C:\\a", "C:\\b"});
    list.SetUndoEnabled(true);
    EXPECT_EQ(0u, list.RemoveSelected());
    EXPECT_TRUE(list.UndoEnabled());
    EXPECT_EQ(2u, list.DisplayedCount());
}

TEST(RemoveSelected, ExactCaseOnlyAndManyEntries) {
    FileList list(Cp1252(), '\\');
    Strings paths;
    for (int i = 0; i < 20000; ++i) paths.push_back("C:\\f\\" + std::to_string(i));
    list.SetMasterList(paths);
    list.RebuildFileList();
    for (std::size_t i = 0; i < list.DisplayedCount(); i += 2) list.SetSelected(i, true);
    EXPECT_EQ(10000u, list.RemoveSelected());
    ASSERT_EQ(10000u, list.MasterCount());
    EXPECT_EQ("C:\\f\\1", list.MasterList().front());
    EXPECT_EQ("C:\\f\\19999", list.DisplayedList().back());

    // A displayed entry whose text differs in case from the master removes nothing there.
    FileList other(Cp1252(), '\\');
    other.SetMasterList({"C:\\A"});
    other.SetDisplayedList({"C:\\a"});
    other.SetSelected(0, true);
    other.RemoveSelected();
    EXPECT_EQ((Strings{"C:\\A"}), other.MasterList());
    EXPECT_EQ(0u, other.DisplayedCount());
}

TEST(RemoveMasterEntries, EveryExactlyEqualEntryLeavesTheMasterList) {
    FileList list(Cp1252(), '\\');
    list.SetMasterList({"C:\\a", "C:\\b", "C:\\a", "C:\\A", "C:\\a"});
    list.RebuildFileList();
    EXPECT_EQ(3u, list.RemoveMasterEntries("C:\\a"));
    EXPECT_EQ((Strings{"C:\\b", "C:\\A"}), list.MasterList());
    // The displayed list waits for the caller's rebuild.
    EXPECT_EQ(5u, list.DisplayedCount());
    list.RebuildFileList();
    EXPECT_EQ((Strings{"C:\\b", "C:\\A"}), list.DisplayedList());
    EXPECT_EQ(0u, list.RemoveMasterEntries("C:\\a"));
    EXPECT_EQ(0u, list.RemoveMasterEntries("C:\\x"));
    // Entries appended after a removal are found again.
    list.Append("C:\\a");
    EXPECT_EQ(1u, list.RemoveMasterEntries("C:\\a"));
    EXPECT_EQ(2u, list.MasterCount());

    // Many removals compact the list without losing the rest.
    FileList many(Cp1252(), '\\');
    Strings paths;
    for (int i = 0; i < 5000; ++i) paths.push_back("C:\\f\\" + std::to_string(i % 2500));
    many.SetMasterList(paths);
    for (int i = 0; i < 2500; i += 2) EXPECT_EQ(2u, many.RemoveMasterEntries("C:\\f\\" + std::to_string(i)));
    EXPECT_EQ(2500u, many.MasterCount());
    EXPECT_EQ("C:\\f\\1", many.MasterList().front());
    EXPECT_EQ(2u, many.RemoveMasterEntries("C:\\f\\2499"));
}

TEST(RemoveAll, EmptiesBothListsAndDisablesUndo) {
    FileList list = MakeList({"C:\\a", "C:\\b"});
    list.SetUndoEnabled(true);
    list.RemoveAll();
    EXPECT_EQ(0u, list.MasterCount());
    EXPECT_EQ(0u, list.DisplayedCount());
    EXPECT_EQ(-1, list.Focus());
    EXPECT_FALSE(list.UndoEnabled());
}

// ---------------------------------------------------------------- move and sort

TEST(MoveEntries, UpAndDownMoveTheFocusedEntry) {
    FileList list = MakeList({"C:\\a", "C:\\b", "C:\\c"});
    list.SetUndoEnabled(true);
    list.SetFocus(1);
    EXPECT_FALSE(list.MoveFocusedUp());  // nothing selected: nothing happens
    list.SetSelected(1, true);
    ASSERT_TRUE(list.MoveFocusedUp());
    EXPECT_EQ((Strings{"C:\\b", "C:\\a", "C:\\c"}), list.DisplayedList());
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_EQ(0, list.Focus());
    EXPECT_FALSE(list.MoveFocusedUp());  // already first
    ASSERT_TRUE(list.MoveFocusedDown());
    ASSERT_TRUE(list.MoveFocusedDown());
    EXPECT_EQ((Strings{"C:\\a", "C:\\c", "C:\\b"}), list.DisplayedList());
    EXPECT_FALSE(list.MoveFocusedDown());  // already last
    // The master list and Undo stay as they were.
    EXPECT_EQ((Strings{"C:\\a", "C:\\b", "C:\\c"}), list.MasterList());
    EXPECT_TRUE(list.UndoEnabled());
}

// The sort as the program always did it: a bubble sort that swaps
// neighbours whose names compare greater without regard to case.
Strings BubbleSort(const CodePage& cp, Strings v) {
    auto greater = [&](const std::string& a, const std::string& b) {
        const std::string na = cp.Lower(SortName(cp, a, '\\'));
        const std::string nb = cp.Lower(SortName(cp, b, '\\'));
        return std::lexicographical_compare(nb.begin(), nb.end(), na.begin(), na.end(),
                                            [](char x, char y) {
                                                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                                            });
    };
    for (std::size_t i = v.size(); i-- > 1;)
        for (std::size_t j = 0; j < i; ++j)
            if (greater(v[j], v[j + 1])) std::swap(v[j], v[j + 1]);
    return v;
}

TEST(SortByName, SameOrderAsTheBubbleSort) {
    std::mt19937 rng(777);
    const char* parts[] = {"a", "B", "b", "\xC9", "\xE9", "1", "_", ".", "z", "\\"};
    for (int round = 0; round < 200; ++round) {
        Strings paths;
        const int n = 1 + static_cast<int>(rng() % 30);
        for (int k = 0; k < n; ++k) {
            std::string p = (rng() % 4 == 0) ? "" : (rng() % 2 ? "C:\\x\\" : "D:\\");
            const int len = static_cast<int>(rng() % 4);
            for (int c = 0; c < len; ++c) p += parts[rng() % 10];
            paths.push_back(p);
        }
        FileList list(Cp1252(), '\\');
        list.SetMasterList(paths);
        list.SetDisplayedList(paths);
        list.SortByName();
        ASSERT_EQ(BubbleSort(Cp1252(), paths), list.DisplayedList()) << "round " << round;
    }
}

TEST(SortByName, LeadingSeparatorCountsAsPartOfTheName) {
    FileList list(Cp1252(), '\\');
    list.SetDisplayedList({"C:\\b", "\\c", "C:\\a", "C:\\B"});
    list.SortByName();
    // "\c" is compared whole: the backslash sorts before the letters.
    EXPECT_EQ((Strings{"\\c", "C:\\a", "C:\\b", "C:\\B"}), list.DisplayedList());
}

TEST(SortByName, HundredThousandEntries) {
    FileList list(Cp1252(), '\\');
    Strings paths;
    for (int i = 100000; i-- > 0;) paths.push_back("C:\\f\\n" + std::to_string(i));
    list.SetDisplayedList(paths);
    list.SortByName();
    EXPECT_EQ("C:\\f\\n0", list.DisplayedText(0));
    EXPECT_EQ("C:\\f\\n99999", list.DisplayedText(99999));
    const Strings shown = list.DisplayedList();
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(),
                               [](const std::string& a, const std::string& b) { return a < b; }));
}

TEST(Reorder, RunRecordAndOutcomesTravelWithTheirEntries) {
    FileList list = MakeList({"C:\\c", "C:\\a", "C:\\b"});
    list.SetRun({"C:\\c2", "C:\\a2", "C:\\b2"},
                {EntryOutcome::Renamed, EntryOutcome::Failed, EntryOutcome::Renamed});
    list.SetUndoEnabled(true);
    list.SortByName();
    EXPECT_EQ((Strings{"C:\\a", "C:\\b", "C:\\c"}), list.DisplayedList());
    EXPECT_EQ((Strings{"C:\\a2", "C:\\b2", "C:\\c2"}), list.RunRecord());
    EXPECT_EQ(EntryOutcome::Failed, list.Outcome(0));
    EXPECT_TRUE(list.UndoEnabled());
    list.SetFocus(0);
    list.SetSelected(0, true);
    list.MoveFocusedDown();
    EXPECT_EQ((Strings{"C:\\b", "C:\\a", "C:\\c"}), list.DisplayedList());
    EXPECT_EQ((Strings{"C:\\b2", "C:\\a2", "C:\\c2"}), list.RunRecord());
    EXPECT_EQ(EntryOutcome::Failed, list.Outcome(1));
}

TEST(Reorder, UndoIsDisabledWhenTheRecordCannotFollow) {
    FileList list = MakeList({"C:\\b", "C:\\a"});
    list.SetRunRecord({"C:\\b2"});  // shorter, as a batch file may bring
    list.SetUndoEnabled(true);
    list.SortByName();
    EXPECT_FALSE(list.UndoEnabled());
    EXPECT_EQ((Strings{"C:\\b2"}), list.RunRecord());
}

TEST(Reorder, ARecordLeftByARemovalStaysByPositionUntilTheLengthsAgree) {
    FileList list = MakeList({"C:\\a", "C:\\b", "C:\\c"});
    list.SetRun({"C:\\a2", "C:\\b2", "C:\\c2"}, {EntryOutcome::Renamed, EntryOutcome::Failed, EntryOutcome::Renamed});
    list.SetSelected(0, true);
    list.RemoveSelected();
    // Removing entries leaves the record as it was, by position.
    EXPECT_EQ((Strings{"C:\\b", "C:\\c"}), list.DisplayedList());
    EXPECT_EQ((Strings{"C:\\a2", "C:\\b2", "C:\\c2"}), list.RunRecord());
    EXPECT_EQ(EntryOutcome::Failed, list.Outcome(1));
    EXPECT_EQ(EntryOutcome::Unknown, list.Outcome(3));
    // Three rows again: the record belongs to them by position and follows a sort.
    list.AddFiles({"C:\\0"});
    EXPECT_EQ((Strings{"C:\\b", "C:\\c", "C:\\0"}), list.DisplayedList());
    list.SortByName();
    EXPECT_EQ((Strings{"C:\\0", "C:\\b", "C:\\c"}), list.DisplayedList());
    EXPECT_EQ((Strings{"C:\\c2", "C:\\a2", "C:\\b2"}), list.RunRecord());
    EXPECT_EQ(EntryOutcome::Renamed, list.Outcome(0));
    EXPECT_EQ(EntryOutcome::Renamed, list.Outcome(1));
    EXPECT_EQ(EntryOutcome::Failed, list.Outcome(2));
}

TEST(Revisions, TextsAndSelectionCountSeparately) {
    FileList list = MakeList({"C:\\b", "C:\\a"});
    const auto texts = list.revision();
    const auto selection = list.selectionRevision();
    list.SelectAll();
    list.SetSelected(0, true);  // already selected: no change
    EXPECT_EQ(texts, list.revision());
    EXPECT_EQ(selection + 1, list.selectionRevision());
    list.SortByName();
    EXPECT_EQ(texts + 1, list.revision());
    list.SortByName();  // already in order: nothing moves
    EXPECT_EQ(texts + 1, list.revision());
    list.SetFilterText("x");
    EXPECT_EQ(texts + 2, list.revision());
    EXPECT_LT(selection + 1, list.selectionRevision());
}

TEST(Revisions, EachChangeSaysWhatChangedForAListBoxOneRevisionBehind) {
    FileList list = MakeList({"C:\\a", "C:\\b", "C:\\c", "C:\\d", "C:\\e"});
    EXPECT_EQ(RowChange::Kind::Any, list.lastChange().kind);  // a new list
    list.SetFocus(2);
    list.SetSelected(2, true);
    auto revision = list.revision();
    ASSERT_TRUE(list.MoveFocusedUp());
    EXPECT_EQ(revision + 1, list.revision());
    EXPECT_EQ(RowChange::Kind::Swapped, list.lastChange().kind);
    EXPECT_EQ(1u, list.lastChange().first);  // rows 1 and 2
    ASSERT_TRUE(list.MoveFocusedDown());
    ASSERT_TRUE(list.MoveFocusedDown());
    EXPECT_EQ(RowChange::Kind::Swapped, list.lastChange().kind);
    EXPECT_EQ(2u, list.lastChange().first);  // rows 2 and 3
    EXPECT_EQ((Strings{"C:\\a", "C:\\b", "C:\\d", "C:\\c", "C:\\e"}), list.DisplayedList());

    list.SetSelected(0, true);
    list.SetSelected(4, true);
    revision = list.revision();
    EXPECT_EQ(3u, list.RemoveSelected());
    EXPECT_EQ(revision + 1, list.revision());
    EXPECT_EQ(RowChange::Kind::Removed, list.lastChange().kind);
    EXPECT_EQ((std::vector<std::size_t>{0, 3, 4}), list.lastChange().removed);  // ascending, numbered as before
    EXPECT_EQ((Strings{"C:\\b", "C:\\d"}), list.DisplayedList());

    list.SetFocus(1);
    list.SetSelected(1, true);
    list.MoveFocusedUp();  // d before b
    list.SortByName();     // a new order
    EXPECT_EQ(RowChange::Kind::Any, list.lastChange().kind);
    list.MoveFocusedDown();
    list.SetFilterText("");  // a new list again
    EXPECT_EQ(RowChange::Kind::Any, list.lastChange().kind);
}

// ---------------------------------------------------------------- selection

TEST(Selection, SelectAllAndInvert) {
    FileList list = MakeList({"C:\\a", "C:\\b", "C:\\c"});
    list.SetSelected(1, true);
    list.InvertSelection();
    EXPECT_TRUE(list.IsSelected(0));
    EXPECT_FALSE(list.IsSelected(1));
    EXPECT_TRUE(list.IsSelected(2));
    list.SelectAll();
    EXPECT_EQ(3u, list.SelectedCount());
    list.SetUndoEnabled(true);
    list.InvertSelection();
    EXPECT_EQ(0u, list.SelectedCount());
    EXPECT_TRUE(list.UndoEnabled());
}

}  // namespace
}  // namespace quorv
