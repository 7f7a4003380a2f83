// The program with UTF-8 as its narrow text. This executable carries the
// program's manifest, so the system runs it with UTF-8 as its ANSI code page
// (Windows 10 1903 and later, Wine): every test fails, never skips, when it
// does not. A second run under a Japanese system locale (QUORV_CODEPAGE=932)
// makes the legacy ANSI code page 932.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "batch/batch_file.h"
#include "batch/copy_move.h"
#include "batch/file_list.h"
#include "batch/rename_run.h"
#include "batch/session_commands.h"
#include "batch/undo.h"
#include "builder/rule_file.h"
#include "engine/apply_rules.h"
#include "formats/error_log.h"
#include "formats/handoff_file.h"
#include "platform/media.h"
#include "platform/media_text.h"
#include "platform/raii_win32.h"
#include "system/system.h"
#include "system/system_access.h"
#include "system/text_win32.h"
#include "tests/engine/utf8_rule_cases.h"
#include "tests/support/temp_dir.h"
#include "view/settings_file.h"

namespace quorv {
namespace {

using Strings = std::vector<std::string>;

// Names in four scripts: Japanese, Greek, Cyrillic, and one with an emoji.
const std::string kJapanese = "\xE5\x86\x99\xE7\x9C\x9F_\xE8\xA1\xA8";                          // 写真_表
const std::string kGreek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";  // Ελληνικά
const std::string kCyrillic = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";               // Привет
const std::string kEmoji = "party \xF0\x9F\x8E\x89";                                           // party 🎉
const std::string kCheck = "\xE2\x9C\x93";                                                     // ✓

class Utf8Process : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest's UTF-8 code page is not in force";
    }
};

// The legacy ANSI code page this run expects: 932 in the run under the
// Japanese locale, 1252 otherwise.
unsigned ExpectedLegacyPage() {
    const char* asked = std::getenv("QUORV_CODEPAGE");
    return asked != nullptr && std::string(asked) == "932" ? 932u : 1252u;
}

std::string ApplySystem(const std::string& name, const std::string& rule) {
    EngineContext ctx = EngineContextOf(SystemServices());
    return ApplyRules(ctx, "C:\\d\\" + name, 1, {rule});
}

// ------------------------------------------------------------ the code page

using Utf8CodePageTest = Utf8Process;

TEST_F(Utf8CodePageTest, TheSystemPageIsUtf8AndKnowsTheLegacyPage) {
    const CodePage& cp = SystemCodePage();
    EXPECT_EQ(cp.CharLength("\xE8\xA1\xA8", 0), 3u);
    EXPECT_EQ(cp.CharLength("\xF0\x9F\x98\x80", 0), 4u);
    EXPECT_EQ(cp.CharLength("\xE8\xA1", 0), 1u);  // cut short: one stray byte
    EXPECT_EQ(cp.CharLength("\x95\x5C", 0), 1u);  // legacy double-byte text is no sequence
    EXPECT_EQ(win::LegacyAnsiCodePage(), ExpectedLegacyPage());
    EXPECT_EQ(win::WideFromNarrow(kJapanese), L"\u5199\u771F_\u8868");
    EXPECT_EQ(win::NarrowFromWide(L"\u5199\u771F_\u8868"), kJapanese);
    EXPECT_EQ(win::NarrowFromWide(std::wstring(1, L'\xD800')), "?");  // the one conversion's rule
}

struct CaseMapping {
    const char* lower;
    const char* upper;
};

TEST_F(Utf8CodePageTest, LatinGreekAndCyrillicLettersChangeCase) {
    const CodePage& cp = SystemCodePage();
    const CaseMapping pairs[] = {
        {"\xC3\xA9lan", "\xC3\x89LAN"},                                        // élan ÉLAN
        {"\xC3\xBF", "\xC5\xB8"},                                              // ÿ Ÿ (other lead bytes)
        {"\xC5\x93", "\xC5\x92"},                                              // œ Œ
        {"\xCE\xB1\xCE\xB2\xCE\xB3 \xCF\x89\xCE\xAC", "\xCE\x91\xCE\x92\xCE\x93 \xCE\xA9\xCE\x86"},  // αβγ ωά
        {"\xD0\xB6\xD1\x91\xD1\x8F", "\xD0\x96\xD0\x81\xD0\xAF"},              // жёя ЖЁЯ
    };
    for (const CaseMapping& p : pairs) {
        EXPECT_EQ(cp.Upper(p.lower), p.upper) << p.lower;
        EXPECT_EQ(cp.Lower(p.upper), p.lower) << p.upper;
    }
    // No other case of the same length: sharp s, ideographs, emoji.
    for (const char* same : {"\xC3\x9F", "\xE8\xA1\xA8", "\xF0\x9F\x98\x80", "\xE2\x9C\x93"}) {
        EXPECT_EQ(cp.Upper(same), same);
        EXPECT_EQ(cp.Lower(same), same);
    }
    // Stray bytes are never touched and never make a neighbour split.
    EXPECT_EQ(cp.Upper("a\xE8\xA1" "b\xC3"), "A\xE8\xA1" "B\xC3");
}

// The system maps a few characters to a form of another length in UTF-8;
// a rule maps in place and counts bytes, so those stay as they are.
TEST_F(Utf8CodePageTest, ACharacterWhoseOtherCaseHasAnotherLengthStays) {
    struct Case {
        wchar_t character;
        bool upper;
        const char* utf8;
    };
    const Case cases[] = {
        {L'\x2C65', true, "\xE2\xB1\xA5"},   // ⱥ (3 bytes) -> Ⱥ (2 bytes)
        {L'\x0250', true, "\xC9\x90"},       // ɐ (2 bytes) -> Ɐ (3 bytes)
        {L'\x023A', false, "\xC8\xBA"},      // Ⱥ (2 bytes) -> ⱥ (3 bytes)
    };
    const CodePage& cp = SystemCodePage();
    for (const Case& c : cases) {
        wchar_t mapped = c.character;
        if (c.upper) CharUpperBuffW(&mapped, 1);
        else CharLowerBuffW(&mapped, 1);
        ASSERT_NE(mapped, c.character) << "the system no longer maps U+" << std::hex << int(c.character);
        const std::string text = std::string("a") + c.utf8 + "b";
        const std::string expected = std::string(c.upper ? "A" : "a") + c.utf8 + (c.upper ? "B" : "b");
        EXPECT_EQ(c.upper ? cp.Upper(text) : cp.Lower(text), expected);
    }
    // Characters beyond the first plane go through the system as pairs.
    wchar_t pair[2] = {0xD801, 0xDC28};  // Deseret small long I
    CharUpperBuffW(pair, 2);
    const std::string small = "\xF0\x90\x90\xA8", capital = "\xF0\x90\x90\x80";
    if (pair[1] == 0xDC00) {
        EXPECT_EQ(cp.Upper(small), capital);
        EXPECT_EQ(cp.Lower(capital), small);
    } else {
        EXPECT_EQ(cp.Upper(small), small);
    }
}

TEST_F(Utf8CodePageTest, LettersOfEveryScriptAndSignsThatAreNone) {
    const CodePage& cp = SystemCodePage();
    for (const char* letter : {"a", "Z", "\xC3\xA9", "\xCE\xB1", "\xD0\xB6", "\xE8\xA1\xA8", "\xC3\x9F"})
        EXPECT_TRUE(cp.IsLetter(letter)) << letter;
    for (const char* sign : {"1", "-", "\xE2\x86\x92", "\xE2\x82\xAC", "\xE2\x80\x94", "\xF0\x9F\x98\x80", "\xC3", ""})
        EXPECT_FALSE(cp.IsLetter(sign)) << sign;
}

// ------------------------------------------------------------ the engine

using Utf8Rules = Utf8Process;

TEST_F(Utf8Rules, NeverSplitASequence) {
    for (const test::Utf8RuleCase& c : test::kUtf8RuleCases) {
        EXPECT_EQ(ApplySystem(c.name, c.rule), std::string("C:\\d\\") + c.expected) << c.rule;
    }
}

TEST_F(Utf8Rules, CaseRulesOverEveryScript) {
    struct Case {
        const char* name;
        const char* rule;
        const char* expected;
    };
    const Case cases[] = {
        {"\xC3\xA9lan \xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xD0\xB6\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C \xE8\xA1\xA8\xF0\x9F\x98\x80.txt",
         "FILENAME UPPERCASE all",
         "\xC3\x89LAN \xCE\xA9\xCE\x9C\xCE\x88\xCE\x93\xCE\x91 \xD0\x96\xD0\x98\xD0\x97\xD0\x9D\xD0\xAC \xE8\xA1\xA8\xF0\x9F\x98\x80.txt"},
        {"A.\xCE\x91\xCE\x92\xCE\x93", "FILEEXT LOWERCASE all", "A.\xCE\xB1\xCE\xB2\xCE\xB3"},
        // Word capitals: only a-z change; accented and Greek letters keep
        // the word going, arrows and dashes end it.
        {"cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e", "FILENAME UPPERCASE \"the_first_letter_of_each_word\"",
         "Cr\xC3\xA8me Br\xC3\xBBl\xC3\xA9" "e"},
        {"\xC3\xA9lan vital", "FILENAME UPPERCASE \"the_first_letter_of_each_word\"", "\xC3\xA9lan Vital"},
        {"\xCF\x89mega delta", "FILENAME UPPERCASE \"the_first_letter_of_each_word\"", "\xCF\x89mega Delta"},
        {"a\xE2\x86\x92" "b c\xE2\x80\x94" "d", "FILENAME UPPERCASE \"the_first_letter_of_each_word\"",
         "A\xE2\x86\x92" "B C\xE2\x80\x94" "D"},
        {"\xCE\x91\xCE\x92\xCE\x93 DEF", "FILENAME LOWERCASE \"the_first_letter_of_each_word\"", "\xCE\x91\xCE\x92\xCE\x93 dEF"},
        // The letter skip: an accented letter is the first letter, a dash is none.
        {"01 \xC3\xA9lan", "FILENAME UPPERCASE left length:1letter", "01 \xC3\x89lan"},
        {"\xE2\x80\x94x", "FILENAME UPPERCASE left length:1letter", "\xE2\x80\x94X"},
        {"\xE2\x80\x94\xCE\xB1\xCE\xB2", "FILENAME REMOVE left length:2letter", "\xE2\x80\x94\xCE\xB2"},
    };
    for (const Case& c : cases) EXPECT_EQ(ApplySystem(c.name, c.rule), std::string("C:\\d\\") + c.expected) << c.rule;
}

// ------------------------------------------------------------ stored files

using Utf8StoredFiles = Utf8Process;

// Files of each kind written in the legacy ANSI code page: accents in 1252,
// the character U+8868 in 932 (whose second byte is a backslash).
TEST_F(Utf8StoredFiles, LegacyFilesOfEachKindLoadWithTheRightCharacters) {
    const bool is932 = win::LegacyAnsiCodePage() == 932;
    const std::string legacy = is932 ? "\x95\x5C" : "caf\xE9";
    const std::string utf8 = is932 ? "\xE8\xA1\xA8" : "caf\xC3\xA9";
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const CodePage& cp = SystemCodePage();

    const std::string rules = dir.Child("legacy.qvr");
    ASSERT_EQ(fs.WriteFile(rules, EncodeRuleFile({"FILENAME PREFIX \"" + legacy + "\""})), IoResult::Ok);
    const RuleLoadResult rule = LoadRuleFile(fs, rules, cp);
    ASSERT_TRUE(rule.ok);
    EXPECT_EQ(rule.rules, Strings{"FILENAME PREFIX \"" + utf8 + "\""});

    BatchFile old;
    old.masterList = {"C:\\" + legacy + ".jpg"};
    old.displayedList = old.masterList;
    old.runRecord = {"C:\\1" + legacy + ".jpg"};
    old.rules = {"FILENAME SUFFIX \"" + legacy + "\""};
    old.undoEnabled = true;
    const std::string batchPath = dir.Child("legacy.qvb");
    ASSERT_EQ(fs.WriteFile(batchPath, EncodeBatchFile(old)), IoResult::Ok);
    const BatchLoadResult batch = LoadBatchFile(fs, batchPath, cp);
    ASSERT_TRUE(batch.opened && batch.read.ok());
    EXPECT_EQ(batch.read.batch.masterList, Strings{"C:\\" + utf8 + ".jpg"});
    EXPECT_EQ(batch.read.batch.runRecord, Strings{"C:\\1" + utf8 + ".jpg"});
    EXPECT_EQ(batch.read.batch.rules, Strings{"FILENAME SUFFIX \"" + utf8 + "\""});

    Settings settings;
    settings.lastFolder = "D:\\" + legacy;
    settings.copyMoveFolder = "E:\\" + legacy + "\\";
    const std::string cfg = dir.Child(kSettingsFileName);
    ASSERT_EQ(fs.WriteFile(cfg, EncodeSettings(settings)), IoResult::Ok);
    const Settings loaded = LoadSettings(fs, cfg, cp);
    EXPECT_EQ(loaded.lastFolder, "D:\\" + utf8);
    EXPECT_EQ(loaded.copyMoveFolder, "E:\\" + utf8 + "\\");

    const std::string handoff = dir.Child(kHandoffFileName);
    ASSERT_EQ(fs.WriteFile(handoff, "C:\\" + legacy + ".jpg\r\n"), IoResult::Ok);
    Strings entries;
    ASSERT_TRUE(ReadHandoffFile(fs, cp, handoff, entries));
    EXPECT_EQ(entries, Strings{"C:\\" + utf8 + ".jpg"});
}

TEST_F(Utf8StoredFiles, FilesTheProgramWritesLoadBackIdentical) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const CodePage& cp = SystemCodePage();
    const Strings lines = {"FILENAME PREFIX \"" + kCheck + " \"", "DESTDIR C:\\" + kCyrillic + "\\",
                           "FILENAME REPLACE \"" + kGreek + "\" with \"" + kEmoji + "\"", "FILEEXT LOWERCASE all"};
    const std::string rules = dir.Child(kJapanese + ".qvr");
    ASSERT_EQ(SaveRuleFile(fs, rules, lines).outcome, SaveResult::Outcome::Saved);
    EXPECT_EQ(LoadRuleFile(fs, rules, cp).rules, lines);
    // The bytes are the UTF-8 text itself, in the single-byte form.
    std::string bytes;
    ASSERT_EQ(fs.ReadFile(rules, bytes), IoResult::Ok);
    EXPECT_NE(bytes.find(kCheck), std::string::npos);

    BatchFile batch;
    batch.masterList = {"C:\\" + kJapanese + ".jpg", "C:\\" + kEmoji + ".png"};
    batch.displayedList = {"C:\\" + kEmoji + ".png"};
    batch.runRecord = {"C:\\" + kGreek + ".png"};
    batch.rules = lines;
    batch.undoEnabled = true;
    const std::string batchPath = dir.Child(kGreek + ".qvb");
    ASSERT_EQ(SaveBatchFile(fs, batchPath, batch).outcome, SaveResult::Outcome::Saved);
    const BatchLoadResult read = LoadBatchFile(fs, batchPath, cp);
    ASSERT_TRUE(read.opened && read.read.ok());
    EXPECT_EQ(read.read.batch, batch);

    Settings settings;
    settings.lastFolder = "C:\\" + kCyrillic;
    settings.copyMoveFolder = "D:\\" + kEmoji + "\\";
    settings.theme = 3;
    const std::string cfg = dir.Child(kSettingsFileName);
    ASSERT_TRUE(SaveSettings(fs, cfg, settings));
    EXPECT_EQ(LoadSettings(fs, cfg, cp), settings);
}

// ------------------------------------------------------------ real files

// A folder of the temporary folder whose path is longer than 300
// characters, made of Greek and Japanese parts.
std::string LongFolder(const test::TempDir& dir, FileSystem& fs) {
    std::string folder = dir.path();
    while (win::WideFromNarrow(folder).size() < 300) {
        folder += "\\folder-\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC-\xE8\xA1\xA8-" +
                  std::to_string(folder.size());
        if (!fs.CreateFolder(folder)) return std::string();
    }
    return folder;
}

std::set<std::string> NamesIn(FileSystem& fs, const std::string& folder) {
    std::set<std::string> names;
    fs.FindEntries(folder + "\\*.*", [&names](const DirEntry& e) {
        if (!e.IsFolder()) names.insert(e.name);
        return true;
    });
    return names;
}

using Utf8Files = Utf8Process;

TEST_F(Utf8Files, NamesInFourScriptsArePreviewedRenamedAndUndone) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const Strings stems = {kJapanese, kGreek, kCyrillic, kEmoji};
    for (const std::string& stem : stems) ASSERT_EQ(fs.WriteFile(dir.Child(stem + ".txt"), stem), IoResult::Ok);
    EXPECT_EQ(NamesIn(fs, dir.path()),
              (std::set<std::string>{kJapanese + ".txt", kGreek + ".txt", kCyrillic + ".txt", kEmoji + ".txt"}));

    BatchSession s(SystemServices());
    AddFolderCommand(s, fs, dir.path());
    ASSERT_EQ(s.files.DisplayedCount(), 4u);
    s.rules = {"FILENAME PREFIX \"" + kCheck + " \"", "FILENAME UPPERCASE all"};
    const RunServices services = MakeRunServices(EngineContextOf(SystemServices()));

    ASSERT_TRUE(PreviewCommand(s, fs, services).ran());
    const std::string greekAfter = dir.Child(kCheck + " \xCE\x95\xCE\x9B\xCE\x9B\xCE\x97\xCE\x9D\xCE\x99\xCE\x9A\xCE\x86.txt");
    EXPECT_NE(s.resultText.find("\"" + dir.Child(kGreek + ".txt") + "\"  will be changed to  \"" + greekAfter + "\""),
              std::string::npos)
        << s.resultText;
    EXPECT_TRUE(fs.Exists(dir.Child(kGreek + ".txt")));

    const CommandResult renamed = RenameCommand(s, fs, services);
    ASSERT_TRUE(renamed.ran());
    EXPECT_EQ(renamed.failures, 0u) << s.resultText;
    const std::set<std::string> after = {
        kCheck + " " + kJapanese + ".txt",
        kCheck + " \xCE\x95\xCE\x9B\xCE\x9B\xCE\x97\xCE\x9D\xCE\x99\xCE\x9A\xCE\x86.txt",  // ΕΛΛΗΝΙΚΆ
        kCheck + " \xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2.txt",                  // ПРИВЕТ
        kCheck + " PARTY \xF0\x9F\x8E\x89.txt",
    };
    EXPECT_EQ(NamesIn(fs, dir.path()), after);
    for (const std::string& name : after) EXPECT_TRUE(fs.Exists(dir.Child(name))) << name;

    EXPECT_EQ(UndoRename(s, fs), 0u) << s.resultText;
    for (const std::string& stem : stems) {
        std::string bytes;
        EXPECT_EQ(fs.ReadFile(dir.Child(stem + ".txt"), bytes), IoResult::Ok) << stem;
        EXPECT_EQ(bytes, stem);
    }
}

TEST_F(Utf8Files, NamesInFourScriptsAreCopiedAndMoved) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string source = dir.Child(kJapanese);
    const std::string copies = dir.Child("\xCE\x96-\xD0\xBF\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0-\xE8\xA1\xA8");  // Ζ-папка-表
    const std::string moved = dir.Child(kEmoji);
    for (const std::string& folder : {source, copies, moved}) ASSERT_TRUE(fs.CreateFolder(folder));
    const Strings stems = {kJapanese, kGreek, kCyrillic, kEmoji};
    Strings paths;
    for (const std::string& stem : stems) {
        paths.push_back(source + "\\" + stem + ".txt");
        ASSERT_EQ(fs.WriteFile(paths.back(), stem), IoResult::Ok);
    }
    FileList files(SystemCodePage(), '\\');
    files.AddFiles(paths);
    files.SelectAll();
    TransferReport copied = TransferSelectedFiles(TransferKind::Copy, fs, files, SystemCodePage(), copies + "\\");
    EXPECT_EQ(copied.done, 4u);
    EXPECT_EQ(copied.failed, 0u);
    files.SelectAll();
    TransferReport done = TransferSelectedFiles(TransferKind::Move, fs, files, SystemCodePage(), moved + "\\");
    EXPECT_EQ(done.done, 4u);
    EXPECT_EQ(done.failed, 0u);
    EXPECT_TRUE(NamesIn(fs, source).empty());
    const std::set<std::string> all = {kJapanese + ".txt", kGreek + ".txt", kCyrillic + ".txt", kEmoji + ".txt"};
    EXPECT_EQ(NamesIn(fs, copies), all);
    EXPECT_EQ(NamesIn(fs, moved), all);
}

TEST_F(Utf8Files, APathBeyond300CharactersThroughEveryOperation) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string folder = LongFolder(dir, fs);
    ASSERT_FALSE(folder.empty());
    const std::string name = "photo " + kCyrillic + ".txt";
    const std::string file = folder + "\\" + name;
    ASSERT_GT(win::WideFromNarrow(file).size(), 300u);

    ASSERT_EQ(fs.WriteFile(file, "first"), IoResult::Ok);
    ASSERT_EQ(fs.WriteFile(file, "second"), IoResult::Ok);  // replaced through a temporary file beside it
    ASSERT_EQ(fs.AppendFile(file, "+"), IoResult::Ok);
    std::string bytes;
    ASSERT_EQ(fs.ReadFile(file, bytes), IoResult::Ok);
    EXPECT_EQ(bytes, "second+");
    EXPECT_TRUE(fs.Exists(file));
    EXPECT_EQ(NamesIn(fs, folder), std::set<std::string>{name});
    FileStatus status;
    ASSERT_TRUE(fs.GetStatus(file, status));
    EXPECT_EQ(status.size, 7u);
    FileTimes times{1000000000, 1100000000, 1200000000};
    ASSERT_TRUE(fs.SetAttributes(file, kAttrReadOnly, &times));
    ASSERT_TRUE(fs.GetStatus(file, status));
    EXPECT_EQ(status.times.modified, 1200000000);
    EXPECT_TRUE(status.attributes & kAttrReadOnly);
    EXPECT_FALSE(fs.Delete(file));  // read-only
    ASSERT_TRUE(fs.SetAttributes(file, kAttrNormal, nullptr));

    // Only the letter case changes: the exact new spelling is stored.
    const std::string upper = folder + "\\PHOTO " + SystemCodePage().Upper(kCyrillic) + ".txt";
    ASSERT_TRUE(fs.Move(file, upper));
    EXPECT_TRUE(fs.Exists(upper));
    EXPECT_FALSE(fs.Exists(file));
    ASSERT_TRUE(fs.Move(upper, file));

    // Scan, rename and undo through the batch model.
    BatchSession s(SystemServices());
    AddFolderCommand(s, fs, folder);
    ASSERT_EQ(s.files.DisplayedList(), Strings{file});
    s.rules = {"FILENAME PREFIX \"" + kEmoji + " \""};
    const RunServices services = MakeRunServices(EngineContextOf(SystemServices()));
    const CommandResult renamed = RenameCommand(s, fs, services);
    EXPECT_EQ(renamed.failures, 0u) << s.resultText;
    const std::string renamedPath = folder + "\\" + kEmoji + " " + name;
    EXPECT_TRUE(fs.Exists(renamedPath));
    EXPECT_FALSE(fs.Exists(file));
    EXPECT_EQ(UndoRename(s, fs), 0u) << s.resultText;
    EXPECT_TRUE(fs.Exists(file));
    EXPECT_FALSE(fs.Exists(renamedPath));

    // Copy and move into another long folder.
    const std::string target = folder + "\\" + kJapanese;
    ASSERT_TRUE(fs.CreateFolder(target));
    FileList files(SystemCodePage(), '\\');
    files.AddFiles({file});
    files.SelectAll();
    EXPECT_EQ(TransferSelectedFiles(TransferKind::Copy, fs, files, SystemCodePage(), target + "\\").done, 1u);
    EXPECT_TRUE(fs.Exists(target + "\\" + name));
    ASSERT_TRUE(fs.Delete(target + "\\" + name));
    files.SelectAll();
    EXPECT_EQ(TransferSelectedFiles(TransferKind::Move, fs, files, SystemCodePage(), target + "\\").done, 1u);
    EXPECT_TRUE(fs.Exists(target + "\\" + name));
    EXPECT_FALSE(fs.Exists(file));
    ASSERT_TRUE(fs.Copy(target + "\\" + name, file, false));
    EXPECT_FALSE(fs.Copy(target + "\\" + name, file, false));  // the target exists
    EXPECT_TRUE(fs.Copy(target + "\\" + name, file, true));

    // The error log in a long folder.
    AppendErrorLog(fs, SystemClock(), folder + "\\", "renamed " + kGreek);
    ASSERT_EQ(fs.ReadFile(folder + "\\" + kErrorLogName, bytes), IoResult::Ok);
    EXPECT_EQ(bytes.substr(bytes.size() - kGreek.size() - 2), kGreek + "\r\n");
}

TEST_F(Utf8Files, APathHoldingAZeroByteNamesNothing) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string real = dir.Child("a");
    ASSERT_EQ(fs.WriteFile(real, "x"), IoResult::Ok);
    const std::string withZero = real + std::string("\0b", 2);
    FileStatus status;
    EXPECT_FALSE(fs.GetStatus(withZero, status));
    EXPECT_FALSE(fs.Delete(withZero));
    EXPECT_FALSE(fs.Move(withZero, dir.Child("c")));
    EXPECT_TRUE(fs.Exists(real));  // the cut path would have named it
}

// ------------------------------------------------------------ media

// A picture of 2 x 2 pixels as a BMP file.
std::string TinyBmp() {
    std::string b = "BM";
    auto u32 = [&b](std::uint32_t v) { for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF); };
    auto u16 = [&b](std::uint16_t v) { b += static_cast<char>(v & 0xFF); b += static_cast<char>(v >> 8); };
    u32(70); u32(0); u32(54);
    u32(40); u32(2); u32(2); u16(1); u16(24); u32(0); u32(16); u32(2835); u32(2835); u32(0); u32(0);
    b += std::string(16, '\x7F');
    return b;
}

// An MP3 file of silence bytes with an ID3v1 tag naming the artist.
std::string Id3v1File(const std::string& artist) {
    std::string tag = "TAG";
    auto field = [&tag](const std::string& text, std::size_t size) {
        tag += text.substr(0, size);
        tag += std::string(size - std::min(size, text.size()), '\0');
    };
    field("Title", 30);
    field(artist, 30);
    field("Album", 30);
    field("2006", 4);
    field("", 30);
    tag += '\x0C';
    return std::string(4096, '\0') + tag;
}

using Utf8Media = Utf8Process;

TEST_F(Utf8Media, PicturesAndTagsUnderUnicodeNamesAndLongPaths) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    const std::string longFolder = LongFolder(dir, fs);
    ASSERT_FALSE(longFolder.empty());
    const bool is932 = win::LegacyAnsiCodePage() == 932;
    const std::string legacyArtist = is932 ? "\x95\x5C" : "Bj\xF6rk";
    const std::string artist = is932 ? "\xE8\xA1\xA8" : "Bj\xC3\xB6rk";
    for (const std::string& folder : {dir.path(), longFolder}) {
        SCOPED_TRACE(folder.size());
        const std::string bmp = folder + "\\" + kJapanese + ".bmp";
        ASSERT_EQ(fs.WriteFile(bmp, TinyBmp()), IoResult::Ok);
        PictureInfo info;
        ASSERT_TRUE(SystemPictureReader().Read(bmp, info));
        EXPECT_EQ(info.width, 2);
        EXPECT_EQ(info.height, 2);
        EXPECT_EQ(info.format, PictureFormat::BMP);
        const std::string png = folder + "\\" + kGreek + ".png";
        ASSERT_TRUE(SystemPictureReader().Save(bmp, png, "image/png"));
        ASSERT_TRUE(SystemPictureReader().Read(png, info));
        EXPECT_EQ(info.format, PictureFormat::PNG);

        const std::string mp3 = folder + "\\" + kEmoji + ".mp3";
        ASSERT_EQ(fs.WriteFile(mp3, Id3v1File(legacyArtist)), IoResult::Ok);
        const std::unique_ptr<TagFile> tags = SystemTagReader().Open(mp3);
        ASSERT_NE(tags, nullptr);
        std::string text;
        EXPECT_TRUE(tags->FrameText(TagField::Artist, text));
        EXPECT_EQ(text, artist);  // a single-byte frame of a Windows tagger: the legacy page
        EXPECT_EQ(SystemTagReader().Open(folder + "\\missing.mp3"), nullptr);
    }
    EXPECT_EQ(NarrowFromLatin1("Bj\xC3\xB6rk"), "Bj\xC3\xB6rk");  // UTF-8 stays
}

// ------------------------------------------------------------ the program folder

using Utf8ProgramFolder = Utf8Process;

// In the copy started by the test below, the folder it is told to expect;
// otherwise the folder of this executable.
TEST_F(Utf8ProgramFolder, IsTheExecutablesFolder) {
    std::wstring module(32768, L'\0');
    module.resize(GetModuleFileNameW(nullptr, &module[0], static_cast<DWORD>(module.size())));
    std::string expected = win::NarrowFromWide(module.substr(0, module.rfind(L'\\') + 1));
    if (const char* told = std::getenv("QUORV_EXPECTED_PROGRAM_FOLDER")) expected = told;
    EXPECT_EQ(GetProgramFolder(), expected);
}

// The copy lies in a folder named in Greek and Japanese whose path is as
// long as Wine can start a program from (CreateProcessW refuses every path
// of MAX_PATH characters or more, "\\?\" form included).
TEST_F(Utf8ProgramFolder, OfAFolderNamedInOtherScripts) {
    test::TempDir dir;
    FileSystem& fs = SystemFileSystem();
    std::string folder = dir.Child(kGreek + "-" + kJapanese + "-");
    const std::size_t exeLength = win::WideFromNarrow("\\" + kGreek + ".exe").size();
    while (win::WideFromNarrow(folder).size() + exeLength < MAX_PATH - 1) folder += "x";
    ASSERT_TRUE(fs.CreateFolder(folder));
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, &self[0], static_cast<DWORD>(self.size())));
    const std::string copy = folder + "\\" + kGreek + ".exe";
    ASSERT_TRUE(fs.Copy(win::NarrowFromWide(self), copy, false));

    const std::wstring output = win::WideFromNarrow(dir.Child("child.txt"));
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    win::FileHandle log(CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(log);
    ASSERT_TRUE(SetEnvironmentVariableW(L"QUORV_EXPECTED_PROGRAM_FOLDER", win::WideFromNarrow(folder + "\\").c_str()));
    const std::wstring program = win::WideFromNarrow(copy);
    std::wstring commandLine = L"\"" + program + L"\" --gtest_filter=Utf8ProgramFolder.IsTheExecutablesFolder";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = log.get();
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    SetEnvironmentVariableW(L"QUORV_EXPECTED_PROGRAM_FOLDER", nullptr);
    ASSERT_TRUE(started) << GetLastError();
    const win::FileHandle processHandle(process.hProcess), threadHandle(process.hThread);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    log.reset();
    std::string childOutput;
    fs.ReadFile(dir.Child("child.txt"), childOutput);
    EXPECT_EQ(exitCode, 0u) << childOutput;
    EXPECT_NE(childOutput.find("[  PASSED  ] 1 test"), std::string::npos) << childOutput;
}

}  // namespace
}  // namespace quorv
