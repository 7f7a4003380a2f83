// The rules builder: the dependent lists, labels and enabled states that
// follow each pick, the lines it composes and the refusals.
#include "builder/rule_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/builder/builder_steps.h"

namespace quorv {
namespace {

using test::Builder;
using test::BuilderCodePage;
using Strings = std::vector<std::string>;

const Strings kAddedValues = {"digit", "date", "file_create_date", "file_modify_date", "file_last_access_date",
                              "time", "file_create_time", "file_modify_time", "file_last_access_time",
                              "image", "mp3tagv1", "mp3tagv2"};

// ---------------------------------------------------------------- dependent lists

TEST(BuilderLists, InitialState) {
    const BuilderState s = InitialBuilderState();
    EXPECT_EQ(s.target.entries, (Strings{"FILENAME", "FILEEXT", "FORMAT", "DESTDIR", "PICCONVERT"}));
    EXPECT_EQ(s.target.selected, -1);
    EXPECT_TRUE(s.action.entries.empty());
    EXPECT_TRUE(s.parameter.entries.empty());
    EXPECT_EQ(s.parameter.text, "");
    EXPECT_EQ(s.valueLabel, "");
    EXPECT_FALSE(s.value.enabled);
    EXPECT_EQ(s.value.text, "");
}

TEST(BuilderLists, ActionsFollowTheTarget) {
    const std::pair<const char*, Strings> cases[] = {
        {"FILENAME", {"PREFIX", "SUFFIX", "REMOVE", "REPLACE", "UPPERCASE", "LOWERCASE", "INSERT"}},
        {"FILEEXT", {"PREFIX", "SUFFIX", "REMOVE", "REPLACE", "UPPERCASE", "LOWERCASE", "INSERT"}},
        {"FORMAT", {"_HHMMSSFF_", ".HHMMSSFF.", "-HHMMSSFF-", "_HH-MM-SS-FF_", ".HH-MM-SS-FF."}},
        {"DESTDIR", {}},
        {"PICCONVERT", {"JPG", "BMP", "GIF", "PNG", "TIFF"}},
    };
    for (const auto& c : cases) {
        // Start from a builder that holds a whole rule: the target resets the action.
        Builder b;
        b.Target("FILENAME").Action("PREFIX").Pick("digit").Value("3");
        const unsigned parts = SelectTarget(b.state, test::EntryIndex(b.state.target, c.first));
        EXPECT_EQ(b.state.action.entries, c.second) << c.first;
        EXPECT_EQ(b.state.action.selected, -1) << c.first;
        EXPECT_TRUE(parts & kActionBoxPart);
        const bool emptiesParameter = std::string(c.first) == "DESTDIR" || std::string(c.first) == "PICCONVERT";
        if (emptiesParameter) {
            EXPECT_TRUE(b.state.parameter.entries.empty()) << c.first;
            EXPECT_EQ(b.state.parameter.text, "") << c.first;
            EXPECT_TRUE(parts & kParameterBoxPart);
        } else {
            // Parameter, label and value stay until an action is picked.
            EXPECT_EQ(b.state.parameter.text, "digit") << c.first;
        }
        EXPECT_EQ(b.state.valueLabel, "length:") << c.first;
        EXPECT_EQ(b.state.value.text, "3") << c.first;
        EXPECT_TRUE(b.state.value.enabled) << c.first;
    }
}

struct ActionCase {
    const char* action;
    Strings parameters;
    int preselected;
    const char* label;
    bool valueEnabled;
    const char* valueText;
};

TEST(BuilderLists, ParametersFollowTheAction) {
    const ActionCase cases[] = {
        {"PREFIX", kAddedValues, -1, "", false, ""},
        {"SUFFIX", kAddedValues, -1, "", false, ""},
        {"REMOVE", {"all", "left", "right", "date", "(*)", "(*", "*)"}, 0, "", false, ""},
        {"REPLACE", {}, -1, "with", true, ""},
        {"UPPERCASE", {"all", "left", "right"}, 0, "", false, ""},
        {"LOWERCASE", {"all", "left", "right"}, 0, "", false, ""},
        {"INSERT", {}, -1, "position:", true, "1"},
    };
    for (const char* target : {"FILENAME", "FILEEXT"}) {
        for (const auto& c : cases) {
            Builder b;
            // Leave something in every box first: the action resets it.
            b.Target(target).Action("PREFIX").Pick("date").Target(target).Action(c.action);
            EXPECT_EQ(b.state.parameter.entries, c.parameters) << c.action;
            EXPECT_EQ(b.state.parameter.selected, c.preselected) << c.action;
            EXPECT_EQ(b.state.parameter.text, c.preselected >= 0 ? "all" : "") << c.action;
            EXPECT_EQ(b.state.valueLabel, c.label) << c.action;
            EXPECT_EQ(b.state.value.enabled, c.valueEnabled) << c.action;
            EXPECT_EQ(b.state.value.text, c.valueText) << c.action;
            EXPECT_TRUE(b.state.value.entries.empty()) << c.action;
        }
    }
}

TEST(BuilderLists, FormatActionsOfferRatesAndStartButKeepTheValueState) {
    for (bool enabledBefore : {false, true}) {
        Builder b;
        if (enabledBefore) b.Target("FILENAME").Action("PREFIX").Pick("digit");
        b.Target("FORMAT").Action("-HHMMSSFF-");
        EXPECT_EQ(b.state.parameter.entries, (Strings{"NTSC(30F)", "PAL(25F)", "Film(24F)"}));
        EXPECT_EQ(b.state.parameter.selected, -1);
        EXPECT_EQ(b.state.valueLabel, "start:");
        EXPECT_EQ(b.state.value.entries, Strings{"HH-MM-SS-FF"});
        EXPECT_EQ(b.state.value.selected, 0);
        EXPECT_EQ(b.state.value.text, "HH-MM-SS-FF");
        EXPECT_EQ(b.state.value.enabled, enabledBefore);
    }
    Builder picked;
    picked.Target("FORMAT").Action("_HHMMSSFF_").Pick("PAL(25F)");
    EXPECT_TRUE(picked.state.value.enabled);
    EXPECT_EQ(picked.state.value.text, "HH-MM-SS-FF");
    Builder typed;
    typed.Target("FORMAT").Action("_HHMMSSFF_").Type("50");
    EXPECT_TRUE(typed.state.value.enabled);
}

struct PickCase {
    const char* action;
    const char* picked;
    const char* label;
    Strings values;
    const char* valueText;
    int valueSelected;
    bool enabled;
};

TEST(BuilderLists, ValuesFollowThePickedParameter) {
    const Strings dates = {"long_local_date", "short_local_date", "mm-dd-yy",   "mm-dd-yyyy", "dd-mm-yy",
                           "dd-mm-yyyy",      "yyyy-mm-dd",       "yy-mm-dd",   "mm.dd.yy",   "mm.dd.yyyy",
                           "dd.mm.yy",        "dd.mm.yyyy",       "yyyy.mm.dd", "yy.mm.dd"};
    const Strings times = {"H.M", "H.M.S", "I.M", "I.M.S"};
    const PickCase cases[] = {
        {"PREFIX", "digit", "length:", {}, "1", -1, true},
        {"SUFFIX", "date", "format:", dates, "long_local_date", 0, true},
        {"PREFIX", "file_create_date", "format:", dates, "long_local_date", 0, true},
        {"PREFIX", "file_modify_date", "format:", dates, "long_local_date", 0, true},
        {"PREFIX", "file_last_access_date", "format:", dates, "long_local_date", 0, true},
        {"PREFIX", "time", "format:", times, "H.M", 0, true},
        {"PREFIX", "file_create_time", "format:", times, "H.M", 0, true},
        {"PREFIX", "file_modify_time", "format:", times, "H.M", 0, true},
        {"SUFFIX", "file_last_access_time", "format:", times, "H.M", 0, true},
        {"PREFIX", "image", "property:", {"resolution", "colors", "format"}, "", -1, true},
        {"PREFIX", "mp3tagv1", "property:",
         {"Album", "Artist", "Title", "Track", "Year", "Comment", "Genre", "BitRate", "Frequency"}, "", -1, true},
        {"PREFIX", "mp3tagv2", "property:",
         {"Composer", "Copyright", "Encodeby", "OrigArtist", "wwwuser", "Publisher", "Time", "Language", "SubTitle"},
         "", -1, true},
        {"UPPERCASE", "left", "length:", {}, "1", -1, true},
        {"LOWERCASE", "right", "length:", {}, "1", -1, true},
        {"UPPERCASE", "all", "", {}, "", -1, false},
        // REMOVE: the value is enabled for left, right and date only
        {"REMOVE", "left", "length:", {}, "1", -1, true},
        {"REMOVE", "right", "length:", {}, "1", -1, true},
        {"REMOVE", "date", "format:", dates, "long_local_date", 0, true},
        {"REMOVE", "all", "", {}, "", -1, false},
        {"REMOVE", "(*)", "", {}, "", -1, false},
        {"REMOVE", "(*", "", {}, "", -1, false},
        {"REMOVE", "*)", "", {}, "", -1, false},
    };
    for (const auto& c : cases) {
        Builder b;
        b.Target("FILENAME").Action(c.action).Pick(c.picked);
        EXPECT_EQ(b.state.valueLabel, c.label) << c.picked;
        EXPECT_EQ(b.state.value.entries, c.values) << c.picked;
        EXPECT_EQ(b.state.value.text, c.valueText) << c.picked;
        EXPECT_EQ(b.state.value.selected, c.valueSelected) << c.picked;
        EXPECT_EQ(b.state.value.enabled, c.enabled) << c.picked;
        EXPECT_EQ(b.state.parameter.text, c.picked);
    }
}

TEST(BuilderLists, OtherEntriesKeepTheLabel) {
    Builder b;
    b.Target("FILENAME").Action("UPPERCASE").Pick("left").Value("3").Pick("all");
    EXPECT_EQ(b.state.valueLabel, "length:");
    EXPECT_EQ(b.state.value.text, "");
    EXPECT_FALSE(b.state.value.enabled);
    b.Target("FILENAME").Action("REMOVE").Pick("date").Pick("(*)");
    EXPECT_EQ(b.state.valueLabel, "format:");
    EXPECT_TRUE(b.state.value.entries.empty());
    EXPECT_FALSE(b.state.value.enabled);
}

TEST(BuilderLists, TypingClearsTheSelectionAndMakesALiteral) {
    for (const char* action : {"PREFIX", "SUFFIX", "REMOVE"}) {
        Builder b;
        b.Target("FILEEXT").Action(action).Pick(std::string(action) == "REMOVE" ? "left" : "digit");
        const unsigned parts = TypeParameter(b.state, "x");
        EXPECT_EQ(b.state.parameter.selected, -1);
        EXPECT_EQ(b.state.parameter.text, "x");
        EXPECT_EQ(b.state.valueLabel, "") << action;
        EXPECT_FALSE(b.state.value.enabled) << action;
        // The window must not refill the box the user is typing in.
        EXPECT_EQ(parts & kParameterBoxPart, 0u);
        EXPECT_NE(parts & kValueBoxPart, 0u);
    }
    for (const char* action : {"UPPERCASE", "LOWERCASE"}) {
        Builder b;
        b.Target("FILENAME").Action(action).Pick("left");
        EXPECT_EQ(TypeParameter(b.state, "x"), 0u);
        EXPECT_EQ(b.state.valueLabel, "length:");
        EXPECT_TRUE(b.state.value.enabled);
        EXPECT_EQ(b.state.value.text, "1");
    }
    Builder insert;
    insert.Target("FILENAME").Action("INSERT").Type("ab");
    EXPECT_EQ(insert.state.valueLabel, "position:");
    EXPECT_TRUE(insert.state.value.enabled);
    // Typing a text that equals an entry still is typed text.
    Builder same;
    same.Target("FILENAME").Action("PREFIX").Type("digit");
    EXPECT_EQ(same.state.parameter.selected, -1);
    EXPECT_EQ(same.Line(), "FILENAME PREFIX \"digit\"");
}

// ---------------------------------------------------------------- composing

TEST(BuilderCompose, EveryKindOfLine) {
    struct Case {
        Builder steps;
        const char* line;
    };
    const Case cases[] = {
        {Builder().Target("FILENAME").Action("PREFIX").Pick("digit").Value("3"), "FILENAME PREFIX digit length:3"},
        {Builder().Target("FILENAME").Action("SUFFIX").Pick("date").PickVal("yyyy-mm-dd"),
         "FILENAME SUFFIX date format:yyyy-mm-dd"},
        {Builder().Target("FILENAME").Action("PREFIX").Pick("file_modify_time").PickVal("H.M.S"),
         "FILENAME PREFIX file_modify_time format:H.M.S"},
        {Builder().Target("FILENAME").Action("SUFFIX").Pick("image").PickVal("resolution"),
         "FILENAME SUFFIX image property:resolution"},
        {Builder().Target("FILENAME").Action("PREFIX").Pick("mp3tagv1").PickVal("Artist"),
         "FILENAME PREFIX mp3tagv1 property:Artist"},
        {Builder().Target("FILENAME").Action("SUFFIX").Pick("mp3tagv2").PickVal("Composer"),
         "FILENAME SUFFIX mp3tagv2 property:Composer"},
        {Builder().Target("FILENAME").Action("PREFIX").Type("IMG_"), "FILENAME PREFIX \"IMG_\""},
        {Builder().Target("FILENAME").Action("REMOVE"), "FILENAME REMOVE all"},
        {Builder().Target("FILENAME").Action("REMOVE").Pick("left").Value("2"), "FILENAME REMOVE left length:2"},
        {Builder().Target("FILENAME").Action("REMOVE").Pick("date").PickVal("mm-dd-yy"),
         "FILENAME REMOVE date format:mm-dd-yy"},
        {Builder().Target("FILENAME").Action("REMOVE").Pick("(*)"), "FILENAME REMOVE (*)"},
        {Builder().Target("FILENAME").Action("REMOVE").Type("abc"), "FILENAME REMOVE \"abc\""},
        {Builder().Target("FILENAME").Action("REPLACE").Type("old").Value("new"), "FILENAME REPLACE \"old\" with \"new\""},
        {Builder().Target("FILEEXT").Action("LOWERCASE"), "FILEEXT LOWERCASE all"},
        {Builder().Target("FILENAME").Action("UPPERCASE").Pick("right").Value("3"), "FILENAME UPPERCASE right length:3"},
        {Builder().Target("FILENAME").Action("INSERT").Type("-").Value("5"), "FILENAME INSERT \"-\" position:5"},
        {Builder().Target("FORMAT").Action("_HHMMSSFF_").Pick("NTSC(30F)"),
         "FORMAT _HHMMSSFF_ NTSC(30F) start:HH-MM-SS-FF"},
        {Builder().Target("DESTDIR").Folder("D:\\Sorted"), "DESTDIR D:\\Sorted\\"},
        {Builder().Target("PICCONVERT").Action("JPG"), "PICCONVERT JPG"},
        // and the other forms the engine reads
        {Builder().Target("FILEEXT").Action("SUFFIX").Type("bak"), "FILEEXT SUFFIX \"bak\""},
        {Builder().Target("FILENAME").Action("SUFFIX").Pick("digit").Value("4:100+10"),
         "FILENAME SUFFIX digit length:4:100+10"},
        {Builder().Target("FILENAME").Action("UPPERCASE").Pick("left").Value("1letter"),
         "FILENAME UPPERCASE left length:1letter"},
        {Builder().Target("FILENAME").Action("UPPERCASE").Type("the_first_letter_of_each_word"),
         "FILENAME UPPERCASE \"the_first_letter_of_each_word\""},
        {Builder().Target("FORMAT").Action(".HH-MM-SS-FF.").Pick("PAL(25F)").Value("01-00-00-00"),
         "FORMAT .HH-MM-SS-FF. PAL(25F) start:01-00-00-00"},
        {Builder().Target("FORMAT").Action("-HHMMSSFF-").Type("50"), "FORMAT -HHMMSSFF- \"50\" start:HH-MM-SS-FF"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.steps.Line(), c.line);
}

TEST(BuilderCompose, EdgeCases) {
    // A value written as typed: empty, with a double quote, with blanks.
    EXPECT_EQ(Builder().Target("FILENAME").Action("REPLACE").Type("old").Line(), "FILENAME REPLACE \"old\" with \"\"");
    EXPECT_EQ(Builder().Target("FILENAME").Action("PREFIX").Pick("image").Line(), "FILENAME PREFIX image property:");
    EXPECT_EQ(Builder().Target("FILENAME").Action("INSERT").Type("x").Value("1\"").Line(),
              "FILENAME INSERT \"x\" position:1\"");
    EXPECT_EQ(Builder().Target("FILENAME").Action("REPLACE").Type("a b").Value(" c d ").Line(),
              "FILENAME REPLACE \"a b\" with \" c d \"");
    // Typing over a picked parameter drops its value.
    Builder over;
    over.Target("FILENAME").Action("PREFIX").Pick("digit");
    TypeParameter(over.state, "digitx");
    EXPECT_EQ(over.Line(), "FILENAME PREFIX \"digitx\"");
    // The picture conversion reads neither the parameter nor the value.
    EXPECT_EQ(Builder().Target("FILENAME").Action("PREFIX").Pick("digit").Target("PICCONVERT").Action("GIF").Line(),
              "PICCONVERT GIF");
    // Composing changes nothing: the same rule can be added again.
    Builder twice;
    twice.Target("FILENAME").Action("SUFFIX").Pick("date");
    EXPECT_EQ(twice.Line(), twice.Line());
}

TEST(BuilderCompose, DestinationFolderGetsOneBackslash) {
    EXPECT_EQ(Builder().Target("DESTDIR").Folder("C:\\My Photos").Line(), "DESTDIR C:\\My Photos\\");
    EXPECT_EQ(Builder().Target("DESTDIR").Folder("D:\\").Line(), "DESTDIR D:\\");
    // The action and the other boxes are not read.
    EXPECT_EQ(Builder().Target("FILENAME").Action("PREFIX").Type("x:y").Target("DESTDIR").Folder("E:\\a").Line(),
              "DESTDIR E:\\a\\");
    // No folder (the picker was not shown or was cancelled): no line.
    EXPECT_EQ(Builder().Target("DESTDIR").Compose().outcome, ComposedRule::Outcome::NoFolder);
    EXPECT_EQ(Compose(Builder().Target("DESTDIR").Folder("/srv/x").state, BuilderCodePage(), '/').text,
              "DESTDIR /srv/x/");
}

TEST(BuilderCompose, Refusals) {
    const std::string complete = kCompleteRuleMessage;
    EXPECT_EQ(complete, "Please complete the rule.");
    struct Case {
        Builder steps;
        std::string message;
    };
    const Case cases[] = {
        {Builder(), complete},  // nothing picked
        {Builder().Target("FILENAME"), complete},
        {Builder().Target("PICCONVERT"), complete},
        {Builder().Target("FORMAT").Action("_HHMMSSFF_"), complete},
        {Builder().Target("FILENAME").Action("PREFIX"), complete},
        {Builder().Target("FILENAME").Action("REPLACE").Value("new"), complete},
        {Builder().Target("FILENAME").Action("PREFIX").Type("a:b"), "':' is an illegal character for filename."},
        {Builder().Target("FILENAME").Action("PREFIX").Type("a*b"), "'*' is an illegal character for filename."},
        {Builder().Target("FILENAME").Action("SUFFIX").Type("a/b"), "'/' is an illegal character for filename."},
        {Builder().Target("FILENAME").Action("INSERT").Type("a?"), "'?' is an illegal character for filename."},
        {Builder().Target("FILENAME").Action("REPLACE").Type("<").Value(">"), "'<' is an illegal character for filename."},
        {Builder().Target("FILENAME").Action("REPLACE").Type(">"), "'>' is an illegal character for filename."},
        {Builder().Target("FORMAT").Action("_HHMMSSFF_").Type("5\"0"), "'\"' is an illegal character for filename."},
        // set order, not text order: | comes before \ in the text
        {Builder().Target("FILENAME").Action("PREFIX").Type("a|b\\c"), "'\\' is an illegal character for filename."},
        {Builder().Target("FILENAME").Action("PREFIX").Type("|*"), "'*' is an illegal character for filename."},
        {Builder().Target("FILENAME").Action("REMOVE").Type("*|"), "'|' is an illegal character for filename."},
    };
    for (const auto& c : cases) {
        const ComposedRule r = c.steps.Compose();
        EXPECT_EQ(r.outcome, ComposedRule::Outcome::Refused) << c.message;
        EXPECT_EQ(r.text, c.message);
    }
    // The asterisk is allowed for REMOVE; a value that does not become part
    // of the name is never tested (REPLACE's is: below).
    EXPECT_EQ(Builder().Target("FILENAME").Action("REMOVE").Type("a*b").Line(), "FILENAME REMOVE \"a*b\"");
    EXPECT_EQ(Builder().Target("FILENAME").Action("PREFIX").Pick("image").Value("<:*>").Line(),
              "FILENAME PREFIX image property:<:*>");
}

TEST(BuilderCompose, TheTextAReplacePutsIntoTheNameIsTestedLikeTheParameter) {
    struct Case {
        const char* value;
        const char* message;  // null: the line is written
    };
    const Case cases[] = {
        {"x\\y", "'\\' is an illegal character for filename."},  // would send the file into a sub-folder
        {"x/y", "'/' is an illegal character for filename."},
        {"<:*>", "':' is an illegal character for filename."},  // set order: the colon before the others
        {"a*", "'*' is an illegal character for filename."},     // no asterisk in a name, even for REMOVE's sake
        {"\"", "'\"' is an illegal character for filename."},
        {"a|b", "'|' is an illegal character for filename."},
        {"new name", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const ComposedRule r = Builder().Target("FILEEXT").Action("REPLACE").Type("a").Value(c.value).Compose();
        if (c.message) {
            EXPECT_EQ(r.outcome, ComposedRule::Outcome::Refused) << c.value;
            EXPECT_EQ(r.text, c.message) << c.value;
        } else {
            EXPECT_EQ(r.text, std::string("FILEEXT REPLACE \"a\" with \"") + c.value + "\"") << c.value;
        }
    }
    // The parameter is tested first; a double-byte trail byte is no separator.
    EXPECT_EQ(Builder().Target("FILENAME").Action("REPLACE").Type("a?").Value("x\\").Compose().text,
              "'?' is an illegal character for filename.");
    const std::unique_ptr<CodePage> cp932 = MakeTableCodePage(932);
    ASSERT_TRUE(cp932);
    Builder b;
    b.Target("FILENAME").Action("REPLACE").Type("a").Value("\x95\x5C");
    EXPECT_EQ(Compose(b.state, *cp932).text, "FILENAME REPLACE \"a\" with \"\x95\x5C\"");
}

TEST(BuilderCompose, DoubleByteTrailBytesAreNoForbiddenCharacters) {
    const std::unique_ptr<CodePage> cp932 = MakeTableCodePage(932);
    ASSERT_TRUE(cp932);
    // 0x95 0x5C is one character whose trail byte equals a backslash; 0x83 0x7C ends in a vertical bar.
    Builder b;
    b.Target("FILENAME").Action("PREFIX").Type("\x95\x5C\x83\x7C");
    const ComposedRule r = Compose(b.state, *cp932);
    EXPECT_TRUE(r.ok()) << r.text;
    EXPECT_EQ(r.text, "FILENAME PREFIX \"\x95\x5C\x83\x7C\"");
    b.Type("\x95\x5C\\");
    EXPECT_EQ(Compose(b.state, *cp932).text, "'\\' is an illegal character for filename.");
    // A folder ending in such a character still gets its backslash.
    Builder d;
    d.Target("DESTDIR").Folder("C:\\\x95\x5C");
    EXPECT_EQ(Compose(d.state, *cp932).text, "DESTDIR C:\\\x95\x5C\\");
    d.Folder("C:\\\x95\x5C\\");
    EXPECT_EQ(Compose(d.state, *cp932).text, "DESTDIR C:\\\x95\x5C\\");
}

TEST(BuilderCompose, FolderPickerStartsAtTheLineReadBack) {
    BuilderState s = InitialBuilderState();
    EXPECT_EQ(FolderPickerStart(s, "C:\\Last"), "C:\\Last");
    s.folder = "D:\\Sorted\\";
    EXPECT_EQ(FolderPickerStart(s, "C:\\Last"), "D:\\Sorted\\");
    SelectTarget(s, 3);
    EXPECT_EQ(FolderPickerStart(s, "C:\\Last"), "C:\\Last");
    EXPECT_TRUE(NeedsFolder(s));
    SelectTarget(s, 4);
    EXPECT_FALSE(NeedsFolder(s));
}

}  // namespace
}  // namespace quorv
