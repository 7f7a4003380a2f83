// The rules builder, the rule list and rule files end to end: lines
// composed through the real combo boxes as a user picks and types, the
// refusals in the program's message dialog, the fill-back and Update,
// delete and move, the destination folder through the folder browser, the
// status line; rule files saved into the favourites folder and picked
// after a restart, and a damaged favourite.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/driver/e2e_builder_win32.h"
#include "tests/e2e/e2e_cases.h"

namespace quorv::e2e {
namespace {

using Strings = std::vector<std::string>;

const Strings kNameActions = {"PREFIX", "SUFFIX", "REMOVE", "REPLACE", "UPPERCASE", "LOWERCASE", "INSERT"};
const Strings kFormatActions = {"_HHMMSSFF_", ".HHMMSSFF.", "-HHMMSSFF-", "_HH-MM-SS-FF_", ".HH-MM-SS-FF."};
const Strings kPictureFormats = {"JPG", "BMP", "GIF", "PNG", "TIFF"};
const Strings kAddedValues = {"digit",           "date",
                              "file_create_date", "file_modify_date",
                              "file_last_access_date", "time",
                              "file_create_time", "file_modify_time",
                              "file_last_access_time", "image",
                              "mp3tagv1",        "mp3tagv2"};
const Strings kRemoveParameters = {"all", "left", "right", "date", "(*)", "(*", "*)"};
const Strings kDateFormats = {"long_local_date", "short_local_date", "mm-dd-yy", "mm-dd-yyyy", "dd-mm-yy",
                              "dd-mm-yyyy",      "yyyy-mm-dd",       "yy-mm-dd", "mm.dd.yy",   "mm.dd.yyyy",
                              "dd.mm.yy",        "dd.mm.yyyy",       "yyyy.mm.dd", "yy.mm.dd"};
const Strings kTimeFormats = {"H.M", "H.M.S", "I.M", "I.M.S"};

const char kComplete[] = "Please complete the rule.";
std::string Illegal(char c) { return std::string("'") + c + "' is an illegal character for filename."; }

// A program folder with two files handed over, so that the status line
// tells about the rules.
struct TwoFiles {
    explicit TwoFiles(const std::string& label) : folder(label) {
        files = MakeFiles(folder, "data", {"one.txt", "two.txt"});
        ok = folder.ok() && folder.WriteHandoff(files);
    }
    ProgramFolder folder;
    Strings files;
    bool ok = false;
};

// A screenshot of the "Rules builder" frame with the rule list.
bool ShootBuilder(const Program& program, const char* name) {
    const RECT frame = BuilderFrameOnScreen(program);
    return SaveSettledScreenshot(program, name, frame);
}

// Clicks an entry of a list box with the mouse (with modifiers) and settles.
bool ClickItem(const Program& program, int list, int index, unsigned modifiers = kNoModifier) {
    const RECT item = program.Control(list).ItemScreenRect(index);
    MouseClickAt(POINT{item.left + 40, (item.top + item.bottom) / 2}, modifiers);
    return program.Settle();
}

// Presses a button that must leave no window open behind it.
::testing::AssertionResult ClickQuietly(const Program& program, int id) {
    if (!program.Click(id)) return ::testing::AssertionFailure() << "no answer to the click on " << id;
    if (DialogOpen(program)) {
        const MessageView shown = program.WaitForMessage(500);
        return ::testing::AssertionFailure() << "a window opened: " << shown.caption << ": " << shown.text;
    }
    return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------- composing

struct ComposeRow {
    std::vector<BuilderStep> steps;
    const char* line;
    const char* label;  // the value label before Add
    int valueEnabled;   // the value box before Add: 1 enabled, 0 disabled, kAsBefore
};
// PICCONVERT leaves the value box as the row before left it.
constexpr int kAsBefore = -1;

TEST(BuilderTest, EveryKindOfLineComesFromTheBoxes) {
    TwoFiles setup("compose");
    ASSERT_TRUE(setup.ok);
    Program program(setup.folder);
    ASSERT_TRUE(program.running());
    EXPECT_EQ(program.Status(), kRuleListNullStatus);

    const ComposeRow rows[] = {
        // One line of each kind the builder writes.
        {{Target("FILENAME"), Action("PREFIX"), Pick("digit"), TypeValue("3")},
         "FILENAME PREFIX digit length:3", "length:", true},
        {{Target("FILENAME"), Action("SUFFIX"), Pick("date"), PickValue("yyyy-mm-dd")},
         "FILENAME SUFFIX date format:yyyy-mm-dd", "format:", true},
        {{Target("FILENAME"), Action("PREFIX"), Pick("file_modify_time"), PickValue("H.M.S")},
         "FILENAME PREFIX file_modify_time format:H.M.S", "format:", true},
        {{Target("FILENAME"), Action("SUFFIX"), Pick("image"), PickValue("resolution")},
         "FILENAME SUFFIX image property:resolution", "property:", true},
        {{Target("FILENAME"), Action("PREFIX"), Pick("mp3tagv1"), PickValue("Artist")},
         "FILENAME PREFIX mp3tagv1 property:Artist", "property:", true},
        {{Target("FILENAME"), Action("SUFFIX"), Pick("mp3tagv2"), PickValue("Composer")},
         "FILENAME SUFFIX mp3tagv2 property:Composer", "property:", true},
        {{Target("FILENAME"), Action("PREFIX"), Type("IMG_")}, "FILENAME PREFIX \"IMG_\"", "", false},
        {{Target("FILENAME"), Action("REMOVE")}, "FILENAME REMOVE all", "", false},
        {{Target("FILENAME"), Action("REMOVE"), Pick("left"), TypeValue("2")}, "FILENAME REMOVE left length:2",
         "length:", true},
        {{Target("FILENAME"), Action("REMOVE"), Pick("date"), PickValue("mm-dd-yy")},
         "FILENAME REMOVE date format:mm-dd-yy", "format:", true},
        {{Target("FILENAME"), Action("REMOVE"), Pick("(*)")}, "FILENAME REMOVE (*)", "", false},
        {{Target("FILENAME"), Action("REMOVE"), Type("abc")}, "FILENAME REMOVE \"abc\"", "", false},
        {{Target("FILENAME"), Action("REPLACE"), Type("old"), TypeValue("new")},
         "FILENAME REPLACE \"old\" with \"new\"", "with", true},
        {{Target("FILEEXT"), Action("LOWERCASE")}, "FILEEXT LOWERCASE all", "", false},
        {{Target("FILENAME"), Action("UPPERCASE"), Pick("right"), TypeValue("3")},
         "FILENAME UPPERCASE right length:3", "length:", true},
        {{Target("FILENAME"), Action("INSERT"), Type("-"), TypeValue("5")}, "FILENAME INSERT \"-\" position:5",
         "position:", true},
        {{Target("FORMAT"), Action("_HHMMSSFF_"), Pick("NTSC(30F)")},
         "FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF", "start:", true},
        {{Target("PICCONVERT"), Action("JPG")}, "PICCONVERT JPG", "", kAsBefore},
        // The asterisk is allowed in a text to remove.
        {{Target("FILENAME"), Action("REMOVE"), Type("a*b")}, "FILENAME REMOVE \"a*b\"", "", false},
        // An empty replacement, an empty property.
        {{Target("FILENAME"), Action("REPLACE"), Type("old")}, "FILENAME REPLACE \"old\" with \"\"", "with", true},
        {{Target("FILENAME"), Action("PREFIX"), Pick("image")}, "FILENAME PREFIX image property:", "property:",
         true},
        // Typing over a picked entry makes a literal without a value.
        {{Target("FILENAME"), Action("PREFIX"), Pick("digit"), Type("digitx")}, "FILENAME PREFIX \"digitx\"", "",
         false},
        // The picture format wins over what the value box still shows.
        {{Target("FILENAME"), Action("SUFFIX"), Pick("date"), Target("PICCONVERT"), Action("GIF")}, "PICCONVERT GIF",
         "", kAsBefore},
        // A value is written as typed, a double quote included.
        {{Target("FILENAME"), Action("INSERT"), Type("x"), TypeValue("1\"")}, "FILENAME INSERT \"x\" position:1\"",
         "position:", true},
        // A typed start time code, a counter expression, the other target.
        {{Target("FORMAT"), Action("-HHMMSSFF-"), Pick("Film(24F)"), TypeValue("01-00-00-00")},
         "FORMAT -HHMMSSFF- Film(24F) start:01-00-00-00", "start:", true},
        {{Target("FILEEXT"), Action("SUFFIX"), Pick("digit"), TypeValue("4:100+10")},
         "FILEEXT SUFFIX digit length:4:100+10", "length:", true},
        {{Target("FORMAT"), Action(".HH-MM-SS-FF."), Type("PAL(25F)")},
         "FORMAT .HH-MM-SS-FF. \"PAL(25F)\" start:HH-MM-SS-FF", "start:", true},
    };
    Strings expected;
    for (const ComposeRow& row : rows) {
        ASSERT_TRUE(RunSteps(program, row.steps)) << row.line;
        const BuilderView view = ReadBuilder(program);
        EXPECT_EQ(view.label, row.label) << row.line;
        if (row.valueEnabled != kAsBefore) {
            EXPECT_EQ(view.valueEnabled, row.valueEnabled == 1) << row.line;
        }
        ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE)) << row.line;
        expected.push_back(row.line);
        ASSERT_EQ(program.Items(IDC_RULE_LIST), expected) << row.line;
        EXPECT_EQ(program.Status(), ReadyStatus(2)) << row.line;
    }
    // Composing changes nothing in the builder: Add again gives the same line again.
    ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
    EXPECT_EQ(program.Items(IDC_RULE_LIST).back(), expected.back());
    // The horizontal extent follows the widest line.
    EXPECT_GT(program.Control(IDC_RULE_LIST).HorizontalExtent(), 10);
    ASSERT_TRUE(program.Close(true));
}

// What the boxes show after each choice, and a screenshot of the builder
// with each target chosen.
TEST(BuilderTest, BoxesFollowEachChoice) {
    ProgramFolder folder("boxes");
    ASSERT_TRUE(folder.ok());
    Program program(folder);
    ASSERT_TRUE(program.running());

    BuilderView view = ReadBuilder(program);
    EXPECT_EQ(view.target, "");
    EXPECT_EQ(view.actions, Strings{});
    EXPECT_EQ(view.parameter, "");
    EXPECT_EQ(view.label, "");
    EXPECT_FALSE(view.valueEnabled);
    EXPECT_EQ(program.Control(IDC_TARGET).ComboItems(),
              (Strings{"FILENAME", "FILEEXT", "FORMAT", "DESTDIR", "PICCONVERT"}));

    ASSERT_TRUE(RunSteps(program, {Target("FILENAME")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.actions, kNameActions);
    EXPECT_EQ(view.action, "");

    ASSERT_TRUE(RunSteps(program, {Action("PREFIX")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.parameters, kAddedValues);
    EXPECT_EQ(view.parameterSelection, -1);
    EXPECT_EQ(view.parameter, "");
    EXPECT_FALSE(view.valueEnabled);

    ASSERT_TRUE(RunSteps(program, {Pick("digit")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.label, "length:");
    EXPECT_EQ(view.value, "1");
    EXPECT_TRUE(view.valueEnabled);
    // Typing over the parameter: no value.
    ASSERT_TRUE(RunSteps(program, {Type("x")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.label, "");
    EXPECT_FALSE(view.valueEnabled);
    EXPECT_EQ(view.parameterSelection, -1);

    ASSERT_TRUE(RunSteps(program, {Action("SUFFIX"), Pick("date")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.label, "format:");
    EXPECT_EQ(view.values, kDateFormats);
    EXPECT_EQ(view.value, "long_local_date");
    EXPECT_TRUE(view.valueEnabled);
    EXPECT_TRUE(ShootBuilder(program, "builder_filename"));

    ASSERT_TRUE(RunSteps(program, {Pick("file_last_access_time")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.values, kTimeFormats);
    EXPECT_EQ(view.value, "H.M");

    ASSERT_TRUE(RunSteps(program, {Pick("mp3tagv2")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.label, "property:");
    EXPECT_EQ(view.values, (Strings{"Composer", "Copyright", "Encodeby", "OrigArtist", "wwwuser", "Publisher", "Time",
                                    "Language", "SubTitle"}));
    EXPECT_EQ(view.value, "");

    ASSERT_TRUE(RunSteps(program, {Action("REMOVE")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.parameters, kRemoveParameters);
    EXPECT_EQ(view.parameter, "all");
    EXPECT_EQ(view.parameterSelection, 0);
    EXPECT_EQ(view.label, "");
    EXPECT_FALSE(view.valueEnabled);
    // Of the entries of REMOVE only left, right and date take a value.
    ASSERT_TRUE(RunSteps(program, {Pick("right")}));
    EXPECT_TRUE(ReadBuilder(program).valueEnabled);
    ASSERT_TRUE(RunSteps(program, {Pick("(*")}));
    EXPECT_FALSE(ReadBuilder(program).valueEnabled);

    ASSERT_TRUE(RunSteps(program, {Action("REPLACE")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.parameters, Strings{});
    EXPECT_EQ(view.label, "with");
    EXPECT_EQ(view.value, "");
    EXPECT_TRUE(view.valueEnabled);

    ASSERT_TRUE(RunSteps(program, {Action("INSERT")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.label, "position:");
    EXPECT_EQ(view.value, "1");
    EXPECT_TRUE(view.valueEnabled);

    ASSERT_TRUE(RunSteps(program, {Target("FILEEXT"), Action("LOWERCASE")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.parameters, (Strings{"all", "left", "right"}));
    EXPECT_EQ(view.parameter, "all");
    EXPECT_FALSE(view.valueEnabled);
    EXPECT_TRUE(ShootBuilder(program, "builder_fileext"));

    // FORMAT: the value box keeps its state until a rate is picked or typed.
    ASSERT_TRUE(RunSteps(program, {Target("FORMAT")}));
    EXPECT_EQ(ReadBuilder(program).actions, kFormatActions);
    ASSERT_TRUE(RunSteps(program, {Action("_HH-MM-SS-FF_")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.parameters, (Strings{"NTSC(30F)", "PAL(25F)", "Film(24F)"}));
    EXPECT_EQ(view.parameterSelection, -1);
    EXPECT_EQ(view.label, "start:");
    EXPECT_EQ(view.values, Strings{"HH-MM-SS-FF"});
    EXPECT_EQ(view.value, "HH-MM-SS-FF");
    EXPECT_FALSE(view.valueEnabled);
    ASSERT_TRUE(RunSteps(program, {Pick("PAL(25F)")}));
    EXPECT_TRUE(ReadBuilder(program).valueEnabled);
    EXPECT_TRUE(ShootBuilder(program, "builder_format"));

    ASSERT_TRUE(RunSteps(program, {Target("DESTDIR")}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.actions, Strings{});
    EXPECT_EQ(view.parameters, Strings{});
    EXPECT_EQ(view.parameter, "");
    EXPECT_TRUE(ShootBuilder(program, "builder_destdir"));

    ASSERT_TRUE(RunSteps(program, {Target("PICCONVERT")}));
    EXPECT_EQ(ReadBuilder(program).actions, kPictureFormats);
    ASSERT_TRUE(RunSteps(program, {Action("TIFF")}));
    EXPECT_EQ(ReadBuilder(program).action, "TIFF");
    EXPECT_TRUE(ShootBuilder(program, "builder_picconvert"));
    ASSERT_TRUE(program.Close(true));
}

// ---------------------------------------------------------------- refusals

struct RefusalRow {
    std::vector<BuilderStep> steps;
    std::string message;
};

TEST(BuilderTest, RefusalsAreShownAndAddNothing) {
    TwoFiles setup("refusals");
    ASSERT_TRUE(setup.ok);
    ASSERT_TRUE(setup.folder.WriteFavourite("One", {"FILEEXT LOWERCASE all"}));
    Program program(setup.folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    const Strings before = program.Items(IDC_RULE_LIST);
    ASSERT_EQ(before, Strings{"FILEEXT LOWERCASE all"});

    const RefusalRow rows[] = {
        {{}, kComplete},  // no target yet
        {{Target("FILENAME")}, kComplete},
        {{Target("FILENAME"), Action("PREFIX")}, kComplete},
        {{Target("FORMAT"), Action("_HHMMSSFF_")}, kComplete},
        {{Target("FILENAME"), Action("PREFIX"), Type("a:b")}, Illegal(':')},
        {{Target("FILENAME"), Action("PREFIX"), Type("a*b")}, Illegal('*')},
        {{Target("FILENAME"), Action("INSERT"), Type("a/b")}, Illegal('/')},
        {{Target("FILENAME"), Action("PREFIX"), Type("why?")}, Illegal('?')},
        {{Target("FILENAME"), Action("SUFFIX"), Type("say \"hi\"")}, Illegal('"')},
        {{Target("FILENAME"), Action("PREFIX"), Type("<b")}, Illegal('<')},
        {{Target("FILENAME"), Action("REPLACE"), Type("b>")}, Illegal('>')},
        {{Target("FILEEXT"), Action("PREFIX"), Type("a|b")}, Illegal('|')},
        // The first character in the set's order, not in the text's.
        {{Target("FILENAME"), Action("SUFFIX"), Type("x|y\\z")}, Illegal('\\')},
        {{Target("FILENAME"), Action("PREFIX"), Type("?*")}, Illegal('*')},
        {{Target("FILENAME"), Action("PREFIX"), Type("|>\"")}, Illegal('"')},
        // With REMOVE the asterisk passes and the colon does not.
        {{Target("FILENAME"), Action("REMOVE"), Type("a*b:c")}, Illegal(':')},
        {{Target("FORMAT"), Action("_HHMMSSFF_"), Type("N/A")}, Illegal('/')},
    };
    bool shot = false;
    for (const RefusalRow& row : rows) {
        ASSERT_TRUE(RunSteps(program, row.steps)) << row.message;
        ASSERT_TRUE(program.Click(IDC_ADD_RULE)) << row.message;
        const MessageView message = program.WaitForMessage();
        ASSERT_TRUE(message.window) << "no message for " << row.message;
        EXPECT_EQ(message.caption, "Message");
        EXPECT_EQ(message.text, row.message);
        EXPECT_EQ(message.buttons, Strings{"&OK"});
        if (!shot && row.message != kComplete) {
            const RECT area = UnionOf({BuilderFrameOnScreen(program), message.window.ScreenRect()});
            EXPECT_TRUE(SaveSettledScreenshot(program, "builder_refusal", area));
            shot = true;
        }
        ASSERT_TRUE(message.Press("&OK"));
        ASSERT_TRUE(WaitFor([&] { return !message.window; })) << row.message;
        ASSERT_TRUE(program.Settle());
        EXPECT_EQ(program.Items(IDC_RULE_LIST), before) << row.message;
        // The builder keeps what it showed.
        if (!row.steps.empty()) {
            EXPECT_EQ(ReadBuilder(program).target, row.steps.front().text);
        }
    }
    EXPECT_EQ(program.Status(), ReadyStatus(2));
    ASSERT_TRUE(program.Close(true));
}

// ---------------------------------------------------------------- the rule list

TEST(BuilderTest, SelectingALineFillsTheBuilderAndUpdateWritesItBack) {
    TwoFiles setup("update");
    ASSERT_TRUE(setup.ok);
    const Strings lines = {
        "FILENAME SUFFIX date format:dd.mm.yyyy",
        "FILENAME INSERT \"-\" position:5",
        "FILENAME REPLACE \"a b\" with \"c d\"",
        "FILENAME PREFIX \"my photo \"",
        "PICCONVERT PNG",
        "FILEEXT UPPERCASE left length:2",
    };
    ASSERT_TRUE(setup.folder.WriteFavourite("Mixed", lines));
    Program program(setup.folder);
    ASSERT_TRUE(program.running());
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_EQ(program.Items(IDC_RULE_LIST), lines);
    EXPECT_EQ(program.Status(), ReadyStatus(2));

    // The date suffix comes back pick by pick.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0}));
    BuilderView view = ReadBuilder(program);
    EXPECT_EQ(view.target, "FILENAME");
    EXPECT_EQ(view.action, "SUFFIX");
    EXPECT_EQ(view.parameter, "date");
    EXPECT_EQ(view.parameterSelection, 1);
    EXPECT_EQ(view.label, "format:");
    EXPECT_EQ(view.values, kDateFormats);
    EXPECT_EQ(view.value, "dd.mm.yyyy");
    EXPECT_TRUE(view.valueEnabled);

    // Each line, selected and updated unchanged, stays itself in its place.
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {i}));
        ASSERT_TRUE(ClickQuietly(program, IDC_UPDATE_RULE)) << lines[static_cast<std::size_t>(i)];
        EXPECT_EQ(program.Items(IDC_RULE_LIST), lines) << lines[static_cast<std::size_t>(i)];
        EXPECT_EQ(program.Control(IDC_RULE_LIST).Selection(), std::vector<int>{i});
    }

    // The typed insert text and its position.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {1}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.parameter, "-");
    EXPECT_EQ(view.parameterSelection, -1);
    EXPECT_EQ(view.label, "position:");
    EXPECT_EQ(view.value, "5");
    // The replacement with blanks on both sides of the word "with", clicked.
    ASSERT_TRUE(ClickItem(program, IDC_RULE_LIST, 2));
    view = ReadBuilder(program);
    EXPECT_EQ(view.action, "REPLACE");
    EXPECT_EQ(view.parameter, "a b");
    EXPECT_EQ(view.label, "with");
    EXPECT_EQ(view.value, "c d");
    // The picture format.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {4}));
    view = ReadBuilder(program);
    EXPECT_EQ(view.target, "PICCONVERT");
    EXPECT_EQ(view.action, "PNG");

    // A changed value goes into the same place.
    Strings expected = lines;
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0}));
    ASSERT_TRUE(RunSteps(program, {PickValue("yyyy-mm-dd")}));
    ASSERT_TRUE(ClickQuietly(program, IDC_UPDATE_RULE));
    expected[0] = "FILENAME SUFFIX date format:yyyy-mm-dd";
    EXPECT_EQ(program.Items(IDC_RULE_LIST), expected);
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {5}));
    ASSERT_TRUE(RunSteps(program, {TypeValue("4")}));
    ASSERT_TRUE(ClickQuietly(program, IDC_UPDATE_RULE));
    expected[5] = "FILEEXT UPPERCASE left length:4";
    EXPECT_EQ(program.Items(IDC_RULE_LIST), expected);
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {2}));
    ASSERT_TRUE(RunSteps(program, {TypeValue("c  \"d\"")}));
    ASSERT_TRUE(ClickQuietly(program, IDC_UPDATE_RULE));
    expected[2] = "FILENAME REPLACE \"a b\" with \"c  \"d\"\"";
    EXPECT_EQ(program.Items(IDC_RULE_LIST), expected);
    // ... and reads back as it was written.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {2}));
    EXPECT_EQ(ReadBuilder(program).value, "c  \"d\"");
    ASSERT_TRUE(ClickQuietly(program, IDC_UPDATE_RULE));
    EXPECT_EQ(program.Items(IDC_RULE_LIST), expected);

    // A refused update shows its message and keeps the old line.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {1}));
    ASSERT_TRUE(RunSteps(program, {Type("a<b")}));
    ASSERT_TRUE(program.Click(IDC_UPDATE_RULE));
    const MessageView message = program.WaitForMessage();
    ASSERT_TRUE(message.window);
    EXPECT_EQ(message.text, Illegal('<'));
    ASSERT_TRUE(message.Press("&OK"));
    ASSERT_TRUE(WaitFor([&] { return !message.window; }));
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.Items(IDC_RULE_LIST), expected);
    EXPECT_EQ(program.Status(), ReadyStatus(2));
    ASSERT_TRUE(program.Close(true));
}

TEST(BuilderTest, DeleteAndMoveLinesAndTheStatusLine) {
    TwoFiles setup("delete-move");
    ASSERT_TRUE(setup.ok);
    const Strings five = {"FILENAME PREFIX \"1\"", "FILENAME PREFIX \"2\"", "FILENAME PREFIX \"3\"",
                          "FILENAME PREFIX \"4\"", "FILENAME PREFIX \"5\""};
    ASSERT_TRUE(setup.folder.WriteFavourite("Five", five));
    Program program(setup.folder);
    ASSERT_TRUE(program.running());
    const Window rules = program.Control(IDC_RULE_LIST);
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_EQ(rules.Items(), five);
    EXPECT_EQ(program.Status(), ReadyStatus(2));
    const auto at = [&](std::initializer_list<int> order) {
        Strings lines;
        for (int i : order) lines.push_back(five[static_cast<std::size_t>(i - 1)]);
        return lines;
    };

    // Up on the first line and down on the last do nothing.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0}));
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_UP));
    EXPECT_EQ(rules.Items(), five);
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {4}));
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_DOWN));
    EXPECT_EQ(rules.Items(), five);
    // The caret on line 3: lines 2 and 3 trade places, the moved one selected.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {2}));
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_UP));
    EXPECT_EQ(rules.Items(), at({1, 3, 2, 4, 5}));
    EXPECT_EQ(rules.Selection(), std::vector<int>{1});
    EXPECT_EQ(rules.Caret(), 1);
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_DOWN));
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_DOWN));
    EXPECT_EQ(rules.Items(), at({1, 2, 4, 3, 5}));
    EXPECT_EQ(rules.Selection(), std::vector<int>{3});
    // The line that moved past keeps its own selection.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0, 1}, 1));
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_UP));
    EXPECT_EQ(rules.Items(), at({2, 1, 4, 3, 5}));
    EXPECT_EQ(rules.Selection(), (std::vector<int>{0, 1}));
    // With no line selected (the caret on line 3), moving does nothing.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {}, 2));
    ASSERT_EQ(rules.Caret(), 2);
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_UP));
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_DOWN));
    EXPECT_EQ(rules.Items(), at({2, 1, 4, 3, 5}));
    // Moving leaves the status line alone.
    EXPECT_EQ(program.Status(), ReadyStatus(2));

    // Delete by button: lines 2 and 4 of five go, the others keep their
    // order. With the mouse: a click on the favourite that is selected
    // already loads it again; a click and a Ctrl+click select two lines.
    ASSERT_TRUE(ClickItem(program, IDC_FAVOURITES, 0));
    ASSERT_EQ(rules.Items(), five);
    ASSERT_TRUE(ClickItem(program, IDC_RULE_LIST, 1));
    ASSERT_TRUE(ClickItem(program, IDC_RULE_LIST, 3, kCtrl));
    ASSERT_EQ(rules.Selection(), (std::vector<int>{1, 3}));
    EXPECT_EQ(ReadBuilder(program).parameter, "4");  // the caret line, read back
    ASSERT_TRUE(ClickQuietly(program, IDC_DELETE_RULE));
    EXPECT_EQ(rules.Items(), at({1, 3, 5}));
    // The Delete key in the parameter box edits its text; no line goes.
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {1, 3}));
    ASSERT_TRUE(RunSteps(program, {Target("FILENAME"), Action("PREFIX"), Type("ab")}));
    const Window parameterEdit(::FindWindowExW(program.Control(IDC_PARAMETER).hwnd(), nullptr, L"Edit", nullptr));
    ASSERT_TRUE(FocusWindow(parameterEdit));
    ASSERT_TRUE(program.PressKey(VK_HOME));
    ASSERT_TRUE(program.PressKey(VK_DELETE));
    EXPECT_EQ(ReadBuilder(program).parameter, "b");
    EXPECT_EQ(rules.Items(), five);
    // By the Delete key while the rule list has the focus.
    ASSERT_TRUE(program.Focus(IDC_RULE_LIST));
    ASSERT_TRUE(program.PressKey(VK_DELETE));
    EXPECT_EQ(rules.Items(), at({1, 3, 5}));
    // The files stay: Delete in the rule list is no file command.
    EXPECT_EQ(program.Items(IDC_FILE_LIST), setup.files);
    // Nothing selected: nothing goes.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {}));
    ASSERT_TRUE(ClickQuietly(program, IDC_DELETE_RULE));
    EXPECT_EQ(rules.Items(), at({1, 3, 5}));
    EXPECT_EQ(program.Status(), ReadyStatus(2));
    // All of them: the status line asks for rules again.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0, 1, 2}));
    ASSERT_TRUE(ClickQuietly(program, IDC_DELETE_RULE));
    EXPECT_EQ(rules.Count(), 0);
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    // Update, move and the Delete key on an empty list do nothing.
    ASSERT_TRUE(ClickQuietly(program, IDC_UPDATE_RULE));
    ASSERT_TRUE(ClickQuietly(program, IDC_RULE_UP));
    ASSERT_TRUE(program.Focus(IDC_RULE_LIST));
    ASSERT_TRUE(program.PressKey(VK_DELETE));
    EXPECT_EQ(rules.Count(), 0);
    // A line added: the status line counts the files again.
    ASSERT_TRUE(RunSteps(program, {Target("FILEEXT"), Action("LOWERCASE")}));
    ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
    EXPECT_EQ(program.Status(), ReadyStatus(2));
    // The horizontal extent follows the widest line, after an add and after a delete.
    const int narrow = rules.HorizontalExtent();
    ASSERT_TRUE(RunSteps(program, {Target("FILENAME"), Action("SUFFIX"), Type(std::string(120, 'w'))}));
    ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
    const int wide = rules.HorizontalExtent();
    EXPECT_GT(wide, narrow + 300);
    EXPECT_GT(wide, program.Control(IDC_RULE_LIST).ClientRect().right);
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {1}));
    ASSERT_TRUE(ClickQuietly(program, IDC_DELETE_RULE));
    EXPECT_EQ(rules.HorizontalExtent(), narrow);
    // Without files the status line asks for files, whatever the rules.
    ASSERT_TRUE(program.Click(IDC_REMOVE_ALL));
    EXPECT_EQ(program.Status(), kFileListNullStatus);
    ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
    EXPECT_EQ(program.Status(), kFileListNullStatus);
    ASSERT_TRUE(program.Close(true));
}

TEST(BuilderTest, DestinationFolderComesFromTheFolderBrowser) {
    ProgramFolder folder("destdir");
    ASSERT_TRUE(folder.ok());
    const std::string photos = folder.MakeFolder("My Photos");
    const std::string other = folder.MakeFolder("Other");
    SettingsRecord settings;
    settings.lastFolder = photos;
    ASSERT_TRUE(folder.WriteSettings(settings));
    ASSERT_TRUE(folder.WriteFavourite("Elsewhere", {"DESTDIR " + other + "\\", "PICCONVERT BMP"}));
    Program program(folder);
    ASSERT_TRUE(program.running());
    const auto same = [](const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; };

    // The browser opens at the last folder; OK writes it with a backslash, unquoted.
    ASSERT_TRUE(RunSteps(program, {Target("DESTDIR")}));
    ASSERT_TRUE(program.Click(IDC_ADD_RULE));
    FolderBrowser browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    EXPECT_TRUE(WaitFor([&] { return same(browser.Status(), photos); })) << browser.Status();
    EXPECT_TRUE(browser.window().ChildWithText(photos, "Static"));  // titled with the folder
    ASSERT_TRUE(browser.Ok());
    ASSERT_TRUE(program.Settle());
    ASSERT_EQ(program.Control(IDC_RULE_LIST).Count(), 1);
    const std::string line = program.Items(IDC_RULE_LIST)[0];
    EXPECT_TRUE(same(line, "DESTDIR " + photos + "\\")) << line;
    EXPECT_EQ(line.rfind("DESTDIR ", 0), 0u) << line;

    // Cancel adds nothing and shows nothing.
    ASSERT_TRUE(program.Click(IDC_ADD_RULE));
    browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    ASSERT_TRUE(browser.Cancel());
    ASSERT_TRUE(program.Settle());
    EXPECT_TRUE(WaitFor([&] { return !DialogOpen(program); }));
    EXPECT_EQ(program.Control(IDC_RULE_LIST).Count(), 1);

    // A line read back: the browser starts at its folder, and OK writes the
    // same line again.
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    ASSERT_EQ(program.Items(IDC_RULE_LIST).size(), 2u);
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0}));
    const BuilderView view = ReadBuilder(program);
    EXPECT_EQ(view.target, "DESTDIR");
    EXPECT_EQ(view.action, "");
    EXPECT_EQ(view.parameter, "");
    ASSERT_TRUE(program.Click(IDC_UPDATE_RULE));
    browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    EXPECT_TRUE(WaitFor([&] { return same(browser.Status(), other) || same(browser.Status(), other + "\\"); }))
        << browser.Status();
    ASSERT_TRUE(browser.Ok());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.Items(IDC_RULE_LIST), (Strings{"DESTDIR " + other + "\\", "PICCONVERT BMP"}));
    // A cancelled update keeps the line.
    ASSERT_TRUE(program.Click(IDC_UPDATE_RULE));
    browser = program.WaitForFolderBrowser();
    ASSERT_TRUE(browser.window());
    ASSERT_TRUE(browser.Cancel());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(program.Items(IDC_RULE_LIST), (Strings{"DESTDIR " + other + "\\", "PICCONVERT BMP"}));
    ASSERT_TRUE(program.Close(true));

    // The folder chosen for the rule is the last folder.
    SettingsRecord saved;
    ASSERT_TRUE(ParseSettings(ReadBytes(folder.SettingsPath()), saved));
    EXPECT_TRUE(same(saved.lastFolder, other) || same(saved.lastFolder, other + "\\")) << saved.lastFolder;
}

// ---------------------------------------------------------------- rule files

TEST(RuleFilesTest, SavedIntoTheFavouritesListedAtOnceAndPickedAfterARestart) {
    TwoFiles setup("rule-files");
    ASSERT_TRUE(setup.ok);
    ASSERT_TRUE(MakeFolders(setup.folder.At("favorite")));
    const Strings lines = {"FILENAME PREFIX digit length:3", "FILENAME REPLACE \"a b\" with \"c d\"",
                           "FILEEXT LOWERCASE all"};
    {
        Program program(setup.folder);
        ASSERT_TRUE(program.running());
        EXPECT_EQ(program.Control(IDC_FAVOURITES).Count(), 0);
        ASSERT_TRUE(RunSteps(program, {Target("FILENAME"), Action("PREFIX"), Pick("digit"), TypeValue("3")}));
        ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
        ASSERT_TRUE(RunSteps(program, {Action("REPLACE"), Type("a b"), TypeValue("c d")}));
        ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
        ASSERT_TRUE(RunSteps(program, {Target("FILEEXT"), Action("LOWERCASE")}));
        ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
        ASSERT_EQ(program.Items(IDC_RULE_LIST), lines);

        // The save dialog starts in the favourites folder: a bare name lands
        // there, and the extension is added.
        ASSERT_TRUE(program.Click(IDC_SAVE_RULES));
        const FileDialog dialog = program.WaitForFileDialog();
        ASSERT_TRUE(dialog.window());
        const RECT shot = UnionOf({program.main().ScreenRect(), dialog.window().ScreenRect()});
        EXPECT_TRUE(SaveSettledScreenshot(program, "rule_file_save", shot));
        ASSERT_TRUE(dialog.EnterName("Set 1"));
        ASSERT_TRUE(dialog.Ok());
        ASSERT_TRUE(program.Settle());
        EXPECT_TRUE(WaitFor([&] { return !dialog.window(); }));
        EXPECT_TRUE(Exists(setup.folder.At("favorite\\Set 1.qvr")));
        // Listed at once.
        EXPECT_EQ(program.Items(IDC_FAVOURITES), Strings{"Set 1"});
        ASSERT_TRUE(program.Close(true));
    }
    // The bytes: a string list record, the same as the command line writes.
    const std::string saved = ReadBytes(setup.folder.At("favorite\\Set 1.qvr"));
    EXPECT_EQ(saved, StringListRecord(lines));
    const std::string written = setup.folder.At("cli.qvr");
    Strings arguments = {"rules", "--write", written};
    arguments.insert(arguments.end(), lines.begin(), lines.end());
    ASSERT_EQ(RunProcess(Build().commandLine, arguments), 0);
    EXPECT_EQ(saved, ReadBytes(written));

    // After a restart with the files handed over again: the favourite is
    // listed, and picking it replaces the rule list and refreshes the status.
    ASSERT_TRUE(setup.folder.WriteHandoff(setup.files));
    Program program(setup.folder);
    ASSERT_TRUE(program.running());
    EXPECT_EQ(program.Items(IDC_FAVOURITES), Strings{"Set 1"});
    EXPECT_EQ(program.Control(IDC_RULE_LIST).Count(), 0);
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    ASSERT_TRUE(RunSteps(program, {Target("PICCONVERT"), Action("PNG")}));
    ASSERT_TRUE(ClickQuietly(program, IDC_ADD_RULE));
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {}));
    ASSERT_TRUE(program.Click(IDC_DELETE_RULE));  // nothing selected: the list stays
    ASSERT_EQ(program.Items(IDC_RULE_LIST), Strings{"PICCONVERT PNG"});
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, 0));
    EXPECT_EQ(program.Items(IDC_RULE_LIST), lines);
    EXPECT_EQ(program.Status(), ReadyStatus(2));
    // An empty rule list saved over it gives the two bytes 00 00; picking
    // it empties the list.
    ASSERT_TRUE(program.SelectItems(IDC_RULE_LIST, {0, 1, 2}));
    ASSERT_TRUE(program.Click(IDC_DELETE_RULE));
    ASSERT_TRUE(program.Click(IDC_SAVE_RULES));
    const FileDialog dialog = program.WaitForFileDialog();
    ASSERT_TRUE(dialog.window());
    ASSERT_TRUE(dialog.EnterName("Empty"));
    ASSERT_TRUE(dialog.Ok());
    ASSERT_TRUE(program.Settle());
    EXPECT_EQ(ReadBytes(setup.folder.At("favorite\\Empty.qvr")), std::string(2, '\0'));
    const Strings titles = program.Items(IDC_FAVOURITES);
    EXPECT_EQ(titles.size(), 2u);
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, titles[0] == "Set 1" ? 0 : 1));
    ASSERT_EQ(program.Items(IDC_RULE_LIST), lines);
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, titles[0] == "Empty" ? 0 : 1));
    EXPECT_EQ(program.Control(IDC_RULE_LIST).Count(), 0);
    EXPECT_EQ(program.Status(), kRuleListNullStatus);
    ASSERT_TRUE(program.Close(true));
}

// The share of a rectangle's pixels that are a strong red (the stop icon's disc).
int RedPixels(const RECT& area) {
    const ScreenImage image(area);
    int red = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = image.At(x, y);
            if (c != CLR_INVALID && GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90) ++red;
        }
    return red;
}

struct DamagedRow {
    const char* title;
    std::string bytes;
    const char* message;
};

TEST(RuleFilesTest, DamagedFavouriteShowsTheFileErrorWithAStopIcon) {
    TwoFiles setup("damaged");
    ASSERT_TRUE(setup.ok);
    const std::string good = StringListRecord({"FILEEXT LOWERCASE all"});
    // Two lines promised, one there; a 4-byte length of FF followed by an
    // 8-byte one beyond 31 bits; an empty file.
    const std::string truncated = StringListRecord({"FILENAME PREFIX \"a\""}).replace(0, 2, std::string("\x02\x00", 2));
    const std::string huge = std::string("\x01\x00\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 9) +
                             std::string("\x00\x00\x00\x80\x00\x00\x00\x00", 8) + "x";
    const DamagedRow rows[] = {
        {"Cut short", truncated, "An attempt was made to access an unnamed file past its end."},
        {"Empty file", std::string(), "An attempt was made to access an unnamed file past its end."},
        {"Too long", huge, "An unknown error occurred while accessing an unnamed file."},
    };
    ASSERT_TRUE(setup.folder.WriteFavourite("Good", {"FILEEXT LOWERCASE all"}));
    for (const DamagedRow& row : rows) {
        ASSERT_TRUE(WriteBytes(setup.folder.At(std::string("favorite\\") + row.title + ".qvr"), row.bytes));
    }
    // A favourite deleted after the start, and a folder that looks like a rule file.
    ASSERT_TRUE(setup.folder.WriteFavourite("Gone", {"FILENAME PREFIX \"gone\""}));
    ASSERT_TRUE(MakeFolders(setup.folder.At("favorite\\old.qvr")));
    Program program(setup.folder);
    ASSERT_TRUE(program.running());
    const Strings titles = program.Items(IDC_FAVOURITES);
    ASSERT_EQ(titles.size(), 5u);
    EXPECT_EQ(std::count(titles.begin(), titles.end(), "old"), 0);
    const auto indexOf = [&](const std::string& title) {
        return static_cast<int>(std::find(titles.begin(), titles.end(), title) - titles.begin());
    };
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, indexOf("Good")));
    ASSERT_EQ(program.Items(IDC_RULE_LIST), Strings{"FILEEXT LOWERCASE all"});
    EXPECT_EQ(program.Status(), ReadyStatus(2));

    bool shot = false;
    bool filtered = false;
    for (const DamagedRow& row : rows) {
        // The filter leaves the status line as it was; the favourite
        // refreshes it, also when its file is damaged.
        filtered = !filtered;
        ASSERT_TRUE(program.TypeInto(IDC_FILTER, filtered ? "one" : ""));
        const std::string stale = program.Status();
        ASSERT_EQ(stale, ReadyStatus(filtered ? 2 : 1));
        ASSERT_TRUE(program.Control(IDC_FAVOURITES).ChooseItem(indexOf(row.title))) << row.title;
        const MessageView message = program.WaitForMessage();
        ASSERT_TRUE(message.window) << row.title;
        EXPECT_EQ(message.caption, "Quorvane 2") << row.title;
        EXPECT_EQ(message.text, row.message) << row.title;
        EXPECT_EQ(message.buttons, Strings{"OK"}) << row.title;
        // The standard message box with the stop icon: a red disc.
        Window icon;
        for (const Window& child : message.window.Children())
            if (child.ClassName() == "Static" && (::GetWindowLongW(child.hwnd(), GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                icon = child;
        ASSERT_TRUE(icon) << row.title;
        EXPECT_TRUE(WaitFor([&] { return RedPixels(icon.ScreenRect()) > 40; }, 3000)) << row.title;
        if (!shot) {
            const RECT area = UnionOf({program.main().ScreenRect(), message.window.ScreenRect()});
            EXPECT_TRUE(SaveSettledScreenshot(program, "rule_file_damaged", area));
            shot = true;
        }
        ASSERT_TRUE(message.Press("OK"));
        ASSERT_TRUE(WaitFor([&] { return !message.window; })) << row.title;
        ASSERT_TRUE(program.Settle());
        EXPECT_EQ(program.Items(IDC_RULE_LIST), Strings{"FILEEXT LOWERCASE all"}) << row.title;
        EXPECT_EQ(program.Status(), ReadyStatus(filtered ? 1 : 2)) << row.title;
    }
    // The deleted favourite: the rule list stays, no message, the status
    // line refreshed all the same.
    ASSERT_TRUE(::DeleteFileA(setup.folder.At("favorite\\Gone.qvr").c_str()));
    ASSERT_TRUE(program.TypeInto(IDC_FILTER, filtered ? "" : "one"));
    ASSERT_EQ(program.Status(), ReadyStatus(filtered ? 1 : 2));
    ASSERT_TRUE(program.ChooseItem(IDC_FAVOURITES, indexOf("Gone")));
    EXPECT_FALSE(DialogOpen(program));
    EXPECT_EQ(program.Items(IDC_RULE_LIST), Strings{"FILEEXT LOWERCASE all"});
    EXPECT_EQ(program.Status(), ReadyStatus(filtered ? 2 : 1));
    ASSERT_TRUE(program.Close(true));
}

}  // namespace
}  // namespace quorv::e2e
