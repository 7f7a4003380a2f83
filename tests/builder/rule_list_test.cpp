// Editing the rule list from the builder: add, update, delete, move, and
// reading a line back into the builder; rule files of composed lines.
#include "builder/rule_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/rule_file.h"
#include "platform/no_filesystem.h"
#include "system/system.h"
#include "tests/builder/builder_steps.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_services.h"

namespace quorv {
namespace {

using test::Builder;
using test::BuilderCodePage;
using Strings = std::vector<std::string>;

// A session with one file, so that the status line depends on the rules.
struct Editing {
    NoFileSystem files{'\\'};
    test::TestServices services{BuilderCodePage(), files};
    BatchSession session{services};
    RuleSelection selection;
    std::string lastFolder = "C:\\Last";
    int pickerCalls = 0;
    std::string pickerStart;
    bool pickerAccepts = true;
    std::string pickerChoice;  // empty: OK on the start folder

    Editing() {
        session.files.AddFiles({"C:\\a\\photo.jpg"});
        RefreshStatusLine(session);
    }
    ComposeContext Context() {
        return ComposeContext{BuilderCodePage(), lastFolder, [this](std::string& folder) {
                                  ++pickerCalls;
                                  pickerStart = folder;
                                  if (!pickerAccepts) return false;
                                  if (!pickerChoice.empty()) folder = pickerChoice;
                                  return true;
                              }};
    }
    RuleEditResult Add(const Builder& b) { return AddRule(session, selection, b.state, Context()); }
    RuleEditResult Update(const Builder& b) { return UpdateRule(session, selection, b.state, Context()); }
    void SetLines(const Strings& lines) {
        session.rules = lines;
        selection.Reset(lines.size());
    }
    void Select(std::initializer_list<std::size_t> lines, std::ptrdiff_t caret) {
        for (std::size_t i : lines) selection.SetSelected(i, true);
        selection.SetCaret(caret);
    }
};

const std::string Ready(std::size_t rules) { return StatusLineText(1, rules, false); }

// ---------------------------------------------------------------- add / update

TEST(RuleList, AddAppendsAndRefreshesTheStatusLine) {
    Editing e;
    EXPECT_EQ(e.session.statusLine, Ready(0));
    Builder b;
    b.Target("FILENAME").Action("PREFIX").Pick("digit").Value("3");
    const RuleEditResult first = e.Add(b);
    EXPECT_TRUE(first.changed);
    EXPECT_EQ(first.message, "");
    EXPECT_EQ(e.session.statusLine, Ready(1));
    e.Add(b);  // unchanged builder: the same line again
    EXPECT_EQ(e.session.rules, (Strings{"FILENAME PREFIX digit length:3", "FILENAME PREFIX digit length:3"}));
    EXPECT_EQ(e.selection.size(), 2u);
    EXPECT_EQ(e.selection.SelectedCount(), 0u);
    EXPECT_EQ(e.pickerCalls, 0);
}

TEST(RuleList, RefusedAddShowsTheMessageAndChangesNothing) {
    Editing e;
    e.SetLines({"FILEEXT LOWERCASE all"});
    e.session.statusLine = "as before";
    const RuleEditResult r = e.Add(Builder().Target("FILENAME").Action("PREFIX").Type("a:b"));
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.message, "':' is an illegal character for filename.");
    EXPECT_EQ(e.session.rules, Strings{"FILEEXT LOWERCASE all"});
    EXPECT_EQ(e.session.statusLine, "as before");
}

TEST(RuleList, DestinationFolderComesFromThePicker) {
    Editing e;
    e.pickerChoice = "C:\\My Photos";
    EXPECT_TRUE(e.Add(Builder().Target("DESTDIR")).changed);
    EXPECT_EQ(e.pickerStart, "C:\\Last");
    EXPECT_EQ(e.lastFolder, "C:\\My Photos");  // the chosen folder is the last folder now
    e.pickerChoice = "D:\\";
    e.Add(Builder().Target("DESTDIR"));
    EXPECT_EQ(e.session.rules, (Strings{"DESTDIR C:\\My Photos\\", "DESTDIR D:\\"}));
    // A cancel: no message, nothing added, the last folder kept.
    e.pickerAccepts = false;
    e.session.statusLine = "as before";
    const RuleEditResult cancelled = e.Add(Builder().Target("DESTDIR"));
    EXPECT_FALSE(cancelled.changed);
    EXPECT_EQ(cancelled.message, "");
    EXPECT_EQ(e.session.rules.size(), 2u);
    EXPECT_EQ(e.lastFolder, "D:\\");
    EXPECT_EQ(e.session.statusLine, "as before");
}

TEST(RuleList, UpdateReplacesTheCaretLineInPlace) {
    Editing e;
    e.SetLines({"FILENAME PREFIX \"a\"", "FILENAME PREFIX \"b\"", "FILENAME PREFIX \"c\""});
    e.Select({1}, 1);
    const RuleEditResult r = e.Update(Builder().Target("FILEEXT").Action("UPPERCASE"));
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(e.session.rules, (Strings{"FILENAME PREFIX \"a\"", "FILEEXT UPPERCASE all", "FILENAME PREFIX \"c\""}));
    EXPECT_TRUE(e.selection.IsSelected(1));
    EXPECT_EQ(e.selection.Caret(), 1);
    EXPECT_EQ(e.session.statusLine, Ready(3));
}

TEST(RuleList, RefusedOrCancelledUpdateKeepsTheOldLine) {
    Editing e;
    e.SetLines({"FILENAME PREFIX \"a\"", "DESTDIR C:\\x\\"});
    e.Select({0}, 0);
    const RuleEditResult refused = e.Update(Builder().Target("FILENAME").Action("PREFIX"));
    EXPECT_EQ(refused.message, kCompleteRuleMessage);
    EXPECT_FALSE(refused.changed);
    EXPECT_EQ(e.session.rules, (Strings{"FILENAME PREFIX \"a\"", "DESTDIR C:\\x\\"}));
    e.selection.SetCaret(1);
    e.pickerAccepts = false;
    EXPECT_FALSE(e.Update(Builder().Target("DESTDIR")).changed);
    EXPECT_EQ(e.session.rules, (Strings{"FILENAME PREFIX \"a\"", "DESTDIR C:\\x\\"}));
}

TEST(RuleList, UpdateOfAnEmptyListDoesNothing) {
    Editing e;
    const RuleEditResult r = e.Update(Builder().Target("DESTDIR"));
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(e.session.rules.empty());
    EXPECT_EQ(e.pickerCalls, 0);  // no picker for a list without a caret line
}

// ---------------------------------------------------------------- delete / move

TEST(RuleList, DeleteRemovesTheSelectedLinesOnly) {
    Editing e;
    e.SetLines({"1", "2", "3", "4", "5"});
    e.Select({1, 3}, 3);
    EXPECT_TRUE(DeleteSelectedRules(e.session, e.selection));
    EXPECT_EQ(e.session.rules, (Strings{"1", "3", "5"}));
    EXPECT_EQ(e.selection.SelectedCount(), 0u);
    EXPECT_EQ(e.selection.Caret(), 2);  // "5" stands where the caret line was
    EXPECT_EQ(e.session.statusLine, Ready(3));
    e.Select({0, 1, 2}, 2);
    DeleteSelectedRules(e.session, e.selection);
    EXPECT_TRUE(e.session.rules.empty());
    EXPECT_EQ(e.selection.Caret(), -1);
    EXPECT_EQ(e.session.statusLine, Ready(0));
}

TEST(RuleList, DeleteWithNothingSelectedStillRefreshesTheStatusLine) {
    Editing e;
    e.SetLines({"1", "2"});
    e.session.statusLine = "stale";
    EXPECT_FALSE(DeleteSelectedRules(e.session, e.selection));
    EXPECT_EQ(e.session.rules, (Strings{"1", "2"}));
    EXPECT_EQ(e.session.statusLine, Ready(2));
}

TEST(RuleList, MoveUpAndDown) {
    Editing e;
    e.SetLines({"1", "2", "3", "4", "5"});
    e.Select({2}, 2);
    EXPECT_TRUE(MoveRuleUp(e.session.rules, e.selection));
    EXPECT_EQ(e.session.rules, (Strings{"1", "3", "2", "4", "5"}));
    EXPECT_TRUE(e.selection.IsSelected(1));
    EXPECT_FALSE(e.selection.IsSelected(2));
    EXPECT_EQ(e.selection.Caret(), 1);
    // Again: the caret follows the line.
    EXPECT_TRUE(MoveRuleUp(e.session.rules, e.selection));
    EXPECT_EQ(e.session.rules, (Strings{"3", "1", "2", "4", "5"}));
    EXPECT_FALSE(MoveRuleUp(e.session.rules, e.selection));  // first line
    EXPECT_EQ(e.session.rules, (Strings{"3", "1", "2", "4", "5"}));

    // The neighbour keeps its own selection state.
    e.SetLines({"1", "2", "3"});
    e.Select({1, 2}, 1);
    EXPECT_TRUE(MoveRuleDown(e.session.rules, e.selection));
    EXPECT_EQ(e.session.rules, (Strings{"1", "3", "2"}));
    EXPECT_TRUE(e.selection.IsSelected(1));
    EXPECT_TRUE(e.selection.IsSelected(2));
    EXPECT_EQ(e.selection.Caret(), 2);
    EXPECT_FALSE(MoveRuleDown(e.session.rules, e.selection));  // last line

    // Nothing selected: no move, whatever the caret.
    e.SetLines({"1", "2"});
    e.selection.SetCaret(1);
    EXPECT_FALSE(MoveRuleUp(e.session.rules, e.selection));
    EXPECT_EQ(e.session.rules, (Strings{"1", "2"}));
}

TEST(RuleList, SelectionFollowsAListReplacedElsewhere) {
    Editing e;
    e.SetLines({"1", "2", "3"});
    e.Select({2}, 2);
    e.session.rules = {"only"};  // a favourite was loaded
    EXPECT_FALSE(MoveRuleUp(e.session.rules, e.selection));
    EXPECT_EQ(e.selection.Caret(), 0);
    EXPECT_TRUE(e.Update(Builder().Target("PICCONVERT").Action("PNG")).changed);
    EXPECT_EQ(e.session.rules, Strings{"PICCONVERT PNG"});
}

// ---------------------------------------------------------------- fill-back

// Reads the line back into a builder that holds something else, then
// presses Update with the picker answering OK on its start folder.
std::string RoundTrip(const std::string& line, const Builder& before, FillBackKind* kind = nullptr) {
    Editing e;
    e.SetLines({"FILEEXT LOWERCASE all", line});
    e.selection.SetCaret(1);
    BuilderState state = before.state;
    EXPECT_EQ(FillBuilderFromRule(state, e.session.rules, e.selection, BuilderCodePage()), kAllBuilderParts);
    const FillBackKind k = FillBack(state, line, BuilderCodePage());
    if (kind) *kind = k;
    const RuleEditResult r = UpdateRule(e.session, e.selection, state, e.Context());
    EXPECT_EQ(r.message, "") << line;
    return e.session.rules[1];
}

TEST(RuleFillBack, EveryLineTheBuilderWritesComesBackWhole) {
    const char* const lines[] = {
        // the lines of every kind
        "FILENAME PREFIX digit length:3",
        "FILENAME SUFFIX date format:yyyy-mm-dd",
        "FILENAME PREFIX file_modify_time format:H.M.S",
        "FILENAME SUFFIX image property:resolution",
        "FILENAME PREFIX mp3tagv1 property:Artist",
        "FILENAME SUFFIX mp3tagv2 property:Composer",
        "FILENAME PREFIX \"IMG_\"",
        "FILENAME REMOVE all",
        "FILENAME REMOVE left length:2",
        "FILENAME REMOVE date format:mm-dd-yy",
        "FILENAME REMOVE (*)",
        "FILENAME REMOVE \"abc\"",
        "FILENAME REPLACE \"old\" with \"new\"",
        "FILEEXT LOWERCASE all",
        "FILENAME UPPERCASE right length:3",
        "FILENAME INSERT \"-\" position:5",
        "FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF",
        "DESTDIR D:\\Sorted\\",
        "PICCONVERT JPG",
        // every form the engine reads
        "FILEEXT SUFFIX \"bak\"",
        "FILENAME SUFFIX digit length:4:100+10",
        "FILENAME PREFIX file_create_date format:long_local_date",
        "FILENAME REPLACE \"old\" with \"\"",
        "FILENAME REMOVE (*",
        "FILENAME REMOVE *)",
        "FILENAME REMOVE \"x*y\"",
        "FILEEXT LOWERCASE all",
        "FILENAME UPPERCASE left length:1letter",
        "FILENAME UPPERCASE \"the_first_letter_of_each_word\"",
        "FORMAT .HH-MM-SS-FF. PAL(25F) start:01-00-00-00",
        "FORMAT -HHMMSSFF- \"50\" start:HH-MM-SS-FF",
        "DESTDIR D:\\Sorted\\Photos\\",
        "PICCONVERT PNG",
        // quoted texts with blanks, replacements, values with blanks or quotes
        "FILENAME REMOVE \"a b\"",
        "FILENAME PREFIX \"My trip \"",
        "FILEEXT REPLACE \"a b\" with \"c  d\"",
        "FILENAME REPLACE \" \" with \"_\"",
        "FILENAME REPLACE \"x\" with \"with q \"",
        "FILENAME INSERT \"x\" position:1\"",
        "FILENAME INSERT \"one two\" position:12",
        "FILENAME SUFFIX date format:yyyy mm dd",
        "FILENAME SUFFIX file_last_access_time format:I.M.S",
        "FILENAME PREFIX image property:",
        "FORMAT _HH-MM-SS-FF_ Film(24F) start:00 00 01 00",
        "DESTDIR C:\\My Pictures\\",
        // typed texts that begin like an entry, or equal one
        "FILENAME PREFIX \"d\"",
        "FILENAME REMOVE \"a\"",
        "FILENAME REMOVE \"(*\"",
        "FILENAME REMOVE \"all\"",
        "FILENAME PREFIX \"digit\"",
        "FORMAT .HHMMSSFF. \"PAL(25F)\" start:HH-MM-SS-FF",
        // a typed text over a picked entry that keeps its value
        "FILENAME UPPERCASE \"xyz\" length:1",
        "FILEEXT LOWERCASE \"abc def\" length:=#2",
    };
    const Builder befores[] = {
        Builder(),
        Builder().Target("FILENAME").Action("PREFIX").Pick("digit").Value("7"),
        Builder().Target("FORMAT").Action("_HHMMSSFF_").Pick("PAL(25F)"),
        Builder().Target("DESTDIR").Folder("E:\\else\\"),
    };
    for (const char* line : lines) {
        for (const Builder& before : befores) {
            FillBackKind kind = FillBackKind::Tokens;
            EXPECT_EQ(RoundTrip(line, before, &kind), line);
            EXPECT_EQ(kind, FillBackKind::Faithful) << line;
        }
    }
}

TEST(RuleFillBack, BuilderShowsWhatTheUserWouldHavePicked) {
    BuilderState s = InitialBuilderState();
    FillBack(s, "FILENAME SUFFIX date format:dd.mm.yyyy", BuilderCodePage());
    EXPECT_EQ(BoxText(s.target), "FILENAME");
    EXPECT_EQ(BoxText(s.action), "SUFFIX");
    EXPECT_EQ(s.parameter.selected, test::EntryIndex(s.parameter, "date"));
    EXPECT_EQ(s.valueLabel, "format:");
    EXPECT_EQ(s.value.entries.size(), 14u);
    EXPECT_EQ(s.value.text, "dd.mm.yyyy");
    EXPECT_EQ(s.value.selected, 11);
    EXPECT_TRUE(s.value.enabled);

    FillBack(s, "FILENAME INSERT \"-\" position:5", BuilderCodePage());
    EXPECT_EQ(s.parameter.selected, -1);
    EXPECT_EQ(s.parameter.text, "-");
    EXPECT_EQ(s.value.text, "5");

    FillBack(s, "FILENAME REPLACE \"a b\" with \"c d\"", BuilderCodePage());
    EXPECT_EQ(s.parameter.text, "a b");
    EXPECT_EQ(s.valueLabel, "with");
    EXPECT_EQ(s.value.text, "c d");

    FillBack(s, "DESTDIR D:\\Sorted\\", BuilderCodePage());
    EXPECT_EQ(BoxText(s.target), "DESTDIR");
    EXPECT_TRUE(s.action.entries.empty());
    EXPECT_EQ(BoxText(s.action), "");
    EXPECT_EQ(s.parameter.text, "");
    EXPECT_EQ(s.value.text, "");
    EXPECT_EQ(s.valueLabel, "");
    EXPECT_EQ(FolderPickerStart(s, "C:\\Last"), "D:\\Sorted\\");

    FillBack(s, "PICCONVERT PNG", BuilderCodePage());
    EXPECT_EQ(BoxText(s.target), "PICCONVERT");
    EXPECT_EQ(BoxText(s.action), "PNG");
    EXPECT_EQ(s.folder, "");
}

TEST(RuleFillBack, DestinationFolderChosenAgainIsWrittenAndRemembered) {
    Editing e;
    e.SetLines({"DESTDIR D:\\Sorted\\"});
    BuilderState s = InitialBuilderState();
    FillBuilderFromRule(s, e.session.rules, e.selection, BuilderCodePage());
    e.pickerChoice = "D:\\Other";
    EXPECT_TRUE(UpdateRule(e.session, e.selection, s, e.Context()).changed);
    EXPECT_EQ(e.pickerStart, "D:\\Sorted\\");
    EXPECT_EQ(e.session.rules, Strings{"DESTDIR D:\\Other\\"});
    EXPECT_EQ(e.lastFolder, "D:\\Other");
}

TEST(RuleFillBack, OtherLinesAreReadByTokens) {
    struct Case {
        const char* line;
        const char* target;
        const char* action;
        const char* parameter;
        int parameterSelected;
        const char* value;
    };
    const Case cases[] = {
        // letter case ignored by the prefix search
        {"filename prefix x", "FILENAME", "PREFIX", "x", -1, ""},
        // prefix search: the second entry to the last, then the first
        {"FILENAME PREFIX d", "FILENAME", "PREFIX", "date", 1, "long_local_date"},
        {"FILENAME SUFFIX dig length:2", "FILENAME", "SUFFIX", "digit", 0, "2"},
        {"FILEEXT REMOVE lef :3", "FILEEXT", "REMOVE", "left", 1, ":3"},
        // a forbidden character typed by hand: the text lands in the box as typed
        {"FILENAME PREFIX \"a:b\"", "FILENAME", "PREFIX", "a:b", -1, ""},
        // a value part of no label: the whole token
        {"FILENAME PREFIX \"a\" 7 8", "FILENAME", "PREFIX", "a", -1, "7"},
        {"FILENAME UPPERCASE", "FILENAME", "UPPERCASE", "all", 0, ""},
        {"FORM", "FORMAT", "", "", -1, ""},
    };
    for (const auto& c : cases) {
        BuilderState s = InitialBuilderState();
        EXPECT_EQ(FillBack(s, c.line, BuilderCodePage()), FillBackKind::Tokens) << c.line;
        EXPECT_EQ(BoxText(s.target), c.target) << c.line;
        EXPECT_EQ(BoxText(s.action), c.action) << c.line;
        EXPECT_EQ(s.parameter.text, c.parameter) << c.line;
        EXPECT_EQ(s.parameter.selected, c.parameterSelected) << c.line;
        EXPECT_EQ(s.value.text, c.value) << c.line;
    }
    // An unknown target word leaves the target as it was.
    BuilderState s = InitialBuilderState();
    SelectTarget(s, 4);
    FillBack(s, "XYZ PNG", BuilderCodePage());
    EXPECT_EQ(BoxText(s.target), "PICCONVERT");
    EXPECT_EQ(BoxText(s.action), "PNG");
}

TEST(RuleFillBack, PrefixSearchOrder) {
    const Strings remove = {"all", "left", "right", "date", "(*)", "(*", "*)"};
    EXPECT_EQ(PrefixSearch(remove, "a"), 0);    // only the first begins with a: tried last
    EXPECT_EQ(PrefixSearch(remove, "(*"), 4);   // "(*)" before "(*"
    EXPECT_EQ(PrefixSearch(remove, "RIGHT"), 2);
    EXPECT_EQ(PrefixSearch(remove, "x"), -1);
    EXPECT_EQ(PrefixSearch({}, "x"), -1);
    EXPECT_EQ(PrefixSearch({"only"}, "ON"), 0);
}

TEST(RuleFillBack, NoCaretLineLeavesTheBuilderAlone) {
    BuilderState s = Builder().Target("FILENAME").Action("INSERT").state;
    RuleSelection none;
    none.Reset(0);
    EXPECT_EQ(FillBuilderFromRule(s, {}, none, BuilderCodePage()), 0u);
    EXPECT_EQ(BoxText(s.action), "INSERT");
}

// ---------------------------------------------------------------- rule files

// The bytes of a rule file as the record is documented: a 16-bit count,
// then each line behind a one-byte length (all lines here are shorter than 255).
std::string RecordOf(const Strings& lines) {
    std::string bytes;
    bytes += static_cast<char>(lines.size() & 0xFF);
    bytes += static_cast<char>(lines.size() >> 8);
    for (const std::string& l : lines) {
        bytes += static_cast<char>(l.size());
        bytes += l;
    }
    return bytes;
}

TEST(RuleFileOfComposedLines, SavedBytesAreTheRecordTheCommandLineWrites) {
    Editing e;
    e.pickerChoice = "C:\\My Pictures";
    e.Add(Builder().Target("FILENAME").Action("PREFIX").Pick("digit").Value("3"));
    // (A value with quotes: INSERT's; a REPLACE refuses them, as Windows does in a name.)
    e.Add(Builder().Target("FILENAME").Action("INSERT").Type("a b").Value("c \"d\""));
    e.Add(Builder().Target("DESTDIR"));
    e.Add(Builder().Target("FORMAT").Action("-HHMMSSFF-").Type("50"));
    ASSERT_EQ(e.session.rules.size(), 4u);

    // The writer of `quorv rules --write`, on a real file.
    test::TempDir dir;
    const std::string path = dir.Child("composed.qvr");
    ASSERT_EQ(SaveRuleFile(SystemFileSystem(), path, e.session.rules).outcome, SaveResult::Outcome::Saved);
    std::string bytes;
    ASSERT_EQ(SystemFileSystem().ReadFile(path, bytes), IoResult::Ok);
    EXPECT_EQ(bytes, RecordOf({"FILENAME PREFIX digit length:3", "FILENAME INSERT \"a b\" position:c \"d\"",
                               "DESTDIR C:\\My Pictures\\", "FORMAT -HHMMSSFF- \"50\" start:HH-MM-SS-FF"}));
    const RuleLoadResult loaded = LoadRuleFile(SystemFileSystem(), path, SystemCodePage());
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.rules, e.session.rules);
}

}  // namespace
}  // namespace quorv
