// The data folder: the installed copy keeps its user's files in the user's
// own folder, any other copy beside itself. The decision as a table, in the
// narrow text of the program and the UTF-16 of the extension.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/data_folder.h"

namespace quorv {
namespace {

constexpr const char* kLocal = "C:\\Users\\ann\\AppData\\Local";
constexpr const char* kMine = "C:\\Users\\ann\\AppData\\Local\\Quorvane 2\\";
constexpr const char* kInstalled = "C:\\Program Files\\Quorvane 2\\";

struct Case {
    const char* what;
    const char* programFolder;
    const char* installFolder;  // the registry's value as stored ("" when none)
    const char* localAppData;
    bool canMake;               // the user's folder is there, or can be made
    const char* folder;         // the answer
    DataFolderKind kind;
    bool asked;                 // the user's folder was asked for
};

const Case kCases[] = {
    {"installed copy", kInstalled, "C:\\Program Files\\Quorvane 2", kLocal, true, kMine, DataFolderKind::User, true},
    {"installed copy, the value with its backslash", kInstalled, kInstalled, kLocal, true, kMine,
     DataFolderKind::User, true},
    {"installed copy, the value in other letter case", kInstalled, "c:\\PROGRAM FILES\\quorvane 2", kLocal, true,
     kMine, DataFolderKind::User, true},
    {"installed copy, the value with forward slashes", kInstalled, "C:/Program Files/Quorvane 2/", kLocal, true,
     kMine, DataFolderKind::User, true},
    {"installed copy, local data given with a backslash", kInstalled, kInstalled, "C:\\Users\\ann\\AppData\\Local\\",
     true, kMine, DataFolderKind::User, true},
    {"installed at a drive's root", "E:\\", "E:\\", kLocal, true, kMine, DataFolderKind::User, true},
    {"copy elsewhere", "D:\\Tools\\Quorvane\\", "C:\\Program Files\\Quorvane 2", kLocal, true,
     "D:\\Tools\\Quorvane\\", DataFolderKind::Program, false},
    {"no registry value", kInstalled, "", kLocal, true, kInstalled, DataFolderKind::Program, false},
    {"a value naming a longer folder", kInstalled, "C:\\Program Files\\Quorvane 2 old", kLocal, true, kInstalled,
     DataFolderKind::Program, false},
    {"a value naming the parent folder", kInstalled, "C:\\Program Files", kLocal, true, kInstalled,
     DataFolderKind::Program, false},
    {"a value naming a sub-folder", "C:\\Program Files\\", "C:\\Program Files\\Quorvane 2", kLocal, true,
     "C:\\Program Files\\", DataFolderKind::Program, false},
    {"a value naming the drive without its root", "E:\\", "E:", kLocal, true, "E:\\", DataFolderKind::Program,
     false},
    {"the user's folder cannot be made", kInstalled, kInstalled, kLocal, false, kInstalled,
     DataFolderKind::ProgramAfterFailure, true},
    {"no local application data", kInstalled, kInstalled, "", true, kInstalled, DataFolderKind::ProgramAfterFailure,
     false},
    {"the program folder without its backslash", "D:\\Tools", "", kLocal, true, "D:\\Tools\\",
     DataFolderKind::Program, false},
};

template <class Char>
std::basic_string<Char> Text(const char* ascii) {
    std::basic_string<Char> out;
    for (; *ascii; ++ascii) out.push_back(static_cast<Char>(*ascii));
    return out;
}

template <class Char>
void RunTable() {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        DataFolderFacts<Char> facts;
        facts.programFolder = Text<Char>(c.programFolder);
        facts.installFolder = Text<Char>(c.installFolder);
        facts.localAppData = Text<Char>(c.localAppData);
        facts.separator = Char('\\');
        std::vector<std::basic_string<Char>> asked;
        const DataFolderChoice<Char> choice = ChooseDataFolder(facts, [&](const std::basic_string<Char>& folder) {
            asked.push_back(folder);
            return c.canMake;
        });
        EXPECT_TRUE(choice.folder == Text<Char>(c.folder));
        EXPECT_EQ(choice.kind, c.kind);
        if (c.asked) {
            // The folder itself, without its backslash, once.
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_TRUE(asked[0] == Text<Char>("C:\\Users\\ann\\AppData\\Local\\Quorvane 2"));
        } else {
            EXPECT_TRUE(asked.empty());
        }
        const bool failed = c.kind == DataFolderKind::ProgramAfterFailure;
        EXPECT_EQ(!choice.userFolder.empty(), failed && *c.localAppData != '\0');
        EXPECT_EQ(IsInstalledCopy(facts), c.kind != DataFolderKind::Program);
    }
}

TEST(DataFolder, DecisionTableInTheProgramsText) { RunTable<char>(); }

TEST(DataFolder, DecisionTableInTheExtensionsText) { RunTable<wchar_t>(); }

TEST(DataFolder, NativePathsKeepTheProgramFolder) {
    // Outside Windows there is no install folder: the program folder.
    DataFolderFacts<char> facts;
    facts.programFolder = "/opt/quorvane/";
    facts.localAppData = "/home/ann/.local/share";
    facts.separator = '/';
    int asked = 0;
    const DataFolderChoice<char> choice = ChooseDataFolder(facts, [&](const std::string&) { return ++asked > 0; });
    EXPECT_EQ(choice.folder, "/opt/quorvane/");
    EXPECT_EQ(choice.kind, DataFolderKind::Program);
    EXPECT_EQ(asked, 0);
    // Were one named, it would be found the same way (names compared exactly
    // but for ASCII case, as on Windows: the decision is made for Windows).
    facts.installFolder = "/opt/quorvane";
    EXPECT_EQ(ChooseDataFolder(facts, [](const std::string&) { return true; }).folder,
              "/home/ann/.local/share/Quorvane 2/");
}

TEST(DataFolder, TheErrorLogSaysWhichFolderFailed) {
    EXPECT_EQ(DataFolderFailureMessage("C:\\Users\\ann\\AppData\\Local\\Quorvane 2\\"),
              "The folder for your own files, C:\\Users\\ann\\AppData\\Local\\Quorvane 2\\, could not be created; "
              "the program folder is used instead.");
    EXPECT_EQ(DataFolderFailureMessage(""),
              "The folder for your own files could not be found (no local application data folder); the program "
              "folder is used instead.");
}

TEST(DataFolder, SameFolderIgnoresOnlyTrailingSeparatorsAndAsciiCase) {
    struct Pair {
        const char* a;
        const char* b;
        bool same;
    };
    const Pair pairs[] = {
        {"C:\\A\\B", "c:\\a\\b\\\\", true},
        {"C:\\A\\B", "C:\\A\\BC", false},
        {"C:\\A\\B", "C:\\A", false},
        {"C:\\", "C:", false},  // "C:" alone is the drive's current folder
        {"", "", false},        // no folder is no install folder
        {"C:\\\xC3\x89t\xC3\xA9", "C:\\\xC3\x89t\xC3\xA9\\", true},
        {"C:\\\xC3\x89t\xC3\xA9", "C:\\\xC3\xA9t\xC3\xA9", false},  // only ASCII letters fold
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(std::string(p.a) + " / " + p.b);
        EXPECT_EQ(SameFolder<char>(p.a, p.b, '\\'), p.same);
        EXPECT_EQ(SameFolder<char>(p.b, p.a, '\\'), p.same);
    }
}

}  // namespace
}  // namespace quorv
