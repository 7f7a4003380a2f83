// The formats through the file system: the in-memory fake for failures on
// demand, real files in a temporary folder where the platform matters.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "batch/batch_file.h"
#include "builder/rule_file.h"
#include "formats/error_log.h"
#include "formats/handoff_file.h"
#include "platform/system_helpers.h"
#include "system/system.h"
#include "system/system_access.h"
#include "tests/support/memory_filesystem.h"
#include "tests/support/temp_dir.h"
#include "view/settings_file.h"

namespace quorv {

void PrintTo(const Favourite& favourite, std::ostream* out) { *out << favourite.title << " -> " << favourite.path; }

namespace {

using test::MemoryFileSystem;
using Op = MemoryFileSystem::Op;
using Lines = std::vector<std::string>;

const char* const kProgram = "C:\\Tools\\";

// ------------------------------------------------------------ batch files

TEST(BatchFileAccess, SaveWritesTheBytesAndLoadGivesThemBack) {
    MemoryFileSystem fs;
    BatchFile batch;
    batch.masterList = {"C:\\a.jpg", "C:\\b.jpg"};
    batch.displayedList = {"C:\\b.jpg"};
    batch.runRecord = {"C:\\b1.jpg"};
    batch.rules = {"FILENAME SUFFIX 1"};
    batch.undoEnabled = true;
    const SaveResult saved = SaveBatchFile(fs, "C:\\Jobs\\job.qvb", batch);
    EXPECT_EQ(saved.outcome, SaveResult::Outcome::NotOpened);  // no such folder
    fs.AddFolder("C:\\Jobs");
    ASSERT_EQ(SaveBatchFile(fs, "C:\\Jobs\\job.qvb", batch).outcome, SaveResult::Outcome::Saved);
    EXPECT_EQ(fs.Contents("C:\\Jobs\\job.qvb"), EncodeBatchFile(batch));

    const BatchLoadResult loaded = LoadBatchFile(fs, "C:\\Jobs\\job.qvb", SystemCodePage());
    EXPECT_TRUE(loaded.opened);
    EXPECT_TRUE(loaded.read.ok());
    EXPECT_EQ(loaded.errorText, "");
    EXPECT_TRUE(loaded.read.batch == batch);
}

TEST(BatchFileAccess, WriteFailuresNameThePath) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\Jobs");
    fs.SetFreeSpace(5);
    SaveResult saved = SaveBatchFile(fs, "C:\\Jobs\\job.qvb", BatchFile{});
    EXPECT_EQ(saved.outcome, SaveResult::Outcome::WriteFailed);
    EXPECT_EQ(saved.errorText, "Disk full while accessing C:\\Jobs\\job.qvb.");
    fs.SetFreeSpace(-1);
    fs.FailNext(Op::Write, 1, IoResult::Failed);
    saved = SaveBatchFile(fs, "C:\\Jobs\\job.qvb", BatchFile{});
    EXPECT_EQ(saved.outcome, SaveResult::Outcome::WriteFailed);
    EXPECT_EQ(saved.errorText, "An unknown error occurred while accessing C:\\Jobs\\job.qvb.");
    // A file that cannot be opened for writing is reported too, naming the path.
    fs.FailNext(Op::Write, 1, IoResult::AccessDenied);
    saved = SaveBatchFile(fs, "C:\\Jobs\\job.qvb", BatchFile{});
    EXPECT_EQ(saved.outcome, SaveResult::Outcome::NotOpened);
    EXPECT_EQ(saved.errorText, "An unknown error occurred while accessing C:\\Jobs\\job.qvb.");
    saved = SaveBatchFile(fs, "C:\\NoSuchFolder\\job.qvb", BatchFile{});
    EXPECT_EQ(saved.outcome, SaveResult::Outcome::NotOpened);
    EXPECT_EQ(saved.errorText, "An unknown error occurred while accessing C:\\NoSuchFolder\\job.qvb.");
}

TEST(BatchFileAccess, MissingFileDoesNothingAndDamagedFileIsReported) {
    MemoryFileSystem fs;
    EXPECT_FALSE(LoadBatchFile(fs, "C:\\none.qvb", SystemCodePage()).opened);
    fs.AddFile("C:\\short.qvb", std::string(10, '\0'));
    const BatchLoadResult loaded = LoadBatchFile(fs, "C:\\short.qvb", SystemCodePage());
    EXPECT_TRUE(loaded.opened);
    EXPECT_EQ(loaded.read.fieldsRead, 4);
    EXPECT_EQ(loaded.errorText, "An attempt was made to access an unnamed file past its end.");
}

// ------------------------------------------------------------- rule files

TEST(RuleFileAccess, SavedFavouriteIsListedAndLoadsInOrder) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\Tools\\favorite");
    const Lines rules = {"FILENAME PREFIX x", "FILEEXT LOWERCASE all", "FILENAME SUFFIX y"};
    const std::string path = FavouritePath(kProgram, '\\', "Set 1");
    const SaveResult saved = SaveRuleFile(fs, path, rules);
    EXPECT_EQ(saved.outcome, SaveResult::Outcome::Saved);
    EXPECT_TRUE(RescanFavouritesAfter(saved));
    EXPECT_EQ(ListFavourites(fs, kProgram), Lines{"Set 1"});
    const RuleLoadResult loaded = LoadRuleFile(fs, FavouritePath(kProgram, '\\', "Set 1"), SystemCodePage());
    EXPECT_TRUE(loaded.opened);
    EXPECT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.rules, rules);
}

TEST(RuleFileAccess, FavouritesListing) {
    MemoryFileSystem fs;
    EXPECT_TRUE(ListFavourites(fs, kProgram).empty());  // no favourites folder
    fs.AddFile("C:\\Tools\\favorite\\Web photos.qvr", EncodeRuleFile({}));
    fs.AddFolder("C:\\Tools\\favorite\\old.qvr");
    fs.AddFile("C:\\Tools\\favorite\\notes.txt", "x");
    fs.AddFile("C:\\Tools\\favorite\\a.b.qvr", EncodeRuleFile({}));
    fs.AddFile("C:\\Tools\\favorite\\Z.qvr", EncodeRuleFile({}));
    fs.AddFile("C:\\Tools\\other.qvr", EncodeRuleFile({}));
    // In the order the file system lists them, not sorted.
    EXPECT_EQ(ListFavourites(fs, kProgram), (Lines{"Web photos", "a.b", "Z"}));
}

// The installed copy lists the favourites the setup installed beside the
// program and the user's own in the data folder as one list.
TEST(RuleFileAccess, FavouritesOfTheInstallAndOfTheUser) {
    const std::string install = "C:\\Program Files\\Quorvane 2\\";
    const std::string mine = "C:\\Users\\ann\\AppData\\Local\\Quorvane 2\\";
    const std::string installed = install + "favorite\\";
    const std::string own = mine + "favorite\\";
    struct Case {
        const char* what;
        std::vector<std::string> installedNames;  // in the order the file system lists them
        std::vector<std::string> ownNames;
        std::vector<Favourite> expected;
    };
    const Case cases[] = {
        {"only the installed ones", {"Web photos.qvr", "Capitals.qvr"}, {},
         {{"Capitals", installed + "Capitals.qvr"}, {"Web photos", installed + "Web photos.qvr"}}},
        {"only the user's", {}, {"Set 1.qvr"}, {{"Set 1", own + "Set 1.qvr"}}},
        {"both, sorted as one folder lists names", {"b.qvr", "D.qvr"}, {"C.qvr", "a.qvr"},
         {{"a", own + "a.qvr"}, {"b", installed + "b.qvr"}, {"C", own + "C.qvr"}, {"D", installed + "D.qvr"}}},
        {"a title in both loads the user's", {"Web photos.qvr", "Tidy.qvr"}, {"web PHOTOS.qvr"},
         {{"Tidy", installed + "Tidy.qvr"}, {"web PHOTOS", own + "web PHOTOS.qvr"}}},
        {"folders and other files are left out in both", {"old.qvr\\", "notes.txt", "x.qvr"}, {"new.qvr\\", "y.qvr"},
         {{"x", installed + "x.qvr"}, {"y", own + "y.qvr"}}},
        {"neither folder there", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFileSystem fs;
        for (const std::string& name : c.installedNames) {
            if (name.back() == '\\') fs.AddFolder(installed + name.substr(0, name.size() - 1));
            else fs.AddFile(installed + name, EncodeRuleFile({}));
        }
        for (const std::string& name : c.ownNames) {
            if (name.back() == '\\') fs.AddFolder(own + name.substr(0, name.size() - 1));
            else fs.AddFile(own + name, EncodeRuleFile({}));
        }
        EXPECT_EQ(ListFavouriteFiles(fs, install, mine), c.expected);
    }
}

TEST(RuleFileAccess, APortableCopyListsItsFolderAsEver) {
    // One folder: the order the file system gives, not sorted, paths beside the program.
    MemoryFileSystem fs;
    fs.AddFile("C:\\Tools\\favorite\\Web photos.qvr", EncodeRuleFile({}));
    fs.AddFile("C:\\Tools\\favorite\\a.b.qvr", EncodeRuleFile({}));
    fs.AddFile("C:\\Tools\\favorite\\Z.qvr", EncodeRuleFile({}));
    const std::vector<Favourite> expected = {{"Web photos", "C:\\Tools\\favorite\\Web photos.qvr"},
                                             {"a.b", "C:\\Tools\\favorite\\a.b.qvr"},
                                             {"Z", "C:\\Tools\\favorite\\Z.qvr"}};
    EXPECT_EQ(ListFavouriteFiles(fs, kProgram, kProgram), expected);
    Lines titles;
    for (const Favourite& favourite : expected) titles.push_back(favourite.title);
    EXPECT_EQ(ListFavourites(fs, kProgram), titles);
}

TEST(RuleFileAccess, FailuresOfSaveAndLoad) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\Tools\\favorite");
    // A deleted favourite: not opened, no message.
    const RuleLoadResult gone = LoadRuleFile(fs, FavouritePath(kProgram, '\\', "gone"), SystemCodePage());
    EXPECT_FALSE(gone.opened);
    EXPECT_EQ(gone.errorText, "");
    // A damaged one: a message and no rules.
    fs.AddFile("C:\\Tools\\favorite\\bad.qvr", std::string("\x02\x00\x01x", 4));
    const RuleLoadResult bad = LoadRuleFile(fs, "C:\\Tools\\favorite\\bad.qvr", SystemCodePage());
    EXPECT_TRUE(bad.opened);
    EXPECT_FALSE(bad.ok);
    EXPECT_TRUE(bad.rules.empty());
    EXPECT_EQ(bad.errorText, "An attempt was made to access an unnamed file past its end.");
    // A full disk: the path in the message and no rescan.
    fs.SetFreeSpace(1);
    const SaveResult full = SaveRuleFile(fs, "C:\\Tools\\favorite\\new.qvr", {"FILENAME PREFIX a"});
    EXPECT_EQ(full.outcome, SaveResult::Outcome::WriteFailed);
    EXPECT_EQ(full.errorText, "Disk full while accessing C:\\Tools\\favorite\\new.qvr.");
    EXPECT_FALSE(RescanFavouritesAfter(full));
    // A file that cannot be opened: reported with its path, and the
    // favourites are still rescanned.
    fs.SetFreeSpace(-1);
    fs.Lock("C:\\Tools\\favorite\\bad.qvr");
    const SaveResult locked = SaveRuleFile(fs, "C:\\Tools\\favorite\\bad.qvr", {});
    EXPECT_EQ(locked.outcome, SaveResult::Outcome::NotOpened);
    EXPECT_EQ(locked.errorText, "An unknown error occurred while accessing C:\\Tools\\favorite\\bad.qvr.");
    EXPECT_TRUE(RescanFavouritesAfter(locked));
}

// ---------------------------------------------------------- settings file

TEST(SettingsFileAccess, MissingEmptyAndSavedFiles) {
    MemoryFileSystem fs;
    const std::string path = std::string(kProgram) + kSettingsFileName;
    EXPECT_TRUE(LoadSettings(fs, path, SystemCodePage()) == Settings{});
    fs.AddFile(path, "");
    Settings expected;
    expected.shellMenu = true;
    EXPECT_TRUE(LoadSettings(fs, path, SystemCodePage()) == expected);

    Settings s;
    s.theme = 7;
    s.lastFolder = "C:\\Pictures";
    ASSERT_TRUE(SaveSettings(fs, path, s));
    EXPECT_EQ(fs.Contents(path).size(), 38u + 11u);
    EXPECT_TRUE(LoadSettings(fs, path, SystemCodePage()) == s);

    fs.Lock(path);
    EXPECT_FALSE(SaveSettings(fs, path, Settings{}));
    fs.Unlock(path);
    EXPECT_TRUE(LoadSettings(fs, path, SystemCodePage()) == s);
}

// ----------------------------------------------------------- handoff file

// Moving in: the installed copy's first start for a user takes over the
// settings an earlier version left beside the program.
TEST(SettingsFileAccess, MovingInTakesOverTheOldSettingsOnce) {
    const std::string install = "C:\\Program Files\\Quorvane 2\\";
    const std::string mine = "C:\\Users\\ann\\AppData\\Local\\Quorvane 2\\";
    Settings old;
    old.theme = 2;
    old.lastFolder = "D:\\Photos";
    const std::string oldBytes = EncodeSettings(old);
    struct Case {
        const char* what;
        bool oldFile;        // the install folder holds Quorv.cfg
        const char* ownFile; // the user's Quorv.cfg (nullptr: none)
        bool sameFolder;     // a portable copy: the data folder is the program folder
        bool failWrite;
        bool movedIn;
    };
    const Case cases[] = {
        {"first start after an update", true, nullptr, false, false, true},
        {"the user has settings already", true, "mine", false, false, false},
        {"nothing to take over", false, nullptr, false, false, false},
        {"a portable copy", true, nullptr, true, false, false},
        {"the user's folder cannot be written", true, nullptr, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFileSystem fs;
        fs.AddFolder(install);
        fs.AddFolder(mine);
        if (c.oldFile) fs.AddFile(install + kSettingsFileName, oldBytes, kAttrReadOnly | kAttrArchive);
        if (c.ownFile) fs.AddFile(mine + kSettingsFileName, c.ownFile);
        if (c.failWrite) fs.FailNext(Op::Write, 1, IoResult::AccessDenied);
        const std::string data = c.sameFolder ? install : mine;
        EXPECT_EQ(MoveInSettings(fs, install, data), c.movedIn);
        // The old file is only read.
        if (c.oldFile) {
            EXPECT_EQ(fs.Contents(install + kSettingsFileName), oldBytes);
            EXPECT_EQ(fs.AttributesOf(install + kSettingsFileName), kAttrReadOnly | kAttrArchive);
        }
        if (c.movedIn) {
            EXPECT_EQ(fs.Contents(mine + kSettingsFileName), oldBytes);
            // A file of the user's own: writable at the window's close.
            EXPECT_EQ(fs.AttributesOf(mine + kSettingsFileName) & kAttrReadOnly, 0u);
            EXPECT_TRUE(LoadSettings(fs, mine + kSettingsFileName, SystemCodePage()) == old);
            EXPECT_TRUE(SaveSettings(fs, mine + kSettingsFileName, Settings{}));
            // Once: the next start finds the user's own.
            EXPECT_FALSE(MoveInSettings(fs, install, mine));
            EXPECT_TRUE(LoadSettings(fs, mine + kSettingsFileName, SystemCodePage()) == Settings{});
        } else if (c.ownFile) {
            EXPECT_EQ(fs.Contents(mine + kSettingsFileName), c.ownFile);
        } else if (!c.sameFolder) {
            EXPECT_FALSE(fs.HasFile(mine + kSettingsFileName));
        }
    }
}

TEST(HandoffFileAccess, WriterReplacesALongerUnreadFile) {
    MemoryFileSystem fs;
    fs.AddFolder("C:\\Tools");
    const std::string path = std::string(kProgram) + kHandoffFileName;
    ASSERT_TRUE(WriteHandoffFile(fs, path, {"C:\\one\\very\\long\\path.jpg", "C:\\two.jpg", "C:\\three.jpg"}));
    ASSERT_TRUE(WriteHandoffFile(fs, path, {"C:\\x.jpg"}));
    EXPECT_EQ(fs.Contents(path), "C:\\x.jpg\r\n");
    Lines entries{"stale"};
    ASSERT_TRUE(ReadHandoffFile(fs, SystemCodePage(), path, entries));
    EXPECT_EQ(entries, Lines{"C:\\x.jpg"});
}

TEST(HandoffFileAccess, MissingOrLockedFileGivesNothing) {
    MemoryFileSystem fs;
    Lines entries{"stale"};
    EXPECT_FALSE(ReadHandoffFile(fs, SystemCodePage(), "C:\\Tools\\Quorv2.qv2", entries));
    EXPECT_TRUE(entries.empty());
    fs.AddFile("C:\\Tools\\Quorv2.qv2", "a\r\n");
    fs.Lock("C:\\Tools\\Quorv2.qv2");
    EXPECT_FALSE(ReadHandoffFile(fs, SystemCodePage(), "C:\\Tools\\Quorv2.qv2", entries));
    EXPECT_FALSE(WriteHandoffFile(fs, "C:\\Tools\\Quorv2.qv2", {"b"}));
    EXPECT_FALSE(DeleteFileForced(fs, "C:\\Tools\\Quorv2.qv2"));
    EXPECT_TRUE(fs.HasFile("C:\\Tools\\Quorv2.qv2"));
}

TEST(HandoffFileAccess, ForcedDeleteClearsAttributes) {
    MemoryFileSystem fs;
    const std::uint32_t attributes[] = {kAttrReadOnly, kAttrHidden, kAttrSystem,
                                        kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive};
    for (std::uint32_t a : attributes) {
        SCOPED_TRACE(a);
        fs.AddFile("C:\\Tools\\Quorv2.qv2", "a\r\n", a);
        EXPECT_TRUE(DeleteFileForced(fs, "C:\\Tools\\Quorv2.qv2"));
        EXPECT_FALSE(fs.HasFile("C:\\Tools\\Quorv2.qv2"));
    }
    EXPECT_FALSE(DeleteFileForced(fs, "C:\\Tools\\Quorv2.qv2"));
    EXPECT_FALSE(DeleteFileForced(fs, ""));
    fs.AddFolder("C:\\Tools\\folder");
    EXPECT_FALSE(DeleteFileForced(fs, "C:\\Tools\\folder"));
    EXPECT_TRUE(fs.HasFolder("C:\\Tools\\folder"));
    fs.AddFile("C:\\Tools\\x", "", kAttrReadOnly);
    fs.FailNext(Op::Delete, 1);
    EXPECT_FALSE(DeleteFileForced(fs, "C:\\Tools\\x"));
}

TEST(HandoffFileAccess, RealReadOnlyFileIsReadAndDeleted) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string path = dir.Child(kHandoffFileName);
    ASSERT_TRUE(WriteHandoffFile(fs, path, {"C:\\a.jpg", "", "C:\\b.jpg"}));
    ASSERT_TRUE(fs.SetAttributes(path, kAttrReadOnly | kAttrHidden, nullptr));
    ASSERT_FALSE(fs.Delete(path));  // plain delete refuses a read-only file
    Lines entries;
    ASSERT_TRUE(ReadHandoffFile(fs, SystemCodePage(), path, entries));
    EXPECT_EQ(entries, (Lines{"C:\\a.jpg", "", "C:\\b.jpg"}));
    EXPECT_TRUE(DeleteFileForced(fs, path));
    EXPECT_FALSE(fs.Exists(path));
    EXPECT_FALSE(DeleteFileForced(fs, path));
}

// ---------------------------------------------------------- system helpers

TEST(SystemHelpers, FileExistsNeverSearchesForAnEmptyPath) {
    MemoryFileSystem fs;
    fs.AddFile("C:\\a.txt");
    EXPECT_FALSE(FileExists(fs, ""));
    EXPECT_EQ(fs.Calls(Op::Exists), 0);
    EXPECT_TRUE(FileExists(fs, "C:\\a.txt"));
    EXPECT_FALSE(FileExists(fs, "C:\\b.txt"));
    EXPECT_EQ(fs.Calls(Op::Exists), 2);
}

TEST(SystemHelpers, ProgramFolderHoldsThisTest) {
    const std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
#ifdef _WIN32
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(SystemFileSystem().Exists(folder + "formats_tests.exe"));
#else
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(SystemFileSystem().Exists(folder + "formats_tests"));
#endif
}

struct RegistryPathCase {
    std::string path;
    RegistryRoot root;
    std::string rest;
};

TEST(SystemHelpers, ParseRegistryPath) {
    const RegistryPathCase cases[] = {
        {"HKEY_CLASSES_ROOT\\CLSID\\{x}", RegistryRoot::ClassesRoot, "CLSID\\{x}"},
        {"HKEY_CURRENT_USER\\Software", RegistryRoot::CurrentUser, "Software"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane 2", RegistryRoot::LocalMachine, "SOFTWARE\\Quorvane 2"},
        {"HKEY_USERS\\.DEFAULT", RegistryRoot::Users, ".DEFAULT"},
        {"HKEY_CURRENT_CONFIG\\System", RegistryRoot::CurrentConfig, "System"},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser, ""},
        {"HKEY_CURRENT_USER\\", RegistryRoot::CurrentUser, ""},
        {"HKEY_USERS\\\\x", RegistryRoot::Users, "\\x"},
        {"hkey_current_user\\Software", RegistryRoot::None, "Software"},
        {"HKEY_Local_Machine\\x", RegistryRoot::None, "x"},
        {"HKLM\\SOFTWARE", RegistryRoot::None, "SOFTWARE"},
        {"HKEY_CURRENT_USERS\\x", RegistryRoot::None, "x"},
        {"", RegistryRoot::None, ""},
        {"\\Software", RegistryRoot::None, "Software"},
    };
    for (const RegistryPathCase& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        EXPECT_EQ(ParseRegistryPath(path), c.root);
        EXPECT_EQ(path, c.rest);
    }
}

TEST(SystemHelpers, UnknownRootGivesMinusOne) {
    std::string data = "old";
    std::uint32_t type = 7, size = 9;
    EXPECT_EQ(RegReadValue("hkey_current_user\\Software", "", data, type, size), -1);
    EXPECT_EQ(data, "");
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(RegReadValue("NOPE", "", data, type, size), -1);
}

TEST(SystemHelpers, ErrorLogLiesBesideTheProgramWithoutInstallFolder) {
    if (!GetInstallFolder(kProductKeyName).empty()) GTEST_SKIP() << "an install folder is registered";
    EXPECT_EQ(ErrorLogFolder(), GetProgramFolder());
    FileSystem& fs = SystemFileSystem();
    const std::string path = GetProgramFolder() + kErrorLogName;
    std::string before;
    const bool existed = fs.ReadFile(path, before) == IoResult::Ok;
    WriteErrorLog("Cannot read %s (%d)", "x.jpg", 5);
    std::string after;
    ASSERT_EQ(fs.ReadFile(path, after), IoResult::Ok);
    const std::string tail = "] Cannot read x.jpg (5)\r\n";
    ASSERT_GE(after.size(), tail.size());
    EXPECT_EQ(after.substr(after.size() - tail.size()), tail);
    if (before.size() <= kErrorLogSizeLimit) {
        // The stamp is 22 bytes; the tail repeats its last two.
        EXPECT_EQ(after.size(), before.size() + 22 + tail.size() - 2);
    }
    if (existed) {
        fs.WriteFile(path, before);
    } else {
        fs.Delete(path);
    }
}

}  // namespace
}  // namespace quorv
